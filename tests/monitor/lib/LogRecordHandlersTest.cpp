#include "monitor/lib/LogRecordHandlers.h"

#include "monitor/lib/ILogRecordHandler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct Delivered
{
    const void* record;
    std::uint32_t value1;
    std::uint32_t value2;
};

class Collector : public ILogRecordHandler
{
public:
    void loadData(const void* record, std::uint32_t value1, std::uint32_t value2) override
    {
        delivered.push_back({record, value1, value2});
    }

    std::vector<Delivered> delivered;
};

class Thrower : public ILogRecordHandler
{
public:
    void loadData(const void*, std::uint32_t, std::uint32_t) override
    {
        throw std::runtime_error("handler failed");
    }
};

// A handler that stays inside loadData until released.
class Blocker : public ILogRecordHandler
{
public:
    void loadData(const void*, std::uint32_t, std::uint32_t) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_entered = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
        finished = true;
    }

    void WaitUntilEntered()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_entered; });
    }

    void Release()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

    std::atomic<bool> finished{false};

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_released = false;
};

} // namespace

TEST(LogRecordHandlersTest, ARecordReachesTheHandlerOfItsContext)
{
    LogRecordHandlers handlers;
    Collector first;
    Collector second;
    void* const firstContext = handlers.Add(&first);
    void* const secondContext = handlers.Add(&second);
    EXPECT_NE(firstContext, secondContext);

    const int record = 0;
    EXPECT_TRUE(handlers.Deliver(secondContext, &record, 7, 100220));
    ASSERT_EQ(second.delivered.size(), 1u);
    EXPECT_EQ(second.delivered[0].record, &record);
    EXPECT_EQ(second.delivered[0].value1, 7u);
    EXPECT_EQ(second.delivered[0].value2, 100220u);
    EXPECT_TRUE(first.delivered.empty());
}

TEST(LogRecordHandlersTest, RecordsForRemovedOrUnknownRegistrationsAreDropped)
{
    LogRecordHandlers handlers;
    Collector handler;
    void* const first = handlers.Add(&handler);
    void* const second = handlers.Add(&handler);
    Collector other;
    void* const otherContext = handlers.Add(&other);
    handlers.Remove(&handler);

    EXPECT_FALSE(handlers.Deliver(first, nullptr, 1, 2));
    EXPECT_FALSE(handlers.Deliver(second, nullptr, 1, 2));
    EXPECT_FALSE(handlers.Deliver(nullptr, nullptr, 1, 2));
    EXPECT_TRUE(handler.delivered.empty());
    // Other handlers stay registered; a handler added again gets a new context.
    EXPECT_TRUE(handlers.Deliver(otherContext, nullptr, 1, 2));
    const void* const again = handlers.Add(&handler);
    EXPECT_NE(again, first);
    EXPECT_NE(again, second);
}

TEST(LogRecordHandlersTest, AThrowingHandlerLosesTheRecordWithoutThrowing)
{
    LogRecordHandlers handlers;
    Thrower handler;
    void* const context = handlers.Add(&handler);
    EXPECT_FALSE(handlers.Deliver(context, nullptr, 1, 2));
}

TEST(LogRecordHandlersTest, RemoveWaitsForARunningDelivery)
{
    LogRecordHandlers handlers;
    Blocker handler;
    void* const context = handlers.Add(&handler);
    std::thread delivery([&] { handlers.Deliver(context, nullptr, 1, 2); });
    handler.WaitUntilEntered();

    bool finishedWhenRemoved = false;
    std::thread removal([&] {
        handlers.Remove(&handler);
        finishedWhenRemoved = handler.finished;
    });
    handler.Release();
    delivery.join();
    removal.join();
    EXPECT_TRUE(finishedWhenRemoved);
}

// Ending a source tells each of its handlers once, however many queries it
// made, drops their later records, and leaves other sources' handlers alone.
TEST(LogRecordHandlersTest, EndingASourceTellsItsHandlersOnceAndDropsTheirRecords)
{
    struct Counter : Collector
    {
        void recordsEnded() override { ++ended; }
        int ended = 0;
    };
    LogRecordHandlers handlers;
    Counter first;
    Counter second;
    const int sourceA = 0;
    const int sourceB = 0;
    void* const firstA1 = handlers.Add(&first, &sourceA);
    void* const firstA2 = handlers.Add(&first, &sourceA);
    void* const secondB = handlers.Add(&second, &sourceB);

    handlers.End(&sourceA);
    EXPECT_EQ(first.ended, 1);
    EXPECT_EQ(second.ended, 0);
    const int record = 0;
    EXPECT_FALSE(handlers.Deliver(firstA1, &record, 1, 2));
    EXPECT_FALSE(handlers.Deliver(firstA2, &record, 1, 2));
    EXPECT_TRUE(handlers.Deliver(secondB, &record, 1, 2));
    EXPECT_TRUE(first.delivered.empty());
    EXPECT_EQ(second.delivered.size(), 1u);

    handlers.End(&sourceA);
    EXPECT_EQ(first.ended, 1) << "an ended source has nobody left to tell";
}
