#include "base/Semaphore.h"
#include "base/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

struct Waiter
{
    KO::Semaphore* semaphore = nullptr;
    std::atomic<bool> woken{false};

    static std::uint32_t Procedure(void* argument)
    {
        auto* self = static_cast<Waiter*>(argument);
        self->woken = self->semaphore->Wait();
        return 0;
    }
};

// Polls until the semaphore has `count` waiters; false after ten seconds.
bool WaitForWaiters(const KO::Semaphore& semaphore, long count)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (semaphore.GetWaiterCount() != count) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

} // namespace

TEST(SemaphoreTest, ZeroTimeOutOnEmptySemaphoreReturnsFalseAtOnce)
{
    KO::Semaphore semaphore;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(semaphore.Wait(0));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(semaphore.GetWaiterCount(), 0);
}

TEST(SemaphoreTest, CountsEveryNotify)
{
    KO::Semaphore semaphore;
    semaphore.Notify();
    semaphore.Notify();
    semaphore.Notify();
    EXPECT_TRUE(semaphore.Wait(0));
    EXPECT_TRUE(semaphore.Wait(0));
    EXPECT_TRUE(semaphore.Wait(50));
    EXPECT_FALSE(semaphore.Wait(0));
}

TEST(SemaphoreTest, TimedWaitEndsWithFalseAndLeavesNoWaiter)
{
    KO::Semaphore semaphore;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(semaphore.Wait(40));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(35));
    EXPECT_EQ(semaphore.GetWaiterCount(), 0);
}

TEST(SemaphoreTest, WaitWithoutLimitReturnsWhenNotified)
{
    KO::Semaphore semaphore;
    Waiter waiter;
    waiter.semaphore = &semaphore;
    KO::Thread thread;
    thread.Start(Waiter::Procedure, &waiter);
    ASSERT_TRUE(WaitForWaiters(semaphore, 1));
    semaphore.Notify();
    thread.Join();
    EXPECT_TRUE(waiter.woken);
    EXPECT_EQ(semaphore.GetWaiterCount(), 0);
}

TEST(SemaphoreTest, NotifyAllWakesEveryWaiter)
{
    KO::Semaphore semaphore;
    std::vector<Waiter> waiters(4);
    std::vector<KO::Thread> threads(waiters.size());
    for (std::size_t i = 0; i < waiters.size(); ++i) {
        waiters[i].semaphore = &semaphore;
        threads[i].Start(Waiter::Procedure, &waiters[i]);
    }
    ASSERT_TRUE(WaitForWaiters(semaphore, 4));

    semaphore.NotifyAll();
    for (auto& thread : threads) {
        thread.Join();
    }
    for (const auto& waiter : waiters) {
        EXPECT_TRUE(waiter.woken);
    }
    EXPECT_EQ(semaphore.GetWaiterCount(), 0);
}

TEST(SemaphoreTest, NotifyAllWithoutWaitersReleasesNothing)
{
    KO::Semaphore semaphore;
    semaphore.NotifyAll();
    EXPECT_FALSE(semaphore.Wait(0));
}
