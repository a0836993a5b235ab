// The view by time with the log module beside this program, over a journal
// of the test's own with records today, yesterday and tomorrow (at the first
// and the last second of a day) and none the day before yesterday: the
// chosen day's records of all categories newest first in the rows' layout,
// one heartbeat per run, another day chosen in the date edit, an empty day,
// a record appended while today is shown, the row in view keeping its place,
// the calendar's marks and the rows' "查看".

#include "monitor/widget/controlbyclass/CAboutLabel.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"
#include "monitor/widget/controlbyclass/ControlByDataWidget.h"

#include "base_ui/controls/CDetailLabel.h"
#include "base_ui/controls/CDetailMessageBox.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"

#include "ModalWatch.h"
#include "PageResources.h"

#include "lib/RecordLog.h"
#include "lib/TestJournal.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextCharFormat>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

const QString kHeartbeatTitle = "心跳上报时间";

class ControlByDataWidgetRecordsTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        // Journal ids follow this order: 1 to 7 today, 8 and 9 yesterday, 10
        // tomorrow.
        Append(RecordCategory::kHeartbeat, At(m_today, 0, 0, 0));
        Append(RecordCategory::kHeartbeat, At(m_today, 0, 0, 30));
        Append(RecordCategory::kProgramStart, At(m_today, 8, 0, 0), u"start");
        Append(RecordCategory::kHeartbeat, At(m_today, 8, 0, 10));
        Append(RecordCategory::kHeartbeat, At(m_today, 8, 0, 40));
        Append(RecordCategory::kExecuteScan, At(m_today, 12, 0, 0), u"scan");
        Append(RecordCategory::kRansomwareFound, At(m_today, 23, 59, 59), u"threat");
        Append(RecordCategory::kUpdatePackage, At(Yesterday(), 0, 0, 0), u"version");
        Append(RecordCategory::kProgramStart, At(Yesterday(), 23, 59, 59), u"late start");
        Append(RecordCategory::kExecuteScan, At(m_today.addDays(1), 0, 0, 0), u"tomorrow");

        ASSERT_TRUE(m_loader.LoadSdk());
        m_page.resize(850, 480);
        m_view = new ControlByDataWidget(&m_page);
        m_view->initShow();
        m_list = m_view->listWidget();
        m_page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_page));
    }

    QDate Yesterday() const { return m_today.addDays(-1); }

    static std::int64_t At(const QDate& day, int hour, int minute, int second)
    {
        return QDateTime(day, QTime(hour, minute, second)).toMSecsSinceEpoch();
    }

    static QString TimeText(std::int64_t time)
    {
        return QDateTime::fromMSecsSinceEpoch(time).toString("yyyy-MM-dd hh:mm:ss");
    }

    static QString LastActive(std::int64_t time) { return "最后活跃时间 ：" + TimeText(time); }

    void Append(std::int32_t category, std::int64_t time, const std::u16string& tag = u"t") const
    {
        m_journal.Append(category, time, tag);
    }

    // Every record of the list as "type|time|info", in list order.
    QStringList Records() const
    {
        QStringList records;
        for (const DiaryListRecord& record : m_list->records()) {
            records << record.type + "|" + record.time + "|" + record.info;
        }
        return records;
    }

    // Waits until the list holds `count` records; its records then.
    QStringList WaitForRecords(std::size_t count) const
    {
        WaitFor([&] { return m_list->records().size() == count; });
        return Records();
    }

    // Waits until the module has answered every query made so far: queries
    // take turns, so a witness query made now has its record after them.
    void WaitForEarlierQueries()
    {
        RecordLog witness;
        ASSERT_TRUE(m_loader.queryRange(RecordCategory::kHeartbeat, At(m_today, 0, 0, 0),
                                        At(m_today, 0, 0, 0), &witness));
        ASSERT_EQ(witness.WaitFor(1).size(), 1u);
        QApplication::processEvents(); // the batches posted before it
    }

    void Wheel(int delta)
    {
        const QPointF at(300, 100);
        QWheelEvent event(at, m_list->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_list, &event);
    }

    const QDate m_today = QDate::currentDate();
    const TestJournal m_journal{TestJournal::Start::Empty};
    CLogModuleLib m_loader;
    QWidget m_page;
    ControlByDataWidget* m_view = nullptr;
    CProgramDiaryListWidget* m_list = nullptr;
};

} // namespace

