#include "monitor/lib/LogRecordHandlers.h"

#include "monitor/lib/ILogRecordHandler.h"

#include "base/ScopedLock.h"

#include <iterator>
#include <set>

// static
LogRecordHandlers& LogRecordHandlers::Get()
{
    static LogRecordHandlers* const handlers = new LogRecordHandlers;
    return *handlers;
}

void* LogRecordHandlers::Add(ILogRecordHandler* handler, const void* source)
{
    const KO::ScopedLock lock(m_mutex);
    const std::uintptr_t number = ++m_lastNumber;
    m_handlers.emplace(number, Registration{handler, source});
    return reinterpret_cast<void*>(number);
}

std::vector<LogRecordHandlers::Ended> LogRecordHandlers::Remove(ILogRecordHandler* handler)
{
    const KO::ScopedLock lock(m_mutex);
    std::vector<Ended> ended;
    for (auto entry = m_handlers.begin(); entry != m_handlers.end();) {
        if (entry->second.handler != handler) {
            ++entry;
            continue;
        }
        ended.push_back({reinterpret_cast<void*>(entry->first), entry->second.source});
        entry = m_handlers.erase(entry);
    }
    return ended;
}

void LogRecordHandlers::End(const void* source)
{
    const KO::ScopedLock lock(m_mutex);
    std::set<ILogRecordHandler*> ended;
    for (auto entry = m_handlers.begin(); entry != m_handlers.end();) {
        if (entry->second.source != source) {
            ++entry;
            continue;
        }
        ended.insert(entry->second.handler);
        entry = m_handlers.erase(entry);
    }
    // Under the lock, like a delivery: a handler cannot finish stopRecords,
    // and so cannot be destroyed, while it is told.
    for (ILogRecordHandler* const handler : ended) {
        try {
            handler->recordsEnded();
        } catch (...) {
            // A handler that throws is not told; the others still are.
        }
    }
}

bool LogRecordHandlers::Deliver(void* context, const void* record, std::uint32_t value1,
                                std::uint32_t value2) noexcept
{
    try {
        const KO::ScopedLock lock(m_mutex);
        const auto entry = m_handlers.find(reinterpret_cast<std::uintptr_t>(context));
        if (entry == m_handlers.end()) {
            return false;
        }
        entry->second.handler->loadData(record, value1, value2);
        return true;
    } catch (...) {
        return false; // a failed lock or a throwing handler: the record is lost
    }
}
