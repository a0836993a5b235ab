// The view-by-time page without a log module: its place in the monitor page,
// the date edit and the list, the calendar made only when its popup opens,
// the weekend format, and that changing the date leaves the list alone.

#include "monitor/widget/controlbyclass/ControlByDataWidget.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"

#include "PageResources.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QTest>
#include <QTextCharFormat>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ControlByDataWidgetTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        m_page.resize(850, 480);
        m_view = new ControlByDataWidget(&m_page);
        m_view->initShow();
        m_page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_page));
    }

    // Number and type of every shown row, top to bottom.
    QStringList ShownRows() const
    {
        QList<const CProgramDiaryListItemWidget*> rows;
        for (const auto* row : m_view->listWidget()->findChildren<CProgramDiaryListItemWidget*>()) {
            if (row->isVisibleTo(m_view)) {
                rows.append(row);
            }
        }
        std::sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        QStringList shown;
        for (const auto* row : rows) {
            shown << row->findChild<QLabel*>("PROGRAM_DIARY_LIST_LABEL_NUM")->text() + " " +
                         row->findChild<QLabel*>("PROGRAM_DIARY_LIST_LABEL_TYPE")->text();
        }
        return shown;
    }

    QWidget m_page;
    ControlByDataWidget* m_view = nullptr;
};

TEST_F(ControlByDataWidgetTest, PlacesTheDateEditAboveTheList)
{
    EXPECT_EQ(m_view->geometry(), QRect(0, 65, 700, 400));

    const QDateEdit* date = m_view->dateEdit();
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->parentWidget(), m_view);
    EXPECT_EQ(date->objectName(), "DataWidgetControl");
    EXPECT_EQ(date->displayFormat(), "yyyy-MM-dd");
    EXPECT_EQ(date->date(), QDate::currentDate());
    EXPECT_EQ(date->pos(), QPoint(10, 0));
    EXPECT_TRUE(date->calendarPopup());
    EXPECT_EQ(date->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_GE(date->width(), 200) << "the page style sheet sizes the date edit";
    EXPECT_GE(date->height(), 30);

    const CProgramDiaryListWidget* list = m_view->listWidget();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->parentWidget(), m_view);
    EXPECT_EQ(list->geometry(), QRect(0, 40, 700, 295));
}

TEST_F(ControlByDataWidgetTest, InitShowBuildsOnce)
{
    m_view->initShow();
    EXPECT_EQ(m_view->findChildren<QDateEdit*>().size(), 1);
    EXPECT_EQ(m_view->findChildren<CProgramDiaryListWidget*>().size(), 1);
}

TEST_F(ControlByDataWidgetTest, TheCalendarIsMadeWhenItsPopupFirstOpens)
{
    EXPECT_FALSE(m_view->hasCalendar());
    EXPECT_TRUE(m_view->findChildren<QCalendarWidget*>().isEmpty())
        << "the page's first frame pays for no calendar";

    QDateEdit* date = m_view->dateEdit();
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 10, date->height() / 2));
    ASSERT_TRUE(m_view->hasCalendar());
    QCalendarWidget* calendar = m_view->calendarWidget();
    EXPECT_TRUE(WaitFor([&] { return calendar->isVisible(); })) << "the popup opened";
    EXPECT_EQ(calendar->weekdayTextFormat(Qt::Sunday).foreground().color(), QColor("#393164"))
        << "styled before it showed";
    calendar->window()->close();
}

TEST_F(ControlByDataWidgetTest, WeekendsLookLikeWeekdays)
{
    const QCalendarWidget* calendar = m_view->calendarWidget();
    ASSERT_NE(calendar, nullptr);
    const QTextCharFormat monday = calendar->weekdayTextFormat(Qt::Monday);
    for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) {
        const QTextCharFormat weekend = calendar->weekdayTextFormat(day);
        EXPECT_EQ(weekend.foreground().color(), QColor("#393164"));
        EXPECT_EQ(weekend.fontWeight(), monday.fontWeight());
    }
}

TEST_F(ControlByDataWidgetTest, ChangingTheDateLeavesTheListAlone)
{
    const QStringList before = ShownRows();
    ASSERT_EQ(before.size(), 5);
    EXPECT_EQ(before.front(), "1 程序启动");

    QDateEdit* date = m_view->dateEdit();
    const QDate today = date->date();
    date->setFocus();
    QTest::keyClick(date, Qt::Key_Down);
    QTest::keyClick(date, Qt::Key_Down);
    EXPECT_NE(date->date(), today);

    EXPECT_EQ(ShownRows(), before);
    EXPECT_EQ(m_view->listWidget()->records().size(), 25u);
}

TEST_F(ControlByDataWidgetTest, ALoaderWithoutAModuleLeavesTheSampleRecords)
{
    CLogModuleLib loader; // registered, but never loaded
    ControlByDataWidget view(&m_page);
    view.initShow();
    view.useLogModule(&loader);
    view.useLogModule(nullptr);
    EXPECT_EQ(view.listWidget()->records().size(), 25u);
    view.dateEdit()->setDate(QDate::currentDate().addDays(-1));
    EXPECT_EQ(view.listWidget()->records().size(), 25u);
}

} // namespace
