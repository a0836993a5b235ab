// The diary dialog with the log module beside this program, over a journal
// of the test's own: every diary receives the module's records on its own
// thread (a TRACE line each) and shows them newest first in its columns in
// place of the sample rows, the heartbeat diary one row per day; records
// appended while it is open take their sorted places; and a diary that goes
// away while records arrive receives none after it is gone.

#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base/Logging.h"
#include "base/Process.h"
#include "base_ui/controls/CTableWidget.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/DiaryRows.h"

#include "LogCapture.h"
#include "PageResources.h"

#include "lib/RecordLog.h"
#include "lib/TestJournal.h"

#include <QDir>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// What the test journal holds per category.
constexpr std::size_t kRecordsPerQuery = TestJournal::kPerCategory;

const std::string kDiaryTrace = "[TRACE] <CProgramDiaryDialog.cpp> <CProgramDiaryDialog::loadData>";

// One "get data" line of the diary: its message, the writing thread and
// where it starts in the log.
struct DataLine
{
    std::string message;
    std::string thread;
    std::size_t offset;
};

// The diary's "get data" lines, in order. A line reads
// "[time][pid:tid][TRACE] <file> <function> <line:N> message".
std::vector<DataLine> DataLines(const LogCapture& log)
{
    std::vector<DataLine> lines;
    const std::string text = log.Text();
    std::size_t begin = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         begin = end + 2, end = text.find("\r\n", begin)) {
        const std::string line = text.substr(begin, end - begin);
        const std::size_t header = line.find(kDiaryTrace);
        const std::size_t message = line.find("> get data");
        if (header == std::string::npos || message == std::string::npos) {
            continue;
        }
        const std::size_t idOpen = line.find("][") + 2;
        const std::size_t colon = line.find(':', idOpen);
        const std::size_t idClose = line.find(']', colon);
        lines.push_back(
            {line.substr(message + 2), line.substr(colon + 1, idClose - colon - 1), begin});
    }
    return lines;
}

class ProgramDiaryDialogRecordsTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override { ASSERT_TRUE(m_loader.LoadSdk()); }

    // Waits until the diary wrote `count` "get data" lines.
    std::vector<DataLine> WaitForLines(std::size_t count) const
    {
        WaitFor([&] { return DataLines(m_log).size() >= count; });
        return DataLines(m_log);
    }

    const LogCapture m_log;
    const TestJournal m_journal;
    CLogModuleLib m_loader;
    QWidget m_host;
};

TEST_F(ProgramDiaryDialogRecordsTest, EveryDiaryLogsTheRecordsOnTheModulesThread)
{
    const std::string guiThread = std::to_string(KO::Process::CurrentThreadId());
    std::size_t expected = 0;
    for (int category : RecordCategory::kAll) {
        SCOPED_TRACE(category);
        const QPointer<CProgramDiaryDialog> dialog = CProgramDiaryDialog::create(category, &m_host);
        ASSERT_TRUE(dialog);
        expected += kRecordsPerQuery;
        const std::vector<DataLine> lines = WaitForLines(expected);
        ASSERT_EQ(lines.size(), expected);
        for (std::size_t i = 0; i < kRecordsPerQuery; ++i) {
            const DataLine& line = lines[expected - kRecordsPerQuery + i];
            EXPECT_EQ(line.message,
                      "get data" + std::to_string(i + 1) + ":" + std::to_string(category));
            EXPECT_NE(line.thread, guiThread);
        }
        delete dialog.data();
    }
}

// The rows that the diary of `category` shows for the test journal's seeded
// records, newest first.
std::vector<CTableWidget::Row> SeededRows(const TestJournal& journal, int category)
{
    const std::string view = "查看";
    std::vector<CTableWidget::Row> rows;
    for (std::size_t i = kRecordsPerQuery; i-- > 0;) {
        const std::string time = DiaryRows::TimeText(journal.SeedTime(i));
        switch (category) {
        case RecordCategory::kProgramStart:
            rows.push_back({time, "test 0", view});
            break;
        case RecordCategory::kRansomwareFound:
            rows.push_back({time, "test 0 test 1", view});
            break;
        case RecordCategory::kUpdatePackage:
            rows.push_back({time, "test 0", view});
            break;
        case RecordCategory::kExecuteScan:
            rows.push_back({time, "test 0", "test 1", view});
            break;
        default:
            break;
        }
    }
    return rows;
}

class DiaryRowsTest : public ProgramDiaryDialogRecordsTest, public testing::WithParamInterface<int>
{};

TEST_P(DiaryRowsTest, RecordsReplaceTheSampleRowsNewestFirst)
{
    const std::vector<CTableWidget::Row> expected = SeededRows(m_journal, GetParam());
    const QPointer<CProgramDiaryDialog> dialog = CProgramDiaryDialog::create(GetParam(), &m_host);
    ASSERT_TRUE(dialog);
    auto* table = dialog->findChild<CTableWidget*>();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(WaitFor([&] { return table->rowCount() == static_cast<int>(expected.size()); }))
        << table->rowCount();
    for (int row = 0; row < table->rowCount(); ++row) {
        EXPECT_EQ(table->rowData(row), expected[static_cast<std::size_t>(row)]) << row;
    }
    delete dialog.data();
}

