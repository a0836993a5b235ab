// The detail box with the bundle's texts and images: its fields and their
// placement, the elided value with its tool tip, the buttons, dragging and
// painting.

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CDetailLabel.h"
#include "base_ui/controls/CDetailMessageBox.h"
#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoStringPool.h"

#include "ModalWatch.h"
#include "WindowMouse.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Field
{
    const char* name;
    const char* value;
};

const Field kFields[CDetailMessageBox::kFieldCount] = {
    {"最后活跃时间：", "2020-08-08 08:08:08"},
    {"IP地址：", "192.0.2.18"},
    {"MAC地址：", "00-1A-2B-3C-4D-5E"},
    {"CPU：", "CENTOS"},
    {"内存：", "64G"},
    {"硬盘：", "128T"},
    {"硬盘序列号：", "1212121"},
    {"CPU利用率：", "20%"},
    {"内存利用率：", "50%"},
    {"磁盘利用率：", "60%"},
    {"操作系统：", "X86_64"},
    {"系统位数：", "64"},
    {"主板：", "sf-1.0"},
    {"KING-2035T声卡：", "dubi"},
    {"显卡：", "zhioa"},
    {"光驱：", "DVD"},
};

int Bottom(const QWidget* widget)
{
    return widget->y() + widget->height();
}

class DetailMessageBoxTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(CKoStringPool::LoadXml(":/xml/AMtext.xml"), 0);
        ASSERT_EQ(CKoPixmapPool::LoadXml(":/xml/AMImage.xml"), 0);
        ASSERT_EQ(CKoPixmapPool::LoadXml(":/base_ui_xml/base_ui_pixmap.xml"), 0);
    }

    static CCommonButton* Button(const QWidget& box, const char* name)
    {
        return box.findChild<CCommonButton*>(name);
    }

    // Runs `action` on the modal box once exec has started and returns what
    // exec returned; a box still open at the deadline ends with kUnanswered.
    static int ExecWith(CDetailMessageBox& box, const std::function<void()>& action)
    {
        return ExecAnswered<CDetailMessageBox>(box, [&action](CDetailMessageBox&) { action(); });
    }

    static void Show(QWidget& widget)
    {
        widget.move(100, 100);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }
};

TEST(DetailLabelTest, ValueWiderThanTheFieldIsElidedInTheMiddleWithTheWholeValueAsToolTip)
{
    CDetailLabel label;
    label.setContent("Name:", "short", 100);
    label.valueLabel()->ensurePolished();
    const QFontMetrics metrics(label.valueLabel()->font());
    const QString shortValue = "short";
    const QString longValue = "a value far too long for a field one hundred pixels wide";

    struct Case
    {
        QString value;
        int width;
        bool elided;
    };
    const Case cases[] = {
        {shortValue, 100, false},
        {shortValue, metrics.horizontalAdvance(shortValue) + 1, false},
        {longValue, 100, true},
        {longValue, 30, true},
    };
    for (const Case& c : cases) {
        label.setContent("Name:", c.value, c.width);
        EXPECT_EQ(label.name(), "Name:");
        EXPECT_EQ(label.value(), c.value);
        EXPECT_EQ(label.valueLabel()->toolTip(), c.value);
        if (c.elided) {
            const QString shown = label.shownValue();
            EXPECT_NE(shown, c.value);
            EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(c.value.startsWith(shown.left(shown.indexOf(QChar(0x2026)))));
            EXPECT_TRUE(c.value.endsWith(shown.mid(shown.indexOf(QChar(0x2026)) + 1)));
            EXPECT_LE(metrics.horizontalAdvance(shown), c.width);
        } else {
            EXPECT_EQ(label.shownValue(), c.value);
        }
    }
}

