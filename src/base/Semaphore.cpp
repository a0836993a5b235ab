#include "base/Semaphore.h"

#include <thread>

namespace KO {

bool Semaphore::Wait(std::uint32_t timeoutMs)
{
    struct WaiterCount
    {
        std::atomic<long>& count;
        explicit WaiterCount(std::atomic<long>& c) : count(c) { ++count; }
        ~WaiterCount() { --count; }
    } waiting(m_waiters);
    return WaitNative(timeoutMs);
}

void Semaphore::NotifyAll()
{
    while (m_waiters.load() > 0) {
        Notify();
        // Let a woken waiter leave the count before deciding on another
        // release; this keeps the surplus small.
        std::this_thread::yield();
    }
}

} // namespace KO