TEST_F(ControlByDataWidgetRecordsTest, TodaysRecordsOfAllCategoriesComeNewestFirst)
{
    EXPECT_EQ(m_view->dateEdit()->date(), m_today);
    EXPECT_EQ(WaitForRecords(5),
              (QStringList{
                  "发现勒索程序|" + TimeText(At(m_today, 23, 59, 59)) + "|threat 0 threat 1",
                  "执行扫描|" + TimeText(At(m_today, 12, 0, 0)) + "|scan 0 scan 1",
                  kHeartbeatTitle + "|" + TimeText(At(m_today, 8, 0, 10)) + "|" +
                      LastActive(At(m_today, 8, 0, 40)),
                  "程序启动|" + TimeText(At(m_today, 8, 0, 0)) + "|start 0",
                  kHeartbeatTitle + "|" + TimeText(At(m_today, 0, 0, 0)) + "|" +
                      LastActive(At(m_today, 0, 0, 30)),
              }))
        << "the first heartbeat of each run, and not tomorrow's first second";

    for (int index = 0; index < 5; ++index) {
        const CProgramDiaryListItemWidget* row = m_list->rowOf(index);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->findChild<QLabel*>("PROGRAM_DIARY_LIST_LABEL_NUM")->text(),
                  QString::number(index + 1));
        const auto* about = row->findChild<CAboutLabel*>();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->isVisibleTo(row), m_list->records()[index].type == kHeartbeatTitle)
            << "heartbeat rows carry the about icon";
    }
}

TEST_F(ControlByDataWidgetRecordsTest, AnotherDayShowsItsRecordsAndAnEmptyDayNone)
{
    ASSERT_EQ(WaitForRecords(5).size(), 5);
    QDateEdit* date = m_view->dateEdit();

    date->setDate(Yesterday());
    // Yesterday's records come from the first and the last query: once both
    // are there, today's queries are long over.
    EXPECT_EQ(WaitForRecords(2),
              (QStringList{"程序启动|" + TimeText(At(Yesterday(), 23, 59, 59)) + "|late start 0",
                           "下载更新包|" + TimeText(At(Yesterday(), 0, 0, 0)) + "|version 0"}));

    date->setDate(m_today.addDays(-2));
    EXPECT_TRUE(Records().isEmpty()) << "the rows of the day before go at once";
    WaitForEarlierQueries();
    EXPECT_TRUE(Records().isEmpty());
    EXPECT_FALSE(m_list->isScrollBarShown());
    EXPECT_EQ(m_list->rowOf(0), nullptr);

    date->setDate(m_today);
    EXPECT_EQ(WaitForRecords(5).front(),
              "发现勒索程序|" + TimeText(At(m_today, 23, 59, 59)) + "|threat 0 threat 1");
}

TEST_F(ControlByDataWidgetRecordsTest, DayChangesInQuickSuccessionShowOnlyTheLastDay)
{
    QDateEdit* date = m_view->dateEdit();
    date->setDate(Yesterday());
    date->setDate(m_today);
    date->setDate(Yesterday());
    WaitForEarlierQueries();
    EXPECT_EQ(Records(),
              (QStringList{"程序启动|" + TimeText(At(Yesterday(), 23, 59, 59)) + "|late start 0",
                           "下载更新包|" + TimeText(At(Yesterday(), 0, 0, 0)) + "|version 0"}));
}

TEST_F(ControlByDataWidgetRecordsTest, ARecordAppendedTodayTakesItsSortedPlace)
{
    ASSERT_EQ(WaitForRecords(5).size(), 5);
    Append(RecordCategory::kUpdatePackage, At(m_today, 13, 0, 0), u"live");
    const QStringList records = WaitForRecords(6);
    ASSERT_EQ(records.size(), 6);
    EXPECT_EQ(records[1], "下载更新包|" + TimeText(At(m_today, 13, 0, 0)) + "|live 0");
    EXPECT_EQ(m_list->scrollOffset(), 0) << "at the top the list stays at the top";

    Append(RecordCategory::kHeartbeat, At(m_today, 9, 0, 0));
    EXPECT_TRUE(WaitFor([&] {
        return Records()[3] == kHeartbeatTitle + "|" + TimeText(At(m_today, 8, 0, 10)) + "|" +
                                   LastActive(At(m_today, 9, 0, 0));
    })) << "a later heartbeat of a run updates the run's row";
    EXPECT_EQ(Records().size(), 6);
}

