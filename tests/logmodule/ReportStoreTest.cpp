// The stores behind the journal, memory and SQLite alike: ids, the newest
// first history of a category in a time range, the records after an id,
// clearing, pruning, counts and counts in a time range; and the journal's retention over them.

#include "Journal.h"
#include "ReportLayout.h"
#include "ReportTime.h"

#include "StoreKinds.h"

#include "monitor/lib/RecordCategory.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

constexpr std::int64_t kDay = 24LL * 3600 * 1000;
constexpr std::int64_t kNow = 1800000000000;

Report Make(std::int32_t category, std::int64_t time, const std::string& text = "r")
{
    Report report;
    report.category = category;
    report.time = time;
    report.fields.assign(ReportLayout::FieldCount(category), text);
    return report;
}

class ReportStoreTest : public testing::TestWithParam<StoreKind>
{
protected:
    std::vector<Report> History(const ReportStore::Range& range)
    {
        std::vector<Report> visited;
        m_store->VisitNewestFirst(range, [&](const Report& report) {
            visited.push_back(report);
            return true;
        });
        return visited;
    }

    std::vector<std::int64_t> Times(const std::vector<Report>& reports)
    {
        std::vector<std::int64_t> times;
        for (const Report& report : reports) {
            times.push_back(report.time);
        }
        return times;
    }

    std::int64_t Append(std::vector<Report> reports)
    {
        m_store->Append(reports);
        return reports.back().id;
    }

    TemporaryDirectory m_directory;
    std::shared_ptr<ReportStore> m_store = GetParam().make(m_directory);
};

using JournalRetentionTest = ReportStoreTest;

} // namespace

TEST_P(ReportStoreTest, IdsGrowWithEveryAppendAndNeverReturn)
{
    EXPECT_EQ(m_store->LastId(), 0);
    std::vector<Report> batch{Make(RecordCategory::kExecuteScan, 3),
                              Make(RecordCategory::kExecuteScan, 1)};
    m_store->Append(batch);
    EXPECT_EQ(batch[1].id, batch[0].id + 1);
    EXPECT_EQ(m_store->LastId(), batch[1].id);
    EXPECT_EQ(m_store->Clear(RecordCategory::kExecuteScan), 2);
    EXPECT_GT(Append({Make(RecordCategory::kExecuteScan, 2)}), batch[1].id)
        << "an id of a cleared record is not given again";
}

TEST_P(ReportStoreTest, HistoryIsTheCategorysRangeNewestFirst)
{
    for (std::int64_t day : {5, 1, 3, 2, 4}) {
        Append({Make(RecordCategory::kHeartbeat, day * kDay),
                Make(RecordCategory::kExecuteScan, day * kDay, std::to_string(day))});
    }
    ReportStore::Range range;
    range.category = RecordCategory::kExecuteScan;
    const std::vector<Report> all = History(range);
    EXPECT_EQ(Times(all),
              (std::vector<std::int64_t>{5 * kDay, 4 * kDay, 3 * kDay, 2 * kDay, kDay}));
    EXPECT_EQ(all.front().fields, (std::vector<std::string>{"5", "5"}));
    EXPECT_EQ(all.front().category, RecordCategory::kExecuteScan);

    range.from = 2 * kDay;
    range.to = 4 * kDay;
    EXPECT_EQ(Times(History(range)), (std::vector<std::int64_t>{4 * kDay, 3 * kDay, 2 * kDay}))
        << "both ends belong to the range";
    range.lastId = all[2].id; // day 3 came third, days 2 and 4 after it
    EXPECT_EQ(Times(History(range)), (std::vector<std::int64_t>{3 * kDay}));
}

TEST_P(ReportStoreTest, EqualTimesComeNewestAppendFirst)
{
    const std::int64_t first = Append({Make(RecordCategory::kUpdatePackage, kDay)});
    const std::int64_t second = Append({Make(RecordCategory::kUpdatePackage, kDay)});
    ReportStore::Range range;
    range.category = RecordCategory::kUpdatePackage;
    const std::vector<Report> history = History(range);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].id, second);
    EXPECT_EQ(history[1].id, first);
}