INSTANTIATE_TEST_SUITE_P(Categories, DiaryRowsTest,
                         testing::Values(RecordCategory::kProgramStart,
                                         RecordCategory::kExecuteScan,
                                         RecordCategory::kRansomwareFound,
                                         RecordCategory::kUpdatePackage));

TEST_F(ProgramDiaryDialogRecordsTest, HeartbeatDiaryShowsOneRowPerDay)
{
    // Two heartbeats two days back, besides the three seeded ones.
    const std::int64_t day = 24 * 3600 * 1000;
    const std::int64_t earlier = m_journal.SeedTime(0) - 2 * day;
    ASSERT_TRUE(m_journal.Append(RecordCategory::kHeartbeat, earlier, u"hb"));
    ASSERT_TRUE(m_journal.Append(RecordCategory::kHeartbeat, earlier - 60000, u"hb"));
    // Expected: per local day, the count and the last time.
    std::map<std::string, std::pair<int, std::int64_t>, std::greater<>> days;
    for (const std::int64_t time : {m_journal.SeedTime(0), m_journal.SeedTime(1),
                                    m_journal.SeedTime(2), earlier, earlier - 60000}) {
        auto& entry = days[DiaryRows::DayText(time)];
        ++entry.first;
        entry.second = std::max(entry.second, time);
    }

    const QPointer<CProgramDiaryDialog> dialog =
        CProgramDiaryDialog::create(RecordCategory::kHeartbeat, &m_host);
    ASSERT_TRUE(dialog);
    auto* table = dialog->findChild<CTableWidget*>();
    ASSERT_NE(table, nullptr);
    const auto shown = [&] {
        int count = 0;
        for (int row = 0; row < table->rowCount(); ++row) {
            count += std::stoi(table->rowData(row).at(1));
        }
        return count;
    };
    EXPECT_TRUE(WaitFor([&] { return shown() == 5; })) << shown();
    ASSERT_EQ(table->rowCount(), static_cast<int>(days.size()));
    int row = 0;
    for (const auto& [date, entry] : days) {
        EXPECT_EQ(table->rowData(row),
                  (CTableWidget::Row{date, std::to_string(entry.first) + "次",
                                     "最后活跃时间 ：" + DiaryRows::TimeText(entry.second)}))
            << row;
        ++row;
    }

    // A heartbeat now counts on today's row, in place.
    const std::int64_t now = m_journal.SeedTime(kRecordsPerQuery - 1) + 1000;
    ASSERT_TRUE(m_journal.Append(RecordCategory::kHeartbeat, now, u"hb"));
    const int todayRow = table->indexOf(0, DiaryRows::DayText(now));
    const int before = todayRow >= 0 ? std::stoi(table->rowData(todayRow).at(1)) : 0;
    EXPECT_TRUE(WaitFor([&] {
        const int index = table->indexOf(0, DiaryRows::DayText(now));
        return index >= 0 && std::stoi(table->rowData(index).at(1)) == before + 1;
    }));
    EXPECT_EQ(table->rowData(table->indexOf(0, DiaryRows::DayText(now))).at(2),
              "最后活跃时间 ：" + DiaryRows::TimeText(now));
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.data()));
    EXPECT_FALSE(table->isCellElided(0, 2)) << "the last active time fits its column";
    dialog->grab().save(QDir::temp().filePath("ProgramDiaryDialogHeartbeat.png"));
    delete dialog.data();
}

TEST_F(ProgramDiaryDialogRecordsTest, ARecordAppendedWhileOpenAppearsInItsSortedPlace)
{
    const QPointer<CProgramDiaryDialog> dialog =
        CProgramDiaryDialog::create(RecordCategory::kExecuteScan, &m_host);
    ASSERT_TRUE(dialog);
    auto* table = dialog->findChild<CTableWidget*>();
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(WaitFor([&] { return table->rowCount() == 3; }));

    // Between the oldest and the middle seeded record (times are shown to
    // the second), and then a newest one.
    const std::int64_t between = m_journal.SeedTime(0) + 500;
    ASSERT_TRUE(m_journal.Append(RecordCategory::kExecuteScan, between, u"late"));
    const std::int64_t newest = m_journal.SeedTime(kRecordsPerQuery - 1) + 5000;
    ASSERT_TRUE(m_journal.Append(RecordCategory::kExecuteScan, newest, u"new"));
    ASSERT_TRUE(WaitFor([&] { return table->rowCount() == 5; })) << table->rowCount();

    EXPECT_EQ(table->rowData(0),
              (CTableWidget::Row{DiaryRows::TimeText(newest), "new 0", "new 1", "查看"}));
    const int late = table->indexOf(2, "late 1");
    ASSERT_GE(late, 0);
    EXPECT_EQ(table->rowData(late).at(0), DiaryRows::TimeText(between));
    for (int row = 1; row < table->rowCount(); ++row) {
        EXPECT_GE(table->rowData(row - 1).at(0), table->rowData(row).at(0)) << row;
    }
    delete dialog.data();
}

