#pragma once

#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/ILogRecordHandler.h"

#include "base/Logging.h"

#include "KoLogModule.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// A record handler that does what the diary dialog's does, a TRACE line
// "get data<value1>:<value2>" per record, and keeps what it received (the
// record's category, time and flags copied during the call) so that a test
// can wait for it.
class RecordLog : public ILogRecordHandler
{
public:
    struct Record
    {
        const void* record;
        std::uint32_t value1;
        std::uint32_t value2;
        std::thread::id thread;
        std::int32_t category;
        std::int64_t time;
        std::uint32_t flags;
        std::int64_t id;
    };

    RecordLog() = default;
    ~RecordLog() { CLogModuleLib::stopRecords(this); }

    RecordLog(const RecordLog&) = delete;
    RecordLog& operator=(const RecordLog&) = delete;

    void loadData(const void* record, std::uint32_t value1, std::uint32_t value2) override
    {
        LOG_TRACE << "get data" << value1 << ":" << value2;
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto* const report = static_cast<const KoReportRecord*>(record);
        m_records.push_back(
            {record, value1, value2, std::this_thread::get_id(),
             report != nullptr ? report->category : 0, report != nullptr ? report->time : 0,
             report != nullptr ? report->flags : 0, report != nullptr ? report->id : 0});
        m_arrived.notify_all();
    }

    // The records received once `count` have arrived, or at the deadline.
    std::vector<Record> WaitFor(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_arrived.wait_for(lock, kDeadline, [&] { return m_records.size() >= count; });
        return m_records;
    }

    std::vector<Record> Records()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_records;
    }

private:
    // Generous: the module's thread may start slowly under Wine.
    static constexpr std::chrono::seconds kDeadline{30};

    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Record> m_records;
};