TEST_F(ControlByDataWidgetRecordsTest, ScrolledAwayTheRowInViewKeepsItsPlace)
{
    for (int second = 0; second < 10; ++second) {
        Append(RecordCategory::kExecuteScan, At(m_today, 6, 0, second));
    }
    ASSERT_EQ(WaitForRecords(15).size(), 15);
    for (int step = 0; step < 30; ++step) {
        Wheel(-120);
    }
    const int first = m_list->firstRecord();
    ASSERT_TRUE(m_list->selectRecord(first + 1)) << "a wholly shown row: no scrolling";
    const int offset = m_list->scrollOffset();
    ASSERT_GT(offset, 0);
    const DiaryListRecord inView = m_list->records()[static_cast<std::size_t>(first)];
    const int rowY = m_list->rowOf(first)->y();

    Append(RecordCategory::kRansomwareFound, At(m_today, 23, 0, 0), u"newer");
    ASSERT_EQ(WaitForRecords(16).size(), 16);
    EXPECT_EQ(m_list->scrollOffset(), offset + CProgramDiaryListWidget::kRowHeight);
    ASSERT_EQ(m_list->firstRecord(), first + 1);
    const DiaryListRecord& stillInView = m_list->records()[static_cast<std::size_t>(first + 1)];
    EXPECT_EQ(stillInView.id, inView.id);
    EXPECT_EQ(stillInView.category, inView.category);
    ASSERT_NE(m_list->rowOf(first + 1), nullptr);
    EXPECT_EQ(m_list->rowOf(first + 1)->y(), rowY) << "the row stays where the user looks";
    EXPECT_EQ(m_list->selectedRecord(), first + 2) << "the selection stays on its record";
}

TEST_F(ControlByDataWidgetRecordsTest, TheCalendarMarksTheDaysWithRecords)
{
    QDateEdit* date = m_view->dateEdit();
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 10, date->height() / 2));
    ASSERT_TRUE(m_view->hasCalendar());
    QCalendarWidget* calendar = m_view->calendarWidget();
    const struct
    {
        QDate day;
        bool marked;
    } days[] = {{m_today, true},
                {Yesterday(), true},
                {m_today.addDays(-2), false},
                {m_today.addDays(1), true},
                {m_today.addDays(2), false}};
    for (const auto& day : days) {
        SCOPED_TRACE(day.day.toString(Qt::ISODate).toStdString());
        calendar->setCurrentPage(day.day.year(), day.day.month());
        const QTextCharFormat format = calendar->dateTextFormat(day.day);
        EXPECT_EQ(format.fontWeight() == QFont::Bold, day.marked);
        EXPECT_EQ(format.foreground().color() == QColor("#0091f7"), day.marked);
    }
    calendar->window()->close();
}

TEST_F(ControlByDataWidgetRecordsTest, ViewOnARowAsksForItsRecord)
{
    ASSERT_EQ(WaitForRecords(5).size(), 5);
    QSignalSpy spy(m_list, &CProgramDiaryListWidget::recordViewRequested);
    const struct
    {
        int row;
        int category;
        qint64 id; // in append order
    } cases[] = {{0, RecordCategory::kRansomwareFound, 7},
                 {3, RecordCategory::kProgramStart, 3},
                 {4, RecordCategory::kHeartbeat, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        CProgramDiaryListItemWidget* row = m_list->rowOf(c.row);
        ASSERT_NE(row, nullptr);
        const ModalWatch watch([](QDialog& box) { box.reject(); }); // the record's detail box
        QTest::mouseClick(row->findChild<QPushButton*>("PROGRAM_DIARY_SEE_BTN"), Qt::LeftButton);
        EXPECT_TRUE(watch.seen());
        ASSERT_EQ(spy.size(), 1);
        const QList<QVariant> arguments = spy.takeFirst();
        EXPECT_EQ(arguments.at(0).toInt(), c.category);
        EXPECT_EQ(arguments.at(1).toLongLong(), c.id);
    }
}

TEST_F(ControlByDataWidgetRecordsTest, ViewOpensTheDetailBoxOfItsRecord)
{
    ASSERT_EQ(WaitForRecords(5).size(), 5);
    std::vector<QString> values;
    const ModalWatch watch([&values](QDialog& modal) {
        auto* box = qobject_cast<CDetailMessageBox*>(&modal);
        ASSERT_NE(box, nullptr) << "a notice instead of the detail box";
        for (int index = 0; index < box->fieldCount(); ++index) {
            values.push_back(box->field(index)->value());
        }
        QTest::mouseClick(box->findChild<QWidget*>("DetailMessageBoxClose"), Qt::LeftButton);
    });
    CProgramDiaryListItemWidget* row = m_list->rowOf(0); // the ransomware record
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row->findChild<QPushButton*>("PROGRAM_DIARY_SEE_BTN"), Qt::LeftButton);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[1], "threat 0");
    EXPECT_EQ(values[2], "threat 1");
}