TEST_P(ReportStoreTest, AVisitEndsWhenTheVisitorSaysSo)
{
    Append({Make(RecordCategory::kHeartbeat, 1), Make(RecordCategory::kHeartbeat, 2),
            Make(RecordCategory::kHeartbeat, 3)});
    int visited = 0;
    ReportStore::Range range;
    range.category = RecordCategory::kHeartbeat;
    m_store->VisitNewestFirst(range, [&](const Report&) { return ++visited < 2; });
    EXPECT_EQ(visited, 2);
    visited = 0;
    m_store->VisitAfter(0, [&](const Report&) { return ++visited < 1; });
    EXPECT_EQ(visited, 1);
}

TEST_P(ReportStoreTest, RecordsAfterAnIdComeInAppendOrder)
{
    const std::int64_t first = Append({Make(RecordCategory::kHeartbeat, 9)});
    Append({Make(RecordCategory::kExecuteScan, 1), Make(RecordCategory::kHeartbeat, 5)});
    std::vector<std::int32_t> categories;
    m_store->VisitAfter(first, [&](const Report& report) {
        categories.push_back(report.category);
        return true;
    });
    EXPECT_EQ(categories, (std::vector<std::int32_t>{RecordCategory::kExecuteScan,
                                                     RecordCategory::kHeartbeat}));
}

TEST_P(ReportStoreTest, VisitorsMayAppend)
{
    Append({Make(RecordCategory::kHeartbeat, 1)});
    ReportStore::Range range;
    range.category = RecordCategory::kHeartbeat;
    m_store->VisitNewestFirst(range, [&](const Report&) {
        Append({Make(RecordCategory::kHeartbeat, 2)});
        return true;
    });
    EXPECT_EQ(m_store->CategoryStats(RecordCategory::kHeartbeat).count, 2);
}

TEST_P(ReportStoreTest, AReportIsFoundByItsIdUntilItIsCleared)
{
    std::vector<Report> batch{Make(RecordCategory::kExecuteScan, 7, "scan"),
                              Make(RecordCategory::kRansomwareFound, 8, "threat")};
    m_store->Append(batch);
    for (const Report& appended : batch) {
        const std::optional<Report> found = m_store->Find(appended.id);
        ASSERT_TRUE(found.has_value()) << appended.id;
        EXPECT_EQ(found->id, appended.id);
        EXPECT_EQ(found->category, appended.category);
        EXPECT_EQ(found->time, appended.time);
        EXPECT_EQ(found->fields, appended.fields);
    }
    for (const std::int64_t unknown : {std::int64_t{0}, std::int64_t{-1}, batch[1].id + 1,
                                       std::numeric_limits<std::int64_t>::max()}) {
        EXPECT_FALSE(m_store->Find(unknown).has_value()) << unknown;
    }
    m_store->Clear(RecordCategory::kExecuteScan);
    EXPECT_FALSE(m_store->Find(batch[0].id).has_value()) << "cleared";
    EXPECT_TRUE(m_store->Find(batch[1].id).has_value()) << "another category stays";
}

TEST_P(ReportStoreTest, ClearingDeletesOneCategory)
{
    Append({Make(RecordCategory::kExecuteScan, 1), Make(RecordCategory::kUpdatePackage, 2),
            Make(RecordCategory::kExecuteScan, 3)});
    EXPECT_EQ(m_store->Clear(RecordCategory::kExecuteScan), 2);
    EXPECT_EQ(m_store->CategoryStats(RecordCategory::kExecuteScan).count, 0);
    const ReportStore::Stats update = m_store->CategoryStats(RecordCategory::kUpdatePackage);
    EXPECT_EQ(update.count, 1);
    EXPECT_EQ(update.oldest, 2);
    EXPECT_EQ(update.newest, 2);
}

