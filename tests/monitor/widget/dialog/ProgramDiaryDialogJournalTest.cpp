// The diary dialog over a journal of the test's own, through the log module
// beside this program: the time filters on local calendar days (records on
// both sides of each boundary), a custom range, the filter holding for
// records appended while open, "清空" accepted and refused, the CSV export
// (bytes read back, and a write that fails), and records appended while the
// user looks further down or at a selected record.

#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base_ui/controls/CTableWidget.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/CSelectDateDialog.h"
#include "monitor/widget/dialog/DiaryClockTesting.h"
#include "monitor/widget/dialog/DiaryCsvTesting.h"
#include "monitor/widget/dialog/DiaryRows.h"

#include "DiaryJournalFixture.h"
#include "DiaryTestSupport.h"
#include "LogCapture.h"
#include "ModalWatch.h"
#include "PageResources.h"
#include "TestDirectory.h"

#include "lib/RecordLog.h"
#include "lib/TestJournal.h"

#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace DiaryTestSupport;
using Row = CTableWidget::Row;

constexpr int kCategory = RecordCategory::kExecuteScan;

std::int64_t LocalTime(const QDate& day, const QTime& time)
{
    return QDateTime(day, time).toMSecsSinceEpoch();
}

// Clears the CSV seam when the test ends.
struct SavePath
{
    explicit SavePath(const QString& path) { DiaryCsvTesting::SetSavePath(path); }
    ~SavePath() { DiaryCsvTesting::SetSavePath(std::nullopt); }
    SavePath(const SavePath&) = delete;
    SavePath& operator=(const SavePath&) = delete;
};

class ProgramDiaryDialogJournalTest : public DiaryJournalFixture
{
protected:
    // The diary of kCategory, shown, once it shows `rows` records.
    QPointer<CProgramDiaryDialog> Open(int rows)
    {
        QPointer<CProgramDiaryDialog> dialog = CProgramDiaryDialog::create(kCategory, &m_host);
        EXPECT_TRUE(dialog);
        if (dialog) {
            dialog->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.data()));
            EXPECT_TRUE(WaitFor([&] { return Table(*dialog)->rowCount() == rows; }))
                << Table(*dialog)->rowCount();
        }
        return dialog;
    }

    // Appends a record of kCategory at `time`; its time cell is the key.
    void Append(std::int64_t time, const std::u16string& tag = u"t")
    {
        ASSERT_TRUE(m_journal.Append(kCategory, time, tag));
        m_times.push_back(time);
    }

    // The time cells of the records whose day lies in [first, last] (null:
    // open), newest first: what the table shows under that filter.
    std::vector<std::string> Expected(const QDate& first, const QDate& last) const
    {
        std::vector<std::string> times;
        for (const std::int64_t time : AllTimes()) {
            const QDate day = QDateTime::fromMSecsSinceEpoch(time).toLocalTime().date();
            if ((first.isNull() || day >= first) && (last.isNull() || day <= last)) {
                times.push_back(DiaryRows::TimeText(time));
            }
        }
        std::sort(times.rbegin(), times.rend());
        return times;
    }

    std::vector<std::int64_t> AllTimes() const
    {
        std::vector<std::int64_t> times = m_times;
        for (std::size_t i = 0; i < TestJournal::kPerCategory; ++i) {
            times.push_back(m_journal.SeedTime(i));
        }
        return times;
    }

    static std::vector<std::string> Shown(const CTableWidget& table)
    {
        std::vector<std::string> times;
        for (int row = 0; row < table.rowCount(); ++row) {
            times.push_back(table.rowData(row).at(0));
        }
        return times;
    }

    // The records of kCategory in the journal, asked through the module;
    // another category's query after it tells when the answer is complete.
    std::size_t JournalCount()
    {
        RecordLog records;
        RecordLog witness;
        EXPECT_TRUE(m_loader.queryRecords(kCategory, &records));
        EXPECT_TRUE(m_loader.queryRecords(RecordCategory::kUpdatePackage, &witness));
        EXPECT_EQ(witness.WaitFor(TestJournal::kPerCategory).size(), TestJournal::kPerCategory);
        const std::size_t count = records.Records().size();
        CLogModuleLib::stopRecords(&records);
        CLogModuleLib::stopRecords(&witness);
        return count;
    }

    std::vector<std::int64_t> m_times;
};

