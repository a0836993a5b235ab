// A day's records as the rows of the view by time: newest first whatever
// order and batches they come in, equal times by journal id, only the day's
// records, the rows' texts per category, and one heartbeat row per run of
// the program with the run's last heartbeat as its info.

#include "monitor/widget/controlbyclass/DayRecordList.h"

#include "monitor/lib/RecordCategory.h"

#include "PageResources.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

constexpr std::int64_t kDayStart = 1700000000000;
constexpr std::int64_t kDayEnd = kDayStart + 24LL * 3600 * 1000;

DiaryRecord Record(std::int32_t category, std::int64_t time, std::int64_t id,
                   std::vector<std::string> fields = {})
{
    DiaryRecord record;
    record.category = category;
    record.time = time;
    record.id = id;
    record.fields = std::move(fields);
    return record;
}

QString TimeText(std::int64_t time)
{
    return QDateTime::fromMSecsSinceEpoch(time).toString("yyyy-MM-dd hh:mm:ss");
}

// The rows as "id" numbers, in order.
std::vector<qint64> Ids(const DayRecordList& list)
{
    std::vector<qint64> ids;
    for (const DiaryListRecord& row : list.rows()) {
        ids.push_back(row.id);
    }
    return ids;
}

class DayRecordListTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override { m_list.reset(kDayStart, kDayEnd); }

    DayRecordList m_list;
};

} // namespace

TEST_F(DayRecordListTest, RowsShowEachCategoryLikeTheSampleRows)
{
    m_list.add(
        {Record(RecordCategory::kProgramStart, kDayStart + 5, 1, std::vector<std::string>(17, "d")),
         Record(RecordCategory::kRansomwareFound, kDayStart + 4, 2, {"Locker", "removed"}),
         Record(RecordCategory::kUpdatePackage, kDayStart + 3, 3, {"2.1", "notes"}),
         Record(RecordCategory::kExecuteScan, kDayStart + 2, 4, {"quick", "clean"}),
         Record(RecordCategory::kHeartbeat, kDayStart + 1, 5)});
    const struct
    {
        QString type;
        QString info;
        int category;
    } expected[] = {
        {"程序启动", "d", RecordCategory::kProgramStart},
        {"发现勒索程序", "Locker removed", RecordCategory::kRansomwareFound},
        {"下载更新包", "2.1", RecordCategory::kUpdatePackage},
        {"执行扫描", "quick clean", RecordCategory::kExecuteScan},
        {"心跳上报时间", "最后活跃时间 ：" + TimeText(kDayStart + 1), RecordCategory::kHeartbeat}};
    ASSERT_EQ(m_list.rows().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const DiaryListRecord& row = m_list.rows()[i];
        EXPECT_EQ(row.type, expected[i].type);
        EXPECT_EQ(row.info, expected[i].info);
        EXPECT_EQ(row.category, expected[i].category);
        EXPECT_EQ(row.time, TimeText(kDayStart + 5 - static_cast<std::int64_t>(i)));
        EXPECT_FALSE(row.about.isEmpty()) << "the heartbeat explanation, as on sample rows";
    }
}

TEST_F(DayRecordListTest, NewestFirstWhateverTheOrderAndBatches)
{
    std::vector<DiaryRecord> records;
    for (std::int64_t id = 1; id <= 40; ++id) {
        // Pairs of equal times: the later append (greater id) first.
        records.push_back(Record(RecordCategory::kExecuteScan, kDayStart + (id + 1) / 2 * 1000, id,
                                 {"quick", "clean"}));
    }
    std::shuffle(records.begin(), records.end(), std::mt19937(7));
    for (std::size_t begin = 0; begin < records.size(); begin += 7) {
        m_list.add(std::vector<DiaryRecord>(
            records.begin() + static_cast<std::ptrdiff_t>(begin),
            records.begin() + static_cast<std::ptrdiff_t>(std::min(begin + 7, records.size()))));
    }
    std::vector<qint64> expected;
    for (qint64 id = 40; id >= 1; --id) {
        expected.push_back(id);
    }
    EXPECT_EQ(Ids(m_list), expected);
}

TEST_F(DayRecordListTest, OnlyTheDaysRecordsAndResetForgets)
{
    m_list.add({Record(RecordCategory::kUpdatePackage, kDayStart - 1, 1, {"1"}),
                Record(RecordCategory::kUpdatePackage, kDayStart, 2, {"2"}),
                Record(RecordCategory::kUpdatePackage, kDayEnd - 1, 3, {"3"}),
                Record(RecordCategory::kUpdatePackage, kDayEnd, 4, {"4"})});
    EXPECT_EQ(Ids(m_list), (std::vector<qint64>{3, 2})) << "from the start up to the end";
    m_list.reset(kDayEnd, kDayEnd + 1000);
    EXPECT_TRUE(m_list.rows().empty());
    m_list.add({Record(RecordCategory::kHeartbeat, kDayStart, 5)});
    EXPECT_TRUE(m_list.rows().empty()) << "the day before's heartbeat is not counted";
}

// Heartbeats (H) and program starts (S) at seconds of the day, in append
// order; the heartbeats shown, newest first, each with its run's last
// heartbeat.
struct RunCase
{
    const char* name;
    std::vector<std::pair<char, int>> records;
    std::vector<std::pair<int, int>> shown; // (second, last active second)
};

class DayRecordListRunTest : public DayRecordListTest, public testing::WithParamInterface<RunCase>
{};

TEST_P(DayRecordListRunTest, OneHeartbeatRowPerRun)
{
    std::vector<DiaryRecord> records;
    std::int64_t id = 0;
    for (const auto& [kind, second] : GetParam().records) {
        const std::int64_t time = kDayStart + second * 1000LL;
        records.push_back(kind == 'S' ? Record(RecordCategory::kProgramStart, time, ++id,
                                               std::vector<std::string>(17, "start"))
                                      : Record(RecordCategory::kHeartbeat, time, ++id));
    }
    m_list.add(records);
    std::vector<std::pair<int, int>> shown;
    for (const DiaryListRecord& row : m_list.rows()) {
        if (row.category == RecordCategory::kHeartbeat) {
            const int second = static_cast<int>((row.timeMs - kDayStart) / 1000);
            const QString last = row.info.section("：", 1);
            const int lastSecond = static_cast<int>(
                (QDateTime::fromString(last, "yyyy-MM-dd hh:mm:ss").toMSecsSinceEpoch() -
                 kDayStart) /
                1000);
            shown.emplace_back(second, lastSecond);
        }
    }
    EXPECT_EQ(shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, DayRecordListRunTest,
    testing::Values(
        RunCase{"NoStartTheDaysFirstHeartbeat", {{'H', 10}, {'H', 40}, {'H', 70}}, {{10, 70}}},
        RunCase{"EachStartBeginsARun",
                {{'H', 10}, {'S', 20}, {'H', 30}, {'H', 60}, {'S', 90}, {'H', 100}},
                {{100, 100}, {30, 60}, {10, 10}}},
        RunCase{"AHeartbeatAtTheStartsMillisecondBelongsToItsRun",
                {{'H', 10}, {'S', 20}, {'H', 20}, {'H', 50}},
                {{20, 50}, {10, 10}}},
        RunCase{"ARunWithoutHeartbeatsShowsNone", {{'S', 10}, {'S', 20}, {'H', 30}}, {{30, 30}}},
        RunCase{"StartsArrivingAfterTheHeartbeatsSplitTheRuns",
                {{'H', 10}, {'H', 40}, {'S', 30}},
                {{40, 40}, {10, 10}}}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });
