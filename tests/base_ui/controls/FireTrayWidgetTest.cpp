// The tray icon and its one-entry menu, with no pool entries loaded (as
// with the library's own resources, which lack entries 10005 and 500).

#include "base_ui/controls/CFireTrayWidget.h"
#include "base_ui/controls/CSkinLabel.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWidgetAction>

#include <gtest/gtest.h>

namespace {

TEST(FireTrayWidgetTest, BuildsAnIconlessTrayWithOneMenuEntry)
{
    const CFireTrayWidget tray;
    EXPECT_TRUE(tray.icon().pixmap(16, 16).isNull()) << "the icon shows nothing";
    EXPECT_FALSE(tray.isVisible());

    QMenu* menu = tray.contextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->parent(), nullptr);
    EXPECT_EQ(menu->size(), QSize(400, 500));
    EXPECT_EQ(menu->styleSheet(), "background-color: #3f465c;border:0px;");
    ASSERT_EQ(menu->actions().size(), 1);

    auto* action = qobject_cast<QWidgetAction*>(menu->actions().first());
    ASSERT_NE(action, nullptr);
    QWidget* item = action->defaultWidget();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->minimumSize(), QSize(100, 30));
    EXPECT_EQ(item->maximumSize(), QSize(100, 30));

    auto* label = item->findChild<CSkinLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "     ");
    EXPECT_EQ(label->geometry(), QRect(25, 10, 55, 15));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
}

TEST(FireTrayWidgetTest, OnlyTheLabelAnnouncesQuit)
{
    CFireTrayWidget tray;
    QSignalSpy quit(&tray, &CFireTrayWidget::sigFireQuit);
    QMenu* menu = tray.contextMenu();
    menu->popup(QPoint(0, 0));
    auto* label = menu->findChild<CSkinLabel*>();
    ASSERT_NE(label, nullptr);
    QWidget* item = label->parentWidget();

    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(90, 25));
    EXPECT_EQ(quit.count(), 0);

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(30, 7));
    EXPECT_EQ(quit.count(), 1);
}

} // namespace