// ---------------------------------------------------------------------------
// Time filters

struct FilterCase
{
    int entry;
    const char* name;
    // The first day shown, from today; the last is today. Null: everything.
    std::function<QDate(const QDate&)> firstDay;
};

void PrintTo(const FilterCase& c, std::ostream* out)
{
    *out << c.name;
}

class DiaryTimeFilterTest : public ProgramDiaryDialogJournalTest,
                            public testing::WithParamInterface<FilterCase>
{};

TEST_P(DiaryTimeFilterTest, ShowsTheRecordsOfItsDaysOnBothSidesOfEachBoundary)
{
    const QDate today = QDate::currentDate();
    const QDate monthStart = today.addMonths(-1).addDays(1);
    // The last second before and the first second of each filter's first
    // day, and the two ends of today.
    for (const QDate& first : {today, today.addDays(-2), today.addDays(-6), monthStart}) {
        Append(LocalTime(first.addDays(-1), QTime(23, 59, 59)));
        Append(LocalTime(first, QTime(0, 0, 0)));
    }
    Append(LocalTime(today, QTime(23, 59, 59)));
    Append(LocalTime(today.addDays(-40), QTime(12, 0, 0)));
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(AllTimes().size()));
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);

    PickFilter(TimeFilter(*dialog), GetParam().entry);
    const QDate first = GetParam().firstDay ? GetParam().firstDay(today) : QDate();
    const QDate last = first.isNull() ? QDate() : today;
    EXPECT_EQ(Shown(*table), Expected(first, last));
    EXPECT_EQ(table->rowCount() + table->hiddenRowCount(), static_cast<int>(AllTimes().size()));
    EXPECT_TRUE(dialog->findChildren<CSelectDateDialog*>().isEmpty());

    // Back to everything.
    PickFilter(TimeFilter(*dialog), CProgramDiaryDialog::FilterAll);
    EXPECT_EQ(Shown(*table), Expected(QDate(), QDate()));
    delete dialog.data();
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DiaryTimeFilterTest,
    testing::Values(FilterCase{CProgramDiaryDialog::FilterAll, "All", nullptr},
                    FilterCase{CProgramDiaryDialog::FilterToday, "Today",
                               [](const QDate& t) { return t; }},
                    FilterCase{CProgramDiaryDialog::FilterThreeDays, "ThreeDays",
                               [](const QDate& t) { return t.addDays(-2); }},
                    FilterCase{CProgramDiaryDialog::FilterWeek, "Week",
                               [](const QDate& t) { return t.addDays(-6); }},
                    FilterCase{CProgramDiaryDialog::FilterMonth, "Month",
                               [](const QDate& t) { return t.addMonths(-1).addDays(1); }}),
    [](const testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

// Picks "自定义" and confirms the period [begin, end] in the date dialog.
void PickPeriod(const CProgramDiaryDialog& dialog, const QDate& begin, const QDate& end)
{
    PickFilter(TimeFilter(dialog), CProgramDiaryDialog::FilterCustom);
    const QPointer<CSelectDateDialog> dates = dialog.findChild<CSelectDateDialog*>();
    ASSERT_TRUE(dates);
    for (QRadioButton* mode : dates->findChildren<QRadioButton*>()) {
        if (mode->text() == "查看某时段时期的日志") {
            Click(mode);
        }
    }
    const auto edits = dates->findChildren<QDateEdit*>("PROGRAM_DIARY_DATEEDIT");
    ASSERT_EQ(edits.size(), 2);
    edits[0]->setDate(begin);
    edits[1]->setDate(end);
    ClickButton(*dates, "SelectDateDialogOk");
    ASSERT_TRUE(WaitFor([&dates] { return dates.isNull(); }));
}

TEST_F(ProgramDiaryDialogJournalTest, CustomRangeHoldsForRecordsAppendedWhileOpen)
{
    const QDate today = QDate::currentDate();
    const QDate begin = today.addDays(-7);
    const QDate end = today.addDays(-3);
    Append(LocalTime(begin.addDays(-1), QTime(23, 59, 59)));
    Append(LocalTime(begin, QTime(0, 0, 0)));
    Append(LocalTime(end, QTime(23, 59, 59)));
    Append(LocalTime(end.addDays(1), QTime(0, 0, 0)));
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(AllTimes().size()));
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);

    PickPeriod(*dialog, begin, end);
    EXPECT_EQ(TimeFilter(*dialog)->currentIndex(), CProgramDiaryDialog::FilterCustom);
    EXPECT_EQ(Shown(*table), Expected(begin, end));
    ASSERT_EQ(table->rowCount(), 2);

    // Live records: one inside the range appears in its place, one outside
    // stays hidden.
    const int hidden = table->hiddenRowCount();
    Append(LocalTime(today.addDays(-5), QTime(12, 0, 0)));
    Append(LocalTime(today, QTime(0, 0, 1)));
    ASSERT_TRUE(WaitFor([&] {
        return table->rowCount() == 3 && table->hiddenRowCount() == hidden + 1;
    })) << table->rowCount()
        << " " << table->hiddenRowCount();
    EXPECT_EQ(Shown(*table), Expected(begin, end));

    // A cancelled choice keeps the range; a range without records is an
    // empty table.
    PickFilter(TimeFilter(*dialog), CProgramDiaryDialog::FilterCustom);
    const QPointer<CSelectDateDialog> dates = dialog->findChild<CSelectDateDialog*>();
    ASSERT_TRUE(dates);
    ClickButton(*dates, "SelectDateDialogCancel");
    ASSERT_TRUE(WaitFor([&dates] { return dates.isNull(); }));
    EXPECT_EQ(Shown(*table), Expected(begin, end));
    PickPeriod(*dialog, today.addDays(-100), today.addDays(-90));
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_FALSE(table->isScrollBarShown());

    PickFilter(TimeFilter(*dialog), CProgramDiaryDialog::FilterAll);
    EXPECT_EQ(Shown(*table), Expected(QDate(), QDate()));
    delete dialog.data();
}

