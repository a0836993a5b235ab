#pragma once

#include "base/NotCopyable.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace KO {

// A counting semaphore (initial count 0, maximum 2147483647) that knows how
// many threads wait on it, so that NotifyAll can wake every one of them at
// shutdown. System failures throw SystemException; a time-out is a result.
class Semaphore : private NotCopyable
{
public:
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
    static constexpr std::int32_t kMaximumCount = 2147483647;

    Semaphore();
    ~Semaphore();

    // Releases one count.
    void Notify();

    // Takes one count; false when none came within timeoutMs milliseconds.
    bool Wait(std::uint32_t timeoutMs = kInfinite);

    // Releases counts while any thread waits. Meant for shutdown: callers
    // clear their running flag first, so that woken threads end; surplus
    // counts may remain.
    void NotifyAll();

    long GetWaiterCount() const noexcept { return m_waiters.load(); }

private:
    struct Native;

    void Init();
    bool WaitNative(std::uint32_t timeoutMs);

    std::unique_ptr<Native> m_native;
    std::atomic<long> m_waiters{0};
};

} // namespace KO