TEST(DetailLabelTest, OutsideTextsShowAsPlainTextOnOneLine)
{
    CDetailLabel label;
    label.setContent("Name:", "one line", 300);
    const int lineHeight = label.height();
    const QString value = "<b>bold</b>\r\nsecond\nthird";
    label.setContent("<i>Name:</i>", value, 300);
    EXPECT_EQ(label.valueLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(label.nameLabel()->textFormat(), Qt::PlainText);
    EXPECT_EQ(label.shownValue(), "<b>bold</b> second third");
    EXPECT_EQ(label.height(), lineHeight) << "one line";
    EXPECT_EQ(label.value(), value);
    EXPECT_TRUE(label.valueLabel()->toolTip().contains("&lt;b&gt;bold&lt;/b&gt;"))
        << label.valueLabel()->toolTip().toStdString();
}

TEST(DetailLabelTest, ValueFollowsTheNameAndTheFieldFitsBoth)
{
    CDetailLabel label;
    label.setContent("A longer name:", "value", 200);
    const QLabel* name = label.nameLabel();
    const QLabel* value = label.valueLabel();
    EXPECT_EQ(name->pos(), QPoint(0, 0));
    EXPECT_EQ(name->size(), name->sizeHint());
    EXPECT_EQ(value->pos(), QPoint(name->width(), 0));
    EXPECT_EQ(value->size(), value->sizeHint());
    EXPECT_EQ(label.size(),
              QSize(name->width() + value->width(), std::max(name->height(), value->height())));
    EXPECT_EQ(value->font().pixelSize(), 12);
    EXPECT_EQ(value->palette().color(QPalette::WindowText), QColor("#716d8b"));
    EXPECT_EQ(name->palette().color(QPalette::WindowText), QColor("#393164"));
}

TEST_F(DetailMessageBoxTest, FramelessBoxWithTitleBarAndButtons)
{
    const CDetailMessageBox box;
    EXPECT_EQ(box.size(), QSize(420, 347));
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(box.windowTitle(), "查看详情");
    EXPECT_FALSE(box.windowIcon().isNull());

    const auto* title = box.findChild<QLabel*>("DetailMessageBoxTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "查看详情");
    EXPECT_EQ(title->pos(), QPoint(10, 12));
    EXPECT_EQ(title->size(), title->sizeHint());

    struct Case
    {
        const char* name;
        QRect geometry;
        const char* text;
    };
    const Case cases[] = {
        {"DetailMessageBoxTitleClose", QRect(385, 10, 24, 24), ""},
        {"DetailMessageBoxExport", QRect(330, 307, 70, 30), "导出"},
        {"DetailMessageBoxClose", QRect(250, 307, 70, 30), "关闭"},
    };
    for (const Case& c : cases) {
        const CCommonButton* button = Button(box, c.name);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->geometry(), c.geometry) << c.name;
        EXPECT_EQ(button->text(), c.text) << c.name;
    }
    EXPECT_EQ(Button(box, "DetailMessageBoxTitleClose")->cursor().shape(), Qt::PointingHandCursor);
    for (const char* name : {"DetailMessageBoxExport", "DetailMessageBoxClose"}) {
        EXPECT_EQ(Button(box, name)->textColor(), QColor("#393164")) << name;
        EXPECT_EQ(Button(box, name)->state(), CCommonButton::StateMarked) << name;
    }
}

TEST_F(DetailMessageBoxTest, SixteenFieldsInTwoColumns)
{
    const CDetailMessageBox box;
    EXPECT_EQ(box.field(-1), nullptr);
    EXPECT_EQ(box.field(CDetailMessageBox::kFieldCount), nullptr);
    for (int index = 0; index < CDetailMessageBox::kFieldCount; ++index) {
        const CDetailLabel* field = box.field(index);
        ASSERT_NE(field, nullptr) << index;
        EXPECT_EQ(field->name(), kFields[index].name) << index;
        EXPECT_EQ(field->shownValue(), kFields[index].value) << index;
        EXPECT_EQ(field->value(), kFields[index].value) << index;
        EXPECT_EQ(field->size(), field->childrenRect().size()) << index;
        EXPECT_TRUE(box.rect().contains(field->geometry())) << index;
    }

    // Left column: the address group, 40 px gap, the hardware group.
    EXPECT_EQ(box.field(0)->pos(), QPoint(40, 60));
    for (int index = 1; index <= 9; ++index) {
        const int gap = index == 3 ? 40 : 3;
        EXPECT_EQ(box.field(index)->pos(), QPoint(40, Bottom(box.field(index - 1)) + gap)) << index;
    }
    // Right column beside fields 3 to 8.
    for (int index = 10; index <= 15; ++index) {
        EXPECT_EQ(box.field(index)->pos(), QPoint(220, box.field(index - 7)->y())) << index;
    }
    // The separator runs between the two groups.
    EXPECT_LT(Bottom(box.field(2)), 136);
    EXPECT_GT(box.field(3)->y(), 136);
}

TEST_F(DetailMessageBoxTest, BothCloseButtonsCloseTheBox)
{
    for (const char* name : {"DetailMessageBoxTitleClose", "DetailMessageBoxClose"}) {
        CDetailMessageBox box;
        const int result = ExecWith(box, [&box, name] {
            CCommonButton* button = Button(box, name);
            ASSERT_NE(button, nullptr);
            WindowMouse::Click(button, QPoint(5, 5));
        });
        EXPECT_EQ(result, QDialog::Rejected) << name;
        EXPECT_FALSE(box.isVisible()) << name;
    }
}

TEST_F(DetailMessageBoxTest, ExportButtonLeavesTheBoxOpenAndAnnouncesItself)
{
    CDetailMessageBox box;
    const QSignalSpy exports(&box, &CDetailMessageBox::sigExport);
    Show(box);
    WindowMouse::Click(Button(box, "DetailMessageBoxExport"), QPoint(5, 5));
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(exports.count(), 1);
}

TEST_F(DetailMessageBoxTest, SetValueFillsASlotWithinItsWidth)
{
    CDetailMessageBox box;
    const QString longValue = QString("Mainboard ").repeated(8);
    box.setValue(1, "198.51.100.7");
    box.setValue(12, longValue);
    box.setValue(CDetailMessageBox::kFieldCount, "nowhere");
    box.setValue(-1, "nowhere");

    EXPECT_EQ(box.field(1)->shownValue(), "198.51.100.7");
    EXPECT_EQ(box.field(1)->name(), "IP地址：");
    EXPECT_EQ(box.field(12)->name(), "主板：");
    EXPECT_EQ(box.field(12)->value(), longValue) << "the whole value in the tool tip";
    EXPECT_NE(box.field(12)->shownValue(), longValue);
    EXPECT_TRUE(box.field(12)->shownValue().contains(QChar(0x2026))) << "elided";
    EXPECT_LE(box.field(12)->valueLabel()->width(), 50 + 2);
    EXPECT_EQ(box.field(12)->pos(), QPoint(220, box.field(5)->y())) << "its place stays";
    EXPECT_EQ(box.field(0)->shownValue(), "2020-08-08 08:08:08") << "others keep theirs";
}

TEST_F(DetailMessageBoxTest, AListedBoxShowsItsFieldsInOneColumnWithoutSeparator)
{
    const QString notes = QString("Notes of the update, ").repeated(10);
    CDetailMessageBox box(
        {{"时间：", "2026-12-10 08:00:00"}, {"版本号：", "5.2.1"}, {"更新说明：", notes}});
    ASSERT_EQ(box.fieldCount(), 3);
    EXPECT_EQ(box.field(3), nullptr);
    EXPECT_EQ(box.size(), QSize(420, 347));
    EXPECT_EQ(box.windowTitle(), "查看详情");
    EXPECT_EQ(box.field(0)->name(), "时间：");
    EXPECT_EQ(box.field(1)->shownValue(), "5.2.1");
    EXPECT_EQ(box.field(2)->value(), notes);
    EXPECT_TRUE(box.field(2)->shownValue().contains(QChar(0x2026)));
    EXPECT_EQ(box.field(0)->pos(), QPoint(40, 60));
    for (int index = 1; index < box.fieldCount(); ++index) {
        EXPECT_EQ(box.field(index)->x(), 40);
        EXPECT_EQ(box.field(index)->y(), Bottom(box.field(index - 1)) + 8);
    }
    for (int index = 0; index < box.fieldCount(); ++index) {
        EXPECT_LE(box.field(index)->x() + box.field(index)->width(), 420 - 40 + 2) << index;
    }
    for (const char* name :
         {"DetailMessageBoxTitleClose", "DetailMessageBoxExport", "DetailMessageBoxClose"}) {
        EXPECT_NE(Button(box, name), nullptr) << name;
    }
    const QImage image = box.grab().toImage();
    EXPECT_EQ(image.pixelColor(380, 136), QColor("#ffffff")) << "no separator";
    EXPECT_EQ(image.pixelColor(200, 5), QColor("#00a6f7"));
}

TEST_F(DetailMessageBoxTest, DraggingTitleBarOrBodyMovesTheBox)
{
    CDetailMessageBox box;
    Show(box);
    // Each drag starts on the widget under the pointer; labels pass the
    // events on to the box. (Events go straight to that widget: the
    // headless platform answers a window move with a second move event.)
    struct Case
    {
        QWidget* widget;
        QPoint point;
    };
    const Case cases[] = {
        {&box, QPoint(200, 20)},  // title band
        {&box, QPoint(300, 250)}, // body
        {box.findChild<QLabel*>("DetailMessageBoxTitle"), QPoint(5, 5)},
        {box.findChild<QWidget*>("DetailMessageBoxField3")->findChild<QLabel*>("DetailLabelValue"),
         QPoint(2, 2)},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.widget, nullptr);
        const QPoint before = box.pos();
        QTest::mousePress(c.widget, Qt::LeftButton, {}, c.point);
        QTest::mouseMove(c.widget, c.point + QPoint(30, 20));
        EXPECT_EQ(box.pos(), before + QPoint(30, 20)) << c.widget->objectName().toStdString();
        QTest::mouseMove(c.widget, c.point + QPoint(30, 20));
        EXPECT_EQ(box.pos(), before + QPoint(60, 40)) << c.widget->objectName().toStdString();
        QTest::mouseRelease(c.widget, Qt::LeftButton, {}, c.point);
    }
}

TEST_F(DetailMessageBoxTest, PaintsBandBodySeparatorAndFrame)
{
    CDetailMessageBox box;
    const QImage image = box.grab().toImage();
    struct Case
    {
        QPoint point;
        const char* colour;
    };
    const Case cases[] = {
        {QPoint(200, 5), "#00a6f7"},   // title band
        {QPoint(200, 40), "#00a6f7"},  // last row of the band
        {QPoint(200, 41), "#ffffff"},  // first row of the body
        {QPoint(400, 200), "#ffffff"}, // body
        {QPoint(40, 136), "#f1f1f1"},  // separator
        {QPoint(380, 136), "#f1f1f1"}, {QPoint(30, 136), "#ffffff"},
        {QPoint(0, 200), "#00a6f7"}, // frame
        {QPoint(419, 200), "#00a6f7"}, {QPoint(200, 346), "#00a6f7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(image.pixelColor(c.point), QColor(c.colour)) << c.point.x() << "," << c.point.y();
    }
}

TEST_F(DetailMessageBoxTest, EscClosesTheBox)
{
    CDetailMessageBox box;
    const int result = ExecWith(box, [&box] { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(box.isVisible());
}

} // namespace
