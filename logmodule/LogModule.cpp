#include "LogModule.h"

#include <array>

namespace {

template <std::uint32_t Category>
std::int32_t KO_LOG_MODULE_CALL QueryRecords(ILogModule* module, LogRecordCallback callback,
                                             void* context)
{
    if (module == nullptr || callback == nullptr) {
        return LogModule::kNotServed;
    }
    try {
        static_cast<LogModule*>(module)->Query(Category, callback, context);
        return 0;
    } catch (...) {
        return LogModule::kNotServed; // nothing may unwind into the caller
    }
}

std::int32_t KO_LOG_MODULE_CALL NotServed(ILogModule*, LogRecordCallback, void*)
{
    return LogModule::kNotServed;
}

using Table = std::array<LogModuleEntry, kUpdatePackageRecordsEntry + 1>;

Table MakeTable()
{
    Table table;
    table.fill(reinterpret_cast<LogModuleEntry>(&NotServed));
    table[kScanRecordsEntry] =
        reinterpret_cast<LogModuleEntry>(&QueryRecords<LogModule::kScanCategory>);
    table[kUpdatePackageRecordsEntry] =
        reinterpret_cast<LogModuleEntry>(&QueryRecords<LogModule::kUpdatePackageCategory>);
    return table;
}

const Table kTable = MakeTable();

} // namespace

LogModule::LogModule() : ILogModule{kTable.data()}, m_thread(&LogModule::Run, this)
{}

LogModule::~LogModule()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void LogModule::Query(std::uint32_t category, LogRecordCallback callback, void* context)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back({category, callback, context});
    }
    m_wake.notify_one();
}

void LogModule::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping) {
            return;
        }
        const Delivery delivery = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        Deliver(delivery);
        lock.lock();
    }
}

// static
void LogModule::Deliver(const Delivery& delivery)
{
    for (std::uint32_t number = 1; number <= kRecordsPerQuery; ++number) {
        const LogRecord record{delivery.category, number};
        delivery.callback(delivery.context, &record, number, delivery.category);
    }
}
