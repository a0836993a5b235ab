// The date range dialog with the bundle's texts, images and page style sheet:
// its layout, one-day and period results, the rejected period, cancelling,
// the mode switch, the weekend format, dragging, painting and that a closed
// dialog is deleted.

#include "monitor/widget/dialog/CSelectDateDialog.h"

#include "base_ui/controls/CCommonButton.h"

#include "PageResources.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextCharFormat>

#include <gtest/gtest.h>

namespace {

const QString kOneDayText = "查看某一天的日志";
const QString kPeriodText = "查看某时段时期的日志";

class SelectDateDialogTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        m_host.setGeometry(100, 100, 600, 500);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    // Opens a dialog as the diary does: a window-modal child of its window,
    // shown without a nested event loop.
    QPointer<CSelectDateDialog> Open()
    {
        auto* dialog = new CSelectDateDialog(&m_host);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        return dialog;
    }

    static QDateEdit* DateEdit(const CSelectDateDialog& dialog, int index)
    {
        const auto edits = dialog.findChildren<QDateEdit*>("PROGRAM_DIARY_DATEEDIT");
        return index < edits.size() ? edits.at(index) : nullptr;
    }

    static QRadioButton* ModeButton(const CSelectDateDialog& dialog, const QString& text)
    {
        for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
            if (button->text() == text) {
                return button;
            }
        }
        return nullptr;
    }

    static void Click(QWidget* widget)
    {
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }

    static void ClickButton(const CSelectDateDialog& dialog, const char* name)
    {
        Click(dialog.findChild<CCommonButton*>(name));
    }

    // Whether the dialog was closed and then deleted.
    static bool Deleted(const QPointer<CSelectDateDialog>& dialog)
    {
        return WaitFor([&dialog] { return dialog.isNull(); });
    }

    QWidget m_host;
};

TEST_F(SelectDateDialogTest, LaysOutTheDialog)
{
    const QPointer<CSelectDateDialog> dialog = Open();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->size(), QSize(320, 294));
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog->hasMouseTracking());
    EXPECT_TRUE(dialog->testAttribute(Qt::WA_DeleteOnClose));

    struct ButtonCase
    {
        const char* name;
        QRect geometry;
        QString text;
    };
    const ButtonCase buttons[] = {
        {"SelectDateDialogOk", QRect(231, 255, 70, 30), "确认"},
        {"SelectDateDialogCancel", QRect(151, 255, 70, 30), "取消"},
        {"SelectDateDialogClose", QRect(288, 8, 24, 24), ""},
    };
    for (const ButtonCase& c : buttons) {
        const auto* button = dialog->findChild<CCommonButton*>(c.name);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->geometry(), c.geometry) << c.name;
        EXPECT_EQ(button->text(), c.text) << c.name;
    }
    EXPECT_EQ(dialog->findChild<CCommonButton*>("SelectDateDialogOk")->textColor(),
              QColor("#4b4773"));

    const auto* title = dialog->findChild<QLabel*>("PROGRAM_DIARY_SELECT_DIALOG_TITLE");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "选择具体日期");
    EXPECT_EQ(title->pos(), QPoint(9, 14));

    const QRadioButton* oneDay = ModeButton(*dialog, kOneDayText);
    const QRadioButton* period = ModeButton(*dialog, kPeriodText);
    ASSERT_TRUE(oneDay && period);
    EXPECT_EQ(oneDay->pos(), QPoint(42, 113));
    EXPECT_EQ(period->pos(), QPoint(42, 137));
    EXPECT_TRUE(oneDay->isChecked());
    EXPECT_FALSE(period->isChecked());

    const QDateEdit* begin = DateEdit(*dialog, 0);
    const QDateEdit* end = DateEdit(*dialog, 1);
    ASSERT_TRUE(begin && end);
    for (const QDateEdit* edit : {begin, end}) {
        EXPECT_EQ(edit->date(), QDate::currentDate());
        EXPECT_EQ(edit->displayFormat(), "yyyy/MM/dd");
        EXPECT_TRUE(edit->calendarPopup());
    }
    EXPECT_EQ(begin->pos(), QPoint(42, 161));
    EXPECT_EQ(end->pos(), QPoint(42, 198));
    EXPECT_TRUE(begin->isVisible());
    EXPECT_FALSE(end->isVisible());
    EXPECT_GE(begin->width(), 200) << "the page style sheet sizes the date edit";
    EXPECT_GE(begin->height(), 30);
    dialog->close();
}

TEST_F(SelectDateDialogTest, PromptLabelIsPlacedUnderTheTitle)
{
    const QPointer<CSelectDateDialog> dialog = Open();
    bool found = false;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->text() == "选择查看某一天或某段日期的日志：") {
            found = true;
            EXPECT_EQ(label->pos(), QPoint(42, 80));
        }
    }
    EXPECT_TRUE(found);
    dialog->close();
}