// Sets the diary's clock; the system clock is back when the test ends.
struct ClockAt
{
    explicit ClockAt(const QDateTime& now) { DiaryClockTesting::SetNow(now); }
    ~ClockAt() { DiaryClockTesting::SetNow(std::nullopt); }
    ClockAt(const ClockAt&) = delete;
    ClockAt& operator=(const ClockAt&) = delete;
};

// A filter counted back from today moves on at midnight while the diary
// stays open, for every such entry; everything and a custom range stay.
TEST_F(ProgramDiaryDialogJournalTest, FiltersFromTodayMoveOnAtMidnight)
{
    const QDate today = QDate::currentDate();
    const QDate tomorrow = today.addDays(1);
    const QDateTime lastSecond(today, QTime(23, 59, 59, 900));
    const ClockAt clock(lastSecond);
    Append(LocalTime(today.addDays(-6), QTime(0, 0, 0)));
    Append(LocalTime(today, QTime(12, 0, 0)));
    Append(LocalTime(tomorrow, QTime(0, 0, 1)));
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(AllTimes().size()));
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    const auto* dayChange = dialog->findChild<QTimer*>("ProgramDiaryDialogDayChange");
    ASSERT_NE(dayChange, nullptr);

    for (const auto& [entry, back] : {std::pair{CProgramDiaryDialog::FilterToday, 0},
                                      std::pair{CProgramDiaryDialog::FilterWeek, 6}}) {
        DiaryClockTesting::SetNow(lastSecond);
        PickFilter(TimeFilter(*dialog), entry);
        EXPECT_EQ(Shown(*table), Expected(today.addDays(-back), today));
        ASSERT_TRUE(dayChange->isActive());
        EXPECT_LE(dayChange->remainingTime(), 100);

        DiaryClockTesting::SetNow(QDateTime(tomorrow, QTime(0, 0, 0, 50)));
        ASSERT_TRUE(WaitFor([&] {
            return Shown(*table) == Expected(tomorrow.addDays(-back), tomorrow);
        })) << entry;
        EXPECT_EQ(TimeFilter(*dialog)->currentIndex(), entry);
        ASSERT_TRUE(dayChange->isActive()) << "armed for the midnight after";
        EXPECT_GT(dayChange->remainingTime(), 23 * 3600 * 1000);
    }

    PickFilter(TimeFilter(*dialog), CProgramDiaryDialog::FilterAll);
    EXPECT_FALSE(dayChange->isActive());
    PickPeriod(*dialog, today.addDays(-7), today);
    EXPECT_FALSE(dayChange->isActive());
    delete dialog.data();
}

