// The category grid over the bundle's catalogue and a few test entries:
// placement, the click that reports the entry's id, skipped ids and the
// button style.

#include "widgets/safetools/ToolsWidget.h"
#include "widgets/safetools/CIconButton.h"
#include "widgets/safetools/CKoSafeToolsPool.h"

#include "LogCapture.h"
#include "TestDirectory.h"
#include "WindowMouse.h"

#include <QAccessible>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const char* const kCategories = "100221,100218,100219,100217,100220";

class ToolsWidgetTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(CKoSafeToolsPool::LoadXml(":/xml/safe_tools.xml"), 0);
        // Holds the file until the process ends: the catalogue is process-wide.
        static const TestDirectory dir;
        const QString path = dir.Write("extra_tools.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<items>
    <item id="900001" showText="Title,Subtitle,rest" FileName="" imgPath=""/>
</items>)");
        ASSERT_EQ(CKoSafeToolsPool::LoadXml(path.toStdString()), 0);
    }

    // A grid in a 700 px wide page.
    ToolsWidget* Grid(const QString& ids, bool titleOnly = true)
    {
        m_page.resize(700, 400);
        auto* grid = new ToolsWidget(&m_page);
        grid->setButtonStyle("#393164", "#716d8b", "#f2fbff", "#55c7ff", titleOnly, 3);
        grid->initShow(ids);
        return grid;
    }

    static std::vector<QPoint> Positions(const ToolsWidget& grid)
    {
        std::vector<QPoint> positions;
        for (const ToolsWidget::Button& entry : grid.buttons()) {
            positions.push_back(entry.button->pos());
        }
        return positions;
    }

    // Every test writes its log lines here.
    const LogCapture m_log;
    QWidget m_page;
};

TEST_F(ToolsWidgetTest, FiveCategoriesStandInTwoRows)
{
    const ToolsWidget* grid = Grid(kCategories);
    struct Expected
    {
        const char* id;
        const char* title;
        QPoint position;
    };
    const Expected expected[] = {
        {"100221", "程序启动", QPoint(0, 0)},       {"100218", "执行扫描", QPoint(203, 0)},
        {"100219", "发现勒索程序", QPoint(406, 0)}, {"100217", "心跳时间上报", QPoint(0, 70)},
        {"100220", "下载更新包", QPoint(203, 70)},
    };
    ASSERT_EQ(grid->buttons().size(), std::size(expected));
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        const ToolsWidget::Button& entry = grid->buttons()[k];
        EXPECT_EQ(entry.id, expected[k].id);
        EXPECT_EQ(entry.button->pos(), expected[k].position) << expected[k].id;
        EXPECT_EQ(entry.button->title(), expected[k].title);
        EXPECT_EQ(entry.button->subTitle(), "");
        EXPECT_EQ(entry.button->titleRect(), QRect(59, 10, 135, 40));
        EXPECT_EQ(entry.button->iconRect(), QRect(10, 10, 40, 40)) << "icon of " << expected[k].id;
        EXPECT_EQ(entry.button->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(grid->size(), QSize(700, 130));
    EXPECT_EQ(grid->childrenRect(), QRect(0, 0, 606, 130));
}

TEST_F(ToolsWidgetTest, ClickOnEachButtonReportsItsCategoryId)
{
    ToolsWidget* grid = Grid(kCategories);
    m_page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_page));
    WindowMouse::Park(&m_page);
    QSignalSpy clicks(grid, &ToolsWidget::sigToolButtonClicked);
    for (const ToolsWidget::Button& entry : grid->buttons()) {
        WindowMouse::Click(entry.button, QPoint(100, 30));
        ASSERT_EQ(clicks.count(), 1) << entry.id.toStdString();
        EXPECT_EQ(clicks.takeFirst().at(0).toInt(), entry.id.toInt());
    }
}

TEST_F(ToolsWidgetTest, ClickPointsMatchButtonsWithInclusiveBounds)
{
    ToolsWidget* grid = Grid(kCategories);
    QSignalSpy clicks(grid, &ToolsWidget::sigToolButtonClicked);
    struct Case
    {
        QPoint point;
        int id; // 0 for none
    };
    const Case cases[] = {
        {QPoint(0, 0), 100221},    {QPoint(200, 60), 100221},  {QPoint(201, 30), 0},
        {QPoint(203, 30), 100218}, {QPoint(606, 60), 100219},  {QPoint(100, 65), 0},
        {QPoint(100, 70), 100217}, {QPoint(403, 130), 100220}, {QPoint(500, 100), 0},
    };
    for (const Case& c : cases) {
        grid->onBtnTools(c.point);
        if (c.id == 0) {
            EXPECT_EQ(clicks.count(), 0) << c.point.x() << "," << c.point.y();
        } else {
            ASSERT_EQ(clicks.count(), 1) << c.point.x() << "," << c.point.y();
            EXPECT_EQ(clicks.takeFirst().at(0).toInt(), c.id);
        }
    }
}

TEST_F(ToolsWidgetTest, ClickLogsTheProgramFile)
{
    Grid(kCategories)->onBtnTools(QPoint(10, 10));
    EXPECT_TRUE(m_log.HasLine("TRACE", "This clicked cmd is :"));
}

