#include "monitor/lib/LogRecordHandlers.h"

#include "monitor/lib/ILogRecordHandler.h"

#include "base/ScopedLock.h"

#include <iterator>

// static
LogRecordHandlers& LogRecordHandlers::Get()
{
    static LogRecordHandlers* const handlers = new LogRecordHandlers;
    return *handlers;
}

void* LogRecordHandlers::Add(ILogRecordHandler* handler)
{
    const KO::ScopedLock lock(m_mutex);
    const std::uintptr_t number = ++m_lastNumber;
    m_handlers.emplace(number, handler);
    return reinterpret_cast<void*>(number);
}

void LogRecordHandlers::Remove(ILogRecordHandler* handler)
{
    const KO::ScopedLock lock(m_mutex);
    for (auto entry = m_handlers.begin(); entry != m_handlers.end();) {
        entry = entry->second == handler ? m_handlers.erase(entry) : std::next(entry);
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
        entry->second->loadData(record, value1, value2);
        return true;
    } catch (...) {
        return false; // a failed lock or a throwing handler: the record is lost
    }
}