TEST_F(ProgramDiaryDialogJournalTest, HeartbeatDayRowsAreFilteredAndCountedWhileHidden)
{
    const QDate today = QDate::currentDate();
    const std::int64_t old = LocalTime(today.addDays(-10), QTime(10, 0, 0));
    ASSERT_TRUE(m_journal.Append(RecordCategory::kHeartbeat, old, u"hb"));
    const QPointer<CProgramDiaryDialog> dialog =
        CProgramDiaryDialog::create(RecordCategory::kHeartbeat, &m_host);
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    const std::string oldDay = DiaryRows::DayText(old);
    ASSERT_TRUE(WaitFor([&] { return table->indexOf(0, oldDay) >= 0; }));
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.data()));

    PickFilter(TimeFilter(*dialog), CProgramDiaryDialog::FilterWeek);
    EXPECT_EQ(table->indexOf(0, oldDay), -1);
    for (int row = 0; row < table->rowCount(); ++row) {
        EXPECT_GE(table->rowData(row).at(0),
                  today.addDays(-6).toString("yyyy-MM-dd").toStdString());
    }
    // A heartbeat of the hidden day counts on its hidden row.
    ASSERT_TRUE(m_journal.Append(RecordCategory::kHeartbeat, old + 60000, u"hb"));
    PickFilter(TimeFilter(*dialog), CProgramDiaryDialog::FilterAll);
    ASSERT_TRUE(WaitFor([&] {
        const int row = table->indexOf(0, oldDay);
        return row >= 0 && table->rowData(row).at(1) == "2次";
    }));
    EXPECT_EQ(table->rowCount() + table->hiddenRowCount(), table->rowCount());
    delete dialog.data();
}

// ---------------------------------------------------------------------------
// 清空

TEST_F(ProgramDiaryDialogJournalTest, ClearAcceptedEmptiesTheJournalAndTheTable)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(TestJournal::kPerCategory));
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    QString accept;
    QString message;
    const ModalWatch watch([&](QDialog& box) {
        accept = box.findChild<CCommonButton*>("InfoMessageBoxAccept")->text();
        box.grab().save(QDir::temp().filePath("ProgramDiaryDialogClearConfirmation.png"));
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            message += label->text();
        }
        Click(box.findChild<CCommonButton*>("InfoMessageBoxAccept"));
    });
    ClickButton(*dialog, "ProgramDiaryDialogClear");
    ASSERT_TRUE(WaitFor([&] { return watch.seen() && table->isEmpty(); }));
    EXPECT_EQ(accept, "清空记录");
    EXPECT_TRUE(message.contains("确定要清空本类的全部记录吗")) << message.toStdString();
    EXPECT_EQ(JournalCount(), 0u);
    EXPECT_TRUE(m_log.HasLine("INFO", "clearRecords(100218)."));

    // The diary goes on with the records appended afterwards.
    Append(m_journal.SeedTime(0) + 10000);
    EXPECT_TRUE(WaitFor([&] { return table->rowCount() == 1; }));
    delete dialog.data();
}

