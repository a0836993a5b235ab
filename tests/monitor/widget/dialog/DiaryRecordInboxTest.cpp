// The hand-over of records from the module's thread to the GUI thread: at
// most one arrived() per turn of the event loop however many records came,
// bounded batches, nothing lost or reordered.

#include "monitor/widget/dialog/DiaryRecordInbox.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

DiaryRecord Record(std::int64_t time)
{
    return {time, {"field"}};
}

TEST(DiaryRecordInboxTest, ManyRecordsInOneTurnMakeOneArrival)
{
    DiaryRecordInbox inbox;
    QSignalSpy arrived(&inbox, &DiaryRecordInbox::arrived);
    constexpr int kRecords = 10000;
    for (int i = 0; i < kRecords; ++i) {
        inbox.post(Record(i));
    }
    EXPECT_EQ(arrived.count(), 0) << "arrival is queued, never direct";
    QCoreApplication::processEvents();
    ASSERT_EQ(arrived.count(), 1);
    const std::vector<DiaryRecord> batch = inbox.take();
    ASSERT_EQ(batch.size(), static_cast<std::size_t>(kRecords));
    for (int i = 0; i < kRecords; ++i) {
        EXPECT_EQ(batch[static_cast<std::size_t>(i)].time, i);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(arrived.count(), 1) << "an emptied inbox posts nothing more";

    inbox.post(Record(kRecords));
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived.count() == 2; }))
        << "the next record after a take posts again";
    EXPECT_EQ(inbox.take().size(), 1u);
}

TEST(DiaryRecordInboxTest, ALimitedTakeLeavesTheRestForTheNextTurn)
{
    DiaryRecordInbox inbox;
    QSignalSpy arrived(&inbox, &DiaryRecordInbox::arrived);
    for (int i = 0; i < 2500; ++i) {
        inbox.post(Record(i));
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(arrived.count(), 1);
    std::vector<DiaryRecord> first = inbox.take(1000);
    ASSERT_EQ(first.size(), 1000u);
    EXPECT_EQ(first.front().time, 0);
    EXPECT_EQ(first.back().time, 999);
    EXPECT_EQ(arrived.count(), 1) << "the next arrival waits for the next turn";
    inbox.post(Record(2500));
    QCoreApplication::processEvents();
    ASSERT_EQ(arrived.count(), 2) << "one arrival for the rest and the new record";
    const std::vector<DiaryRecord> rest = inbox.take(1000);
    ASSERT_EQ(rest.size(), 1000u);
    EXPECT_EQ(rest.front().time, 1000);
    QCoreApplication::processEvents();
    ASSERT_EQ(arrived.count(), 3);
    const std::vector<DiaryRecord> last = inbox.take(1000);
    ASSERT_EQ(last.size(), 501u);
    EXPECT_EQ(last.back().time, 2500);
    QCoreApplication::processEvents();
    EXPECT_EQ(arrived.count(), 3) << "nothing left, nothing posted";
}

TEST(DiaryRecordInboxTest, RecordsFromAnotherThreadAllArriveInOrder)
{
    DiaryRecordInbox inbox;
    std::vector<DiaryRecord> received;
    int arrivals = 0;
    QObject::connect(&inbox, &DiaryRecordInbox::arrived, [&] {
        ++arrivals;
        for (DiaryRecord& record : inbox.take(2000)) {
            received.push_back(std::move(record));
        }
    });
    constexpr int kRecords = 100000;
    std::thread module([&] {
        for (int i = 0; i < kRecords; ++i) {
            inbox.post(Record(i));
        }
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == kRecords; }, 30000))
        << received.size();
    module.join();
    QCoreApplication::processEvents();
    ASSERT_EQ(received.size(), static_cast<std::size_t>(kRecords));
    for (int i = 0; i < kRecords; ++i) {
        ASSERT_EQ(received[static_cast<std::size_t>(i)].time, i);
    }
    EXPECT_LT(arrivals, kRecords) << "records are batched";
}

TEST(DiaryRecordInboxTest, AnArrivalStillQueuedDiesWithTheInbox)
{
    auto inbox = std::make_unique<DiaryRecordInbox>();
    bool arrived = false;
    QObject::connect(inbox.get(), &DiaryRecordInbox::arrived, [&] { arrived = true; });
    inbox->post(Record(1));
    inbox.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(arrived);
}

} // namespace