TEST_F(ToolsWidgetTest, EmptyPartsAndUnknownIdsMakeNoButtonButCountForRows)
{
    struct Case
    {
        const char* ids;
        std::vector<QPoint> positions;
        int height;
    };
    const Case cases[] = {
        {"100221,,100218", {QPoint(0, 0), QPoint(203, 0)}, 60},
        {"100221,999999,100218", {QPoint(0, 0), QPoint(203, 0)}, 60},
        {"100221,100218,999999,100219", {QPoint(0, 0), QPoint(203, 0), QPoint(0, 70)}, 60},
        {"999999,100221", {QPoint(203, 0)}, 60},
        {"999999", {}, 0},
        {kCategories,
         {QPoint(0, 0), QPoint(203, 0), QPoint(406, 0), QPoint(0, 70), QPoint(203, 70)},
         130},
        {"100221,100218,100219,100217,100220,100216,100301",
         {QPoint(0, 0), QPoint(203, 0), QPoint(406, 0), QPoint(0, 70), QPoint(203, 70),
          QPoint(406, 70), QPoint(0, 140)},
         200},
    };
    for (const Case& c : cases) {
        const ToolsWidget* grid = Grid(c.ids);
        EXPECT_EQ(Positions(*grid), c.positions) << c.ids;
        EXPECT_EQ(grid->findChildren<CIconButton*>().size(), c.positions.size()) << c.ids;
        EXPECT_EQ(grid->height(), c.height) << c.ids;
        delete grid;
    }
}

TEST_F(ToolsWidgetTest, UnknownIdWritesAnError)
{
    Grid("100221,999999");
    EXPECT_TRUE(m_log.HasLine("ERROR", "no catalogue entry for id 999999, no button."));
}

TEST_F(ToolsWidgetTest, EmptyListMakesNoButtonsAndWritesAnError)
{
    const ToolsWidget* grid = Grid("");
    EXPECT_TRUE(grid->buttons().empty());
    EXPECT_TRUE(m_log.HasLine("ERROR", "tools widget is NULL!"));
}

TEST_F(ToolsWidgetTest, ShowTextGivesTitleAndSubtitleUnlessTitleOnly)
{
    const CIconButton* both = Grid("900001", false)->buttons().at(0).button;
    EXPECT_EQ(both->title(), "Title");
    EXPECT_EQ(both->subTitle(), "Subtitle");
    EXPECT_EQ(both->iconRect(), QRect(10, 10, 0, 0));

    const CIconButton* titleOnly = Grid("900001", true)->buttons().at(0).button;
    EXPECT_EQ(titleOnly->title(), "Title");
    EXPECT_EQ(titleOnly->subTitle(), "");
}

TEST_F(ToolsWidgetTest, ButtonsTakeTheGridsStyle)
{
    ToolsWidget* grid = Grid(kCategories);
    m_page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_page));
    WindowMouse::Park(&m_page);
    CIconButton* button = grid->buttons().at(1).button;
    WindowMouse::Move(button, QPoint(100, 30));
    const QImage image = m_page.grab().toImage();
    EXPECT_EQ(image.pixelColor(button->pos() + QPoint(190, 50)), QColor("#f2fbff"));
    EXPECT_EQ(image.pixelColor(button->pos()), QColor("#55c7ff"));
}

TEST_F(ToolsWidgetTest, ArrowKeysMoveBetweenCategoriesAndEnterOpensOne)
{
    ToolsWidget* grid = Grid(kCategories);
    m_page.show();
    m_page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_page));
    const auto& buttons = grid->buttons();
    buttons[0].button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return buttons[0].button->hasFocus(); }));

    // Positions: 0 (0, 0), 1 (203, 0), 2 (406, 0), 3 (0, 70), 4 (203, 70).
    struct Step
    {
        Qt::Key key;
        int focused;
    };
    const Step steps[] = {
        {Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Right, 3}, {Qt::Key_Right, 4},
        {Qt::Key_Right, 4}, {Qt::Key_Up, 1},    {Qt::Key_Up, 1},    {Qt::Key_Right, 2},
        {Qt::Key_Down, 4},  {Qt::Key_Left, 3},  {Qt::Key_Down, 3},  {Qt::Key_Up, 0},
        {Qt::Key_Left, 0},
    };
    for (const Step& step : steps) {
        QWidget* const focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, step.key);
        EXPECT_TRUE(buttons[static_cast<size_t>(step.focused)].button->hasFocus())
            << QTest::toString(step.key) << " to " << step.focused;
    }

    QSignalSpy clicks(grid, &ToolsWidget::sigToolButtonClicked);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(buttons[4].button, key);
        ASSERT_EQ(clicks.count(), 1) << QTest::toString(key);
        EXPECT_EQ(clicks.takeFirst().at(0).toInt(), 100220);
    }
    QTest::keyClick(buttons[4].button, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ToolsWidgetTest, FocusMarkShowsOnlyForKeyboardFocus)
{
    ToolsWidget* grid = Grid(kCategories);
    m_page.show();
    m_page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_page));
    WindowMouse::Park(&m_page);
    CIconButton* button = grid->buttons()[1].button;
    const QImage unfocused = button->grab().toImage();
    button->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }));
    EXPECT_EQ(button->grab().toImage(), unfocused);
    button->clearFocus();
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }));
    EXPECT_NE(button->grab().toImage(), unfocused);
    button->clearFocus();
    EXPECT_EQ(button->grab().toImage(), unfocused);
}

TEST_F(ToolsWidgetTest, CategoryButtonsAreButtonsNamedAfterTheirCategory)
{
    const ToolsWidget* grid = Grid("100221,900001", false);
    struct Expected
    {
        const char* name;
        const char* description;
    };
    const Expected expected[] = {{"程序启动", ""}, {"Title", "Subtitle"}};
    ASSERT_EQ(grid->buttons().size(), std::size(expected));
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        QAccessibleInterface* const face =
            QAccessible::queryAccessibleInterface(grid->buttons()[k].button);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), QAccessible::Button);
        EXPECT_EQ(face->text(QAccessible::Name), expected[k].name);
        EXPECT_EQ(face->text(QAccessible::Description), expected[k].description);
        EXPECT_TRUE(face->state().focusable);
    }
}

} // namespace