TEST_F(ProgramDiaryDialogJournalTest, ClearRefusedChangesNothing)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(TestJournal::kPerCategory));
    ASSERT_TRUE(dialog);
    for (const char* answer : {"InfoMessageBoxReject", "InfoMessageBoxClose"}) {
        SCOPED_TRACE(answer);
        const ModalWatch watch([&](QDialog& box) { Click(box.findChild<CCommonButton*>(answer)); });
        ClickButton(*dialog, "ProgramDiaryDialogClear");
        ASSERT_TRUE(
            WaitFor([&] { return watch.seen() && QApplication::activeModalWidget() == nullptr; }));
        EXPECT_EQ(Shown(*Table(*dialog)), Expected(QDate(), QDate()));
        EXPECT_EQ(JournalCount(), TestJournal::kPerCategory);
    }
    delete dialog.data();
}

// ---------------------------------------------------------------------------
// CSV

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(ProgramDiaryDialogJournalTest, ExportWritesTheShownRowsAsCsv)
{
    const QDate today = QDate::currentDate();
    const std::int64_t quoted = LocalTime(today.addDays(-1), QTime(8, 0, 0));
    Append(quoted, u"a,\"b\"\r\nc");
    Append(LocalTime(today.addDays(-20), QTime(8, 0, 0)), u"old");
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(AllTimes().size()));
    ASSERT_TRUE(dialog);
    PickFilter(TimeFilter(*dialog), CProgramDiaryDialog::FilterWeek);
    const TestDirectory directory;
    const QString path = directory.FilePath("diary.csv");
    const SavePath seam(path);

    ExportByMenu(*dialog);
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(path); }));

    QByteArray expected("\xEF\xBB\xBF时间,类别,说明\r\n");
    for (const std::string& time : Expected(today.addDays(-6), today)) {
        if (time == DiaryRows::TimeText(quoted)) {
            expected += QByteArray::fromStdString(time) +
                        ",\"a,\"\"b\"\"\r\nc 0\",\"a,\"\"b\"\"\r\nc 1\"\r\n";
        } else {
            expected += QByteArray::fromStdString(time) + ",test 0,test 1\r\n";
        }
    }
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(QDir(directory.FilePath("")).entryList(QDir::Files), QStringList{"diary.csv"});
    delete dialog.data();
}

TEST_F(ProgramDiaryDialogJournalTest, MenuKeyAndShiftF10OpenTheMenu)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(TestJournal::kPerCategory));
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.key);
        table->setFocus();
        QTest::keyClick(table, key.key, key.modifiers);
        QMenu* menu = WaitForMenu(*dialog);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(table->rect().contains(table->mapFromGlobal(menu->pos())));
        menu->grab().save(QDir::temp().filePath("ProgramDiaryDialogMenu.png"));
        menu->close();
        ASSERT_TRUE(WaitFor([&] { return dialog->findChild<QMenu*>() == nullptr; }));
    }
    delete dialog.data();
}