TEST_F(SelectDateDialogTest, OkEmitsTheChosenRangeAndClosesOrStaysOpen)
{
    struct Case
    {
        const char* what;
        bool period;
        QDate begin;
        QDate end;
        bool accepted;
        QDate resultBegin;
        QDate resultEnd;
    };
    const Case cases[] = {
        {"one day", false, QDate(2020, 10, 27), QDate(2020, 10, 1), true, QDate(2020, 10, 27),
         QDate(2020, 10, 27)},
        {"period", true, QDate(2020, 10, 1), QDate(2020, 10, 27), true, QDate(2020, 10, 1),
         QDate(2020, 10, 28)},
        {"begin one day after the end", true, QDate(2020, 10, 28), QDate(2020, 10, 27), true,
         QDate(2020, 10, 28), QDate(2020, 10, 28)},
        {"begin two days after the end",
         true,
         QDate(2020, 10, 29),
         QDate(2020, 10, 27),
         false,
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QPointer<CSelectDateDialog> dialog = Open();
        QSignalSpy ranges(dialog.data(), &CSelectDateDialog::sig_returndate);
        QSignalSpy empty(dialog.data(), &CSelectDateDialog::sig_emptyDate);
        if (c.period) {
            Click(ModeButton(*dialog, kPeriodText));
        }
        DateEdit(*dialog, 0)->setDate(c.begin);
        DateEdit(*dialog, 1)->setDate(c.end);

        ClickButton(*dialog, "SelectDateDialogOk");

        EXPECT_EQ(empty.count(), 0);
        if (c.accepted) {
            ASSERT_EQ(ranges.count(), 1);
            const QList<QVariant> args = ranges.takeFirst();
            EXPECT_EQ(args.at(0).toDateTime(), QDateTime(c.resultBegin, QTime(0, 0)));
            EXPECT_EQ(args.at(1).toDateTime(), QDateTime(c.resultEnd, QTime(0, 0)));
            EXPECT_TRUE(Deleted(dialog));
        } else {
            EXPECT_EQ(ranges.count(), 0);
            EXPECT_TRUE(dialog->isVisible());
            dialog->close();
        }
    }
}

TEST_F(SelectDateDialogTest, CancelAndCornerButtonEmitNoDate)
{
    for (const char* name : {"SelectDateDialogCancel", "SelectDateDialogClose"}) {
        SCOPED_TRACE(name);
        const QPointer<CSelectDateDialog> dialog = Open();
        QSignalSpy ranges(dialog.data(), &CSelectDateDialog::sig_returndate);
        QSignalSpy empty(dialog.data(), &CSelectDateDialog::sig_emptyDate);

        ClickButton(*dialog, name);

        EXPECT_EQ(empty.count(), 1);
        EXPECT_EQ(ranges.count(), 0);
        EXPECT_TRUE(Deleted(dialog));
    }
}

TEST_F(SelectDateDialogTest, ModeSwitchShowsAndHidesTheEndDate)
{
    const QPointer<CSelectDateDialog> dialog = Open();
    QDateEdit* end = DateEdit(*dialog, 1);

    Click(ModeButton(*dialog, kPeriodText));
    EXPECT_TRUE(end->isVisible());
    end->setDate(QDate(2021, 3, 4));

    Click(ModeButton(*dialog, kOneDayText));
    EXPECT_FALSE(end->isVisible());
    EXPECT_EQ(end->date(), QDate(2021, 3, 4));

    Click(ModeButton(*dialog, kPeriodText));
    EXPECT_TRUE(end->isVisible());
    EXPECT_EQ(end->date(), QDate(2021, 3, 4));
    dialog->close();
}

TEST_F(SelectDateDialogTest, WeekendsLookLikeWeekdays)
{
    const QPointer<CSelectDateDialog> dialog = Open();
    for (int index : {0, 1}) {
        const QCalendarWidget* calendar = DateEdit(*dialog, index)->calendarWidget();
        ASSERT_NE(calendar, nullptr);
        for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) {
            EXPECT_EQ(calendar->weekdayTextFormat(day).foreground().color(), QColor("#393164"));
            EXPECT_EQ(calendar->weekdayTextFormat(day).foreground().style(), Qt::SolidPattern);
        }
    }
    dialog->close();
}

TEST_F(SelectDateDialogTest, DraggingWithTheLeftButtonMovesTheDialog)
{
    const QPointer<CSelectDateDialog> dialog = Open();
    const QPoint start = dialog->pos();

    QTest::mousePress(dialog.data(), Qt::LeftButton, {}, QPoint(100, 20));
    QTest::mouseMove(dialog.data(), QPoint(130, 40));
    EXPECT_EQ(dialog->pos(), start + QPoint(30, 20));
    QTest::mouseRelease(dialog.data(), Qt::LeftButton, {}, QPoint(100, 20));

    QTest::mouseMove(dialog.data(), QPoint(10, 10));
    EXPECT_EQ(dialog->pos(), start + QPoint(30, 20)) << "no move without the button";
    dialog->close();
}

TEST_F(SelectDateDialogTest, PaintsTitleBandBodyAndFrame)
{
    const QPointer<CSelectDateDialog> dialog = Open();
    const QImage image = dialog->grab().toImage();
    const QColor blue("#00a6f7");
    EXPECT_EQ(image.pixelColor(200, 5), blue) << "title band";
    EXPECT_EQ(image.pixelColor(200, 40), blue) << "title band";
    EXPECT_EQ(image.pixelColor(200, 235), QColor("#ffffff")) << "body";
    EXPECT_EQ(image.pixelColor(0, 200), blue) << "frame";
    EXPECT_EQ(image.pixelColor(319, 200), blue) << "frame";
    EXPECT_EQ(image.pixelColor(200, 293), blue) << "frame";
    dialog->close();
}

TEST_F(SelectDateDialogTest, EscCancelsAsTheCancelButtonDoes)
{
    const QPointer<CSelectDateDialog> dialog = Open();
    QSignalSpy ranges(dialog.data(), &CSelectDateDialog::sig_returndate);
    QSignalSpy empty(dialog.data(), &CSelectDateDialog::sig_emptyDate);

    QTest::keyClick(dialog.data(), Qt::Key_Escape);

    EXPECT_EQ(empty.count(), 1);
    EXPECT_EQ(ranges.count(), 0);
    EXPECT_TRUE(Deleted(dialog));
}

} // namespace
