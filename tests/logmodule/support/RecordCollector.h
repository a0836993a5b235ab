#pragma once

#include "KoLogModule.h"
#include "RecordBuilder.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A query's callback context that copies every record it receives (the
// record lives for the call only) so that a test can wait for them. With
// `answer` non-zero the callback asks the module to end the query.
class RecordCollector
{
public:
    struct Received
    {
        std::uint32_t size;
        std::int32_t category;
        std::int64_t id;
        std::int64_t time;
        std::uint32_t flags;
        std::vector<std::u16string> fields;
        std::uint32_t value1;
        std::uint32_t value2;
        std::thread::id thread;
    };

    explicit RecordCollector(std::int32_t answer = 0) : m_answer(answer) {}

    static std::int32_t Callback(void* context, const void* record, std::uint32_t value1,
                                 std::uint32_t value2)
    {
        return static_cast<RecordCollector*>(context)->Take(
            *static_cast<const KoReportRecord*>(record), value1, value2);
    }

    // The records received once `count` have arrived, or at the deadline.
    std::vector<Received> WaitFor(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_arrived.wait_for(lock, kDeadline, [&] { return m_records.size() >= count; });
        return m_records;
    }

    std::vector<Received> Records()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_records;
    }

private:
    // Generous: the module's thread may start slowly under Wine.
    static constexpr std::chrono::seconds kDeadline{30};

    std::int32_t Take(const KoReportRecord& record, std::uint32_t value1, std::uint32_t value2)
    {
        Received received{record.size, record.category, record.id,
                          record.time, record.flags,    {},
                          value1,      value2,          std::this_thread::get_id()};
        for (std::uint32_t i = 0; i < record.fieldCount; ++i) {
            received.fields.push_back(RecordBuilder::Text(record.fields[i]));
        }
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_records.push_back(std::move(received));
        m_arrived.notify_all();
        return m_answer;
    }

    const std::int32_t m_answer;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Received> m_records;
};
