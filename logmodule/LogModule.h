#pragma once

#include "monitor/lib/ILogModule.h"
#include "monitor/lib/RecordCategory.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

// The stand-in module's ILogModule object. Its table serves the two record
// queries (entries 11 and 35); every other entry answers kNotServed.
//
// A query only queues a delivery; the object's own thread then calls the
// callback kRecordsPerQuery times, in query order, with a LogRecord and the
// values (record number from 1, category). Destruction stops the thread: a
// running delivery ends, queued ones are dropped.
class LogModule : public ILogModule
{
public:
    static constexpr std::uint32_t kScanCategory = RecordCategory::kExecuteScan;
    static constexpr std::uint32_t kUpdatePackageCategory = RecordCategory::kUpdatePackage;
    static constexpr std::uint32_t kRecordsPerQuery = 3;
    static constexpr std::int32_t kNotServed = -1;

    // What the callback's record points to.
    struct LogRecord
    {
        std::uint32_t category;
        std::uint32_t number;
    };

    // Starts the delivery thread; throws std::system_error when it cannot.
    LogModule();
    ~LogModule();

    LogModule(const LogModule&) = delete;
    LogModule& operator=(const LogModule&) = delete;

    // Queues the delivery of the records of `category`.
    void Query(std::uint32_t category, LogRecordCallback callback, void* context);

private:
    struct Delivery
    {
        std::uint32_t category;
        LogRecordCallback callback;
        void* context;
    };

    void Run();
    static void Deliver(const Delivery& delivery);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Delivery> m_queue;
    bool m_stopping = false;
    std::thread m_thread; // last: starts once everything it uses exists
};
