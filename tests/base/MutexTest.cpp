#include "base/Mutex.h"
#include "base/ScopedLock.h"
#include "base/Semaphore.h"
#include "base/SystemException.h"
#include "base/Thread.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace {

// Locks the mutex on another thread and reports when it holds it.
struct Contender
{
    KO::Mutex* mutex = nullptr;
    KO::Semaphore acquired;

    static std::uint32_t Procedure(void* argument)
    {
        auto* self = static_cast<Contender*>(argument);
        KO::ScopedLock lock(*self->mutex);
        self->acquired.Notify();
        return 0;
    }
};

struct SharedCounter
{
    KO::Mutex mutex;
    long value = 0; // deliberately not atomic: the lock protects it
    static constexpr int kIncrements = 20000;

    static std::uint32_t Procedure(void* argument)
    {
        auto* self = static_cast<SharedCounter*>(argument);
        for (int i = 0; i < kIncrements; ++i) {
            KO::ScopedLock lock(self->mutex);
            ++self->value;
        }
        return 0;
    }
};

} // namespace

TEST(MutexTest, OwnerMayLockAgainAndOthersWaitForTheLastUnlock)
{
    KO::Mutex mutex;
    mutex.Lock();
    mutex.Lock();
    mutex.Unlock();

    Contender contender;
    contender.mutex = &mutex;
    KO::Thread thread;
    thread.Start(Contender::Procedure, &contender);
    EXPECT_FALSE(contender.acquired.Wait(100)) << "lock taken while still held once";

    mutex.Unlock();
    EXPECT_TRUE(contender.acquired.Wait(10000));
    thread.Join();
}

TEST(MutexTest, ScopedLocksSerialiseThreads)
{
    SharedCounter counter;
    std::vector<KO::Thread> threads(4);
    for (auto& thread : threads) {
        thread.Start(SharedCounter::Procedure, &counter);
    }
    for (auto& thread : threads) {
        thread.Join();
    }
    EXPECT_EQ(counter.value, 4L * SharedCounter::kIncrements);
}

#ifndef _WIN32
// Only the POSIX backend can detect an unlock by a thread that holds nothing;
// a critical section leaves that undefined.
TEST(MutexTest, UnlockWithoutOwnershipThrowsWithEperm)
{
    KO::Mutex mutex;
    try {
        mutex.Unlock();
        FAIL() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(),
                     L"KO::Mutex::Unlock()#LeaveCriticalSection(LPCRITICAL_SECTION) throw "
                     L"exception. )");
        EXPECT_EQ(exception.GetErrNum(), EPERM);
    }
}

TEST(MutexTest, ScopedLockSwallowsAFailedUnlock)
{
    KO::Mutex mutex;
    EXPECT_NO_THROW({
        KO::ScopedLock lock(mutex);
        mutex.Unlock(); // the guard's own unlock then fails
    });
}
#endif