TEST_F(ProgramDiaryDialogJournalTest, AFailedExportReportsAndLeavesNoFile)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(static_cast<int>(TestJournal::kPerCategory));
    ASSERT_TRUE(dialog);
    const TestDirectory directory;
    const QString path = directory.FilePath("missing/diary.csv");
    const SavePath seam(path);
    QString message;
    const ModalWatch watch([&](QDialog& box) {
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            message += label->text();
        }
        box.grab().save(QDir::temp().filePath("ProgramDiaryDialogExportFailure.png"));
        Click(box.findChild<CCommonButton*>("InfoMessageBoxAccept"));
    });
    ExportByMenu(*dialog);
    ASSERT_TRUE(
        WaitFor([&] { return watch.seen() && QApplication::activeModalWidget() == nullptr; }));
    // The text, then the reason.
    const int at = message.indexOf("无法导出记录：");
    EXPECT_GE(at, 0) << message.toStdString();
    EXPECT_GT(message.size(), at + QString("无法导出记录：").size()) << message.toStdString();
    const std::string text = m_log.Text();
    const std::size_t line = text.find("> export to " + path.toStdString() + " fails: ");
    ASSERT_NE(line, std::string::npos);
    EXPECT_NE(text.rfind("[ERROR]", line), std::string::npos);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(
        QDir(directory.FilePath("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    delete dialog.data();
}

// ---------------------------------------------------------------------------
// Records appended while open

void Wheel(QWidget* widget, int delta)
{
    const QPointF pos = widget->rect().center();
    QWheelEvent event(pos, widget->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

class DiaryAppendTest : public ProgramDiaryDialogJournalTest
{
protected:
    // The diary with kOlder more records below the seeded ones.
    QPointer<CProgramDiaryDialog> OpenLong()
    {
        for (int i = 0; i < kOlder; ++i) {
            Append(m_journal.SeedTime(0) - (i + 1) * 60000);
        }
        return Open(static_cast<int>(AllTimes().size()));
    }

    // A record newer than all, and the wait for it.
    void AppendNewest(const CTableWidget& table)
    {
        const int before = table.rowCount();
        m_newest = m_journal.SeedTime(TestJournal::kPerCategory - 1) + 5000 * (1 + before);
        Append(m_newest, u"new");
        ASSERT_TRUE(WaitFor([&] { return table.rowCount() == before + 1; }));
        EXPECT_EQ(table.rowData(0).at(0), DiaryRows::TimeText(m_newest));
    }

    static constexpr int kOlder = 20;
    std::int64_t m_newest = 0;
};

TEST_F(DiaryAppendTest, ScrolledDownTheFirstVisibleRecordStays)
{
    const QPointer<CProgramDiaryDialog> dialog = OpenLong();
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    for (int i = 0; i < 3; ++i) {
        Wheel(table, -120);
    }
    ASSERT_GT(table->firstVisibleRow(), 0);
    const int first = table->firstVisibleRow();
    const int remainder = table->rowRemainder();
    const QString text = table->cellText(0, 0);
    const QString second = table->cellText(1, 0);
    ASSERT_EQ(table->selectedRow(), -1);

    AppendNewest(*table);
    EXPECT_EQ(table->firstVisibleRow(), first + 1);
    EXPECT_EQ(table->rowRemainder(), remainder);
    EXPECT_EQ(table->cellText(0, 0), text);
    EXPECT_EQ(table->cellText(1, 0), second);

    // Scrolling goes on from there.
    Wheel(table, -120);
    EXPECT_GE(table->firstVisibleRow(), first + 1);
    delete dialog.data();
}

TEST_F(DiaryAppendTest, ASelectedRecordStaysSelectedAndInView)
{
    const QPointer<CProgramDiaryDialog> dialog = OpenLong();
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    Click(table, table->cellRect(2, 1).center());
    ASSERT_EQ(table->selectedRow(), 2);
    const Row selected = table->rowData(2);
    const QString top = table->cellText(0, 0);

    AppendNewest(*table);
    EXPECT_EQ(table->selectedRow(), 3);
    EXPECT_EQ(table->rowData(table->selectedRow()), selected);
    EXPECT_EQ(table->cellText(0, 0), top) << "the view stays on its records";
    EXPECT_EQ(table->cellText(2, 1), QString::fromStdString(selected.at(1)));
    delete dialog.data();
}

TEST_F(DiaryAppendTest, AtTheTopWithNothingSelectedTheNewestShows)
{
    const QPointer<CProgramDiaryDialog> dialog = OpenLong();
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    ASSERT_EQ(table->firstVisibleRow(), 0);
    AppendNewest(*table);
    EXPECT_EQ(table->firstVisibleRow(), 0);
    EXPECT_EQ(table->cellText(0, 0).toStdString(), DiaryRows::TimeText(m_newest));
    delete dialog.data();
}

} // namespace