TEST_P(ReportStoreTest, PruningTakesTheOldestBeyondTheCountOrTooOld)
{
    for (std::int64_t day = 1; day <= 10; ++day) {
        Append({Make(RecordCategory::kHeartbeat, day * kDay),
                Make(RecordCategory::kExecuteScan, day * kDay)});
    }
    // Keep 6: days 1-4 go, at most 3 per batch.
    EXPECT_EQ(m_store->Prune(RecordCategory::kHeartbeat, 0, 6, 3), 3);
    EXPECT_EQ(m_store->Prune(RecordCategory::kHeartbeat, 0, 6, 3), 1);
    EXPECT_EQ(m_store->Prune(RecordCategory::kHeartbeat, 0, 6, 3), 0);
    EXPECT_EQ(m_store->CategoryStats(RecordCategory::kHeartbeat).oldest, 5 * kDay);
    // Older than day 8.
    EXPECT_EQ(m_store->Prune(RecordCategory::kHeartbeat, 8 * kDay, 100, 100), 3);
    EXPECT_EQ(m_store->CategoryStats(RecordCategory::kHeartbeat).oldest, 8 * kDay);
    EXPECT_EQ(m_store->CategoryStats(RecordCategory::kExecuteScan).count, 10) << "untouched";
}

TEST_P(ReportStoreTest, CountsACategorysRecordsFromTheStartUpToTheEnd)
{
    Append({Make(RecordCategory::kExecuteScan, kDay - 1), Make(RecordCategory::kExecuteScan, kDay),
            Make(RecordCategory::kExecuteScan, 2 * kDay - 1),
            Make(RecordCategory::kExecuteScan, 2 * kDay), Make(RecordCategory::kHeartbeat, kDay)});
    EXPECT_EQ(m_store->Count(RecordCategory::kExecuteScan, kDay, 2 * kDay), 2)
        << "the start belongs to the range, the end does not";
    EXPECT_EQ(m_store->Count(RecordCategory::kHeartbeat, kDay, 2 * kDay), 1);
    EXPECT_EQ(m_store->Count(RecordCategory::kExecuteScan, kDay, kDay), 0) << "an empty range";
    EXPECT_EQ(m_store->Count(RecordCategory::kUpdatePackage, 0, 3 * kDay), 0);
}

TEST_P(JournalRetentionTest, AppendsNeverPruneAndAPruneKeepsTheLimits)
{
    Retention retention;
    retention.maxAge = 30 * kDay;
    retention.maxCount = 20;
    retention.batch = 7;
    retention.appendsPerPrune = 50;
    Journal journal(m_store, retention);
    const std::int64_t now = ReportTime::Now();
    for (int i = 0; i < 60; ++i) {
        journal.Append(Make(RecordCategory::kExecuteScan, now - i * 1000));
    }
    for (int i = 0; i < 10; ++i) {
        journal.Append(Make(RecordCategory::kUpdatePackage, now - (25 + i) * kDay));
    }
    EXPECT_EQ(m_store->CategoryStats(RecordCategory::kExecuteScan).count, 60) << "no prune yet";
    EXPECT_TRUE(journal.PruneDue());

    EXPECT_EQ(journal.Prune(now), 40 + 4);
    const ReportStore::Stats scans = m_store->CategoryStats(RecordCategory::kExecuteScan);
    EXPECT_EQ(scans.count, 20);
    EXPECT_EQ(scans.newest, now) << "the newest stay";
    EXPECT_EQ(m_store->CategoryStats(RecordCategory::kUpdatePackage).count, 6)
        << "days 25 to 30 stay (30 days old is not older than the limit), 31 to 34 go";
    EXPECT_FALSE(journal.PruneDue());
    for (int i = 0; i < 49; ++i) {
        journal.Append(Make(RecordCategory::kHeartbeat, now));
    }
    EXPECT_FALSE(journal.PruneDue());
    journal.Append(Make(RecordCategory::kHeartbeat, now));
    EXPECT_TRUE(journal.PruneDue());
}

INSTANTIATE_TEST_SUITE_P(Stores, ReportStoreTest, testing::ValuesIn(StoreKinds()), StoreKindName);
INSTANTIATE_TEST_SUITE_P(Stores, JournalRetentionTest, testing::ValuesIn(StoreKinds()),
                         StoreKindName);
