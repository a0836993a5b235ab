#include "base/Thread.h"
#include "base/Error.h"
#include "base/Semaphore.h"

#include <gtest/gtest.h>

#include "PipeTestSupport.h"

#include <atomic>
#include <memory>
#include <thread>

namespace {

// A procedure that counts its runs and then blocks until released.
struct GatedRun
{
    std::atomic<int> runs{0};
    KO::Semaphore started;
    KO::Semaphore release;

    static std::uint32_t Procedure(void* argument)
    {
        auto* self = static_cast<GatedRun*>(argument);
        ++self->runs;
        self->started.Notify();
        self->release.Wait();
        return 7;
    }
};

// Set when a thread that ran OutlivingRun::Procedure has ended: its thread
// storage is destroyed on the way out, after everything the entry routine did.
std::atomic<bool> g_outlivingThreadEnded{false};

struct ThreadEndWitness
{
    ~ThreadEndWitness() { g_outlivingThreadEnded = true; }
};

// A procedure that blocks until released and is seen to end with its thread.
struct OutlivingRun
{
    KO::Semaphore started;
    KO::Semaphore release;

    static std::uint32_t Procedure(void* argument)
    {
        thread_local ThreadEndWitness witness;
        static_cast<void>(witness);
        auto* self = static_cast<OutlivingRun*>(argument);
        self->started.Notify();
        self->release.Wait();
        return 0;
    }
};

std::uint32_t Increment(void* argument)
{
    ++*static_cast<std::atomic<int>*>(argument);
    return 0;
}

} // namespace

TEST(ThreadTest, RunsTheProcedureWithItsArgument)
{
    std::atomic<int> counter{0};
    KO::Thread thread;
    EXPECT_EQ(thread.GetState(), KO::Thread::NotStarted);
    thread.Start(Increment, &counter);
    thread.Join();
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(thread.GetState(), KO::Thread::Finished);
}

TEST(ThreadTest, StartWithoutProcedureThrowsError)
{
    KO::Thread thread;
    try {
        thread.Start(nullptr, nullptr);
        FAIL() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(), L"Thread::Start(THREAD_PROC_PTR, void*)#Parameter fails.");
    }
    EXPECT_EQ(thread.GetState(), KO::Thread::NotStarted);
}

TEST(ThreadTest, StartWhileRunningStartsOnlyOneThread)
{
    GatedRun gate;
    KO::Thread thread;
    thread.Start(GatedRun::Procedure, &gate);
    thread.Start(GatedRun::Procedure, &gate); // before the thread ran
    ASSERT_TRUE(gate.started.Wait(10000));
    thread.Start(GatedRun::Procedure, &gate); // while it runs
    EXPECT_EQ(thread.GetState(), KO::Thread::Running);

    gate.release.Notify();
    thread.Join();
    EXPECT_EQ(gate.runs, 1);
    EXPECT_FALSE(gate.started.Wait(0));
}

TEST(ThreadTest, StartAfterFinishStartsANewThread)
{
    std::atomic<int> counter{0};
    KO::Thread thread;
    thread.Start(Increment, &counter);
    thread.Join();
    thread.Start(Increment, &counter);
    thread.Join();
    EXPECT_EQ(counter, 2);
}

TEST(ThreadTest, JoinOfANeverStartedThreadReturnsAtOnce)
{
    KO::Thread thread;
    thread.Join();
    thread.Join();
    EXPECT_EQ(thread.GetState(), KO::Thread::NotStarted);
}

TEST(ThreadTest, FinishedThreadNeedsNoJoinBeforeDestruction)
{
    std::atomic<int> counter{0};
    {
        KO::Thread thread;
        thread.Start(Increment, &counter);
        while (thread.GetState() != KO::Thread::Finished) {
            std::this_thread::yield();
        }
    }
    EXPECT_EQ(counter, 1);
}

TEST(ThreadTest, DestroyingTheObjectWhileItsThreadRunsLeavesTheThreadRunningSafely)
{
    OutlivingRun run;
    auto thread = std::make_unique<KO::Thread>();
    thread->Start(OutlivingRun::Procedure, &run);
    ASSERT_TRUE(run.started.Wait(10000));
    thread.reset();

    // The procedure returns after its object is gone; the thread must not
    // write into the freed object on its way out.
    run.release.Notify();
    EXPECT_TRUE(KoTest::Eventually([] { return g_outlivingThreadEnded.load(); }));
}

TEST(ThreadTest, EntryRoutineReturnsAtOnceForNoObject)
{
    EXPECT_EQ(KO::Thread::Run(nullptr), 0u);
}
