#include "base/Logging.h"

#include <atomic>

namespace KO {

namespace {

std::atomic<int> g_logLevel{LOG_LEVEL_TRACE};
std::atomic<bool> g_asyncLog{false};

} // namespace

int GetLogLevel() noexcept
{
    return g_logLevel.load(std::memory_order_relaxed);
}

void SetLogLevel(int level) noexcept
{
    g_logLevel.store(level, std::memory_order_relaxed);
}

bool GetAsyncLog() noexcept
{
    return g_asyncLog.load(std::memory_order_relaxed);
}

void SetAsyncLog(bool on) noexcept
{
    g_asyncLog.store(on, std::memory_order_relaxed);
}

} // namespace KO