TEST_F(ProgramDiaryDialogRecordsTest, ADiaryWithRecordsGrabsToPicture)
{
    const QPointer<CProgramDiaryDialog> dialog =
        CProgramDiaryDialog::create(RecordCategory::kExecuteScan, &m_host);
    ASSERT_TRUE(dialog);
    auto* table = dialog->findChild<CTableWidget*>();
    ASSERT_NE(table, nullptr);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(m_journal.Append(RecordCategory::kExecuteScan,
                                     m_journal.SeedTime(0) - (i + 1) * 60000, u"older"));
    }
    ASSERT_TRUE(WaitFor([&] { return table->rowCount() == 9; })) << table->rowCount();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.data()));
    EXPECT_TRUE(table->isScrollBarShown());
    EXPECT_EQ(table->cellText(0, 0).toStdString(),
              DiaryRows::TimeText(m_journal.SeedTime(kRecordsPerQuery - 1)));
    const QImage picture = dialog->grab().toImage();
    EXPECT_FALSE(picture.isNull());
    picture.save(QDir::temp().filePath("ProgramDiaryDialogRecords.png"));
    delete dialog.data();
}

// The rows of a table when its dialog first paints.
class RowsAtFirstPaint : public QObject
{
public:
    explicit RowsAtFirstPaint(const CTableWidget& table) : m_table(table) {}

    int rows = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && rows < 0) {
            rows = m_table.rowCount();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const CTableWidget& m_table;
};

// A diary shown with a long history waiting paints its first frame with at
// most its first hundred records; the rest follow, newest first.
TEST_F(ProgramDiaryDialogRecordsTest, TheFirstFrameComesBeforeALongHistory)
{
    constexpr std::int64_t kOlder = 150;
    const std::int64_t oldest = m_journal.SeedTime(0) - 1000 * (kOlder + 1);
    for (std::int64_t i = 0; i < kOlder; ++i) {
        ASSERT_TRUE(m_journal.Append(RecordCategory::kExecuteScan, oldest + 1000 * i, u"old"));
    }
    const std::size_t total = kOlder + kRecordsPerQuery;

    const QPointer<CProgramDiaryDialog> dialog =
        CProgramDiaryDialog::create(RecordCategory::kExecuteScan, &m_host);
    ASSERT_TRUE(dialog);
    auto* table = dialog->findChild<CTableWidget*>();
    ASSERT_NE(table, nullptr);
    // Every record waits for the GUI thread before the dialog shows (no
    // event is processed while polling here).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (DataLines(m_log).size() < total && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(DataLines(m_log).size(), total);
    EXPECT_EQ(table->rowCount(), 0);

    RowsAtFirstPaint firstPaint(*table);
    dialog->installEventFilter(&firstPaint);
    dialog->show();
    ASSERT_TRUE(WaitFor([&] { return firstPaint.rows >= 0; }));
    EXPECT_LE(firstPaint.rows, 100);
    ASSERT_TRUE(WaitFor([&] { return table->rowCount() == static_cast<int>(total); }))
        << table->rowCount();
    EXPECT_EQ(table->rowData(0).at(0),
              DiaryRows::TimeText(m_journal.SeedTime(kRecordsPerQuery - 1)));
    EXPECT_EQ(table->rowData(table->rowCount() - 1).at(0), DiaryRows::TimeText(oldest));
    dialog->removeEventFilter(&firstPaint);
    delete dialog.data();
}

TEST_F(ProgramDiaryDialogRecordsTest, ADeletedDiaryReceivesNothingMore)
{
    // Keep the module's thread busy, so that most diaries below are gone
    // before their records come.
    std::vector<std::unique_ptr<RecordLog>> earlier(50);
    for (auto& handler : earlier) {
        handler = std::make_unique<RecordLog>();
        ASSERT_TRUE(m_loader.queryRecords(CProgramDiaryDialog::kUpdatePackage, handler.get()));
    }
    for (int round = 0; round < 10; ++round) {
        delete CProgramDiaryDialog::create(CProgramDiaryDialog::kExecuteScan);
    }
    const std::string marker = "diaries deleted";
    LOG_TRACE << marker;

    // Deliveries keep query order: once the witness has its records, every
    // record for the diaries has been dealt with.
    RecordLog witness;
    ASSERT_TRUE(m_loader.queryRecords(CProgramDiaryDialog::kExecuteScan, &witness));
    ASSERT_EQ(witness.WaitFor(kRecordsPerQuery).size(), kRecordsPerQuery);
    const std::size_t deleted = m_log.Text().find(marker);
    ASSERT_NE(deleted, std::string::npos);
    for (const DataLine& line : DataLines(m_log)) {
        EXPECT_LT(line.offset, deleted) << line.message;
    }
}

} // namespace
