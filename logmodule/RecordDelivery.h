#pragma once

#include "KoLogModule.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class Journal;
struct Report;

// The module's own thread: it delivers the records of each query to its
// callback and keeps the journal pruned.
//
// A query first gets the records of its category and time range stored when
// its turn comes, newest first (queries take turns in the order they were
// made); then it stays live: every poll (at most kPollInterval apart, at
// once after Wake) delivers the records appended since, by any process, in
// append order, flagged KO_REPORT_FLAG_LIVE. value1 counts the records of
// one query from 1; value2 is the record's category. A query ends when its
// callback returns non-zero, when Stop is called with its context, or when
// the object dies.
class RecordDelivery
{
public:
    static constexpr std::chrono::milliseconds kPollInterval{250};
    static constexpr std::chrono::hours kPruneInterval{1};

    struct Query
    {
        std::int32_t category;
        std::int64_t from;
        std::int64_t to;
        KoReportCallback callback;
        void* context;
    };

    // Starts the thread; throws std::system_error when it cannot.
    explicit RecordDelivery(Journal& journal);
    // Ends every query and joins the thread.
    ~RecordDelivery();

    RecordDelivery(const RecordDelivery&) = delete;
    RecordDelivery& operator=(const RecordDelivery&) = delete;

    void Start(const Query& query);

    // Ends every query made with `context`; once it returns, their callback
    // is not called again (from the callback itself it only ends them).
    void Stop(void* context);

    // Polls for new records now (after an append of this process).
    void Wake();

private:
    struct Active
    {
        Query query;
        std::int64_t afterId = 0;
        std::uint32_t delivered = 0;
        bool stopped = false; // guarded by m_mutex
    };
    using ActivePtr = std::shared_ptr<Active>;

    void Run();
    void DeliverHistory(const ActivePtr& active);
    void PollLive();
    void Maintain();
    // Calls the query's callback unless it was stopped; false ends it.
    bool Deliver(Active& active, const Report& report, std::uint32_t flags);

    Journal& m_journal;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_callbackDone;
    std::deque<ActivePtr> m_pending;
    std::vector<ActivePtr> m_live;
    void* m_callbackContext = nullptr; // the context of the running callback
    bool m_inCallback = false;
    bool m_woken = false;
    bool m_stopping = false;
    std::chrono::steady_clock::time_point m_lastPrune;
    std::thread m_thread; // last: starts once everything it uses exists
};
