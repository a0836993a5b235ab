// The view by time's list by keyboard and for screen readers: selection
// moves and scrolling into view, the row's view button, copying, the focus
// frame, and the list's accessible items.

#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"

#include "ModalWatch.h"
#include "PageResources.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kRecords = 25;
constexpr int kListHeight = 295;

class DiaryListKeyboardTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        m_host.resize(700, kListHeight);
        m_list = new CProgramDiaryListWidget(&m_host);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    void Keys(const std::vector<Qt::Key>& keys)
    {
        for (const Qt::Key key : keys) {
            QTest::keyClick(m_list, key);
        }
    }

    // The selected record's row lies wholly inside the list and is filled as
    // selected; no other shown row is.
    bool SelectedRowWhollyShown() const
    {
        const CProgramDiaryListItemWidget* row = m_list->rowOf(m_list->selectedRecord());
        if (row == nullptr || row->y() < 0 || row->geometry().bottom() >= kListHeight) {
            return false;
        }
        for (const auto* other : m_list->findChildren<CProgramDiaryListItemWidget*>()) {
            if (!other->isHidden() && other->isSelected() != (other == row)) {
                return false;
            }
        }
        return true;
    }

    QWidget m_host;
    CProgramDiaryListWidget* m_list = nullptr;
};

TEST_F(DiaryListKeyboardTest, KeysMoveTheSelectionAndScrollItIntoView)
{
    struct Step
    {
        Qt::Key key;
        int selected;
        int scrollOffset;
    };
    // 25 rows of 60 px in 295 px: offsets run 0 to 1205.
    const std::vector<Step> steps = {
        {Qt::Key_Down, 0, 0},       {Qt::Key_Down, 1, 0},    {Qt::Key_Down, 2, 0},
        {Qt::Key_Down, 3, 0},       {Qt::Key_Down, 4, 5},    {Qt::Key_Up, 3, 5},
        {Qt::Key_PageDown, 8, 245}, {Qt::Key_End, 24, 1205}, {Qt::Key_PageDown, 24, 1205},
        {Qt::Key_PageUp, 19, 1140}, {Qt::Key_Up, 18, 1080},  {Qt::Key_Home, 0, 0},
        {Qt::Key_Up, 0, 0},
    };
    for (const Step& step : steps) {
        QTest::keyClick(m_list, step.key);
        EXPECT_EQ(m_list->selectedRecord(), step.selected) << QTest::toString(step.key);
        EXPECT_EQ(m_list->scrollOffset(), step.scrollOffset) << step.selected;
        EXPECT_TRUE(SelectedRowWhollyShown()) << step.selected;
    }
}

TEST_F(DiaryListKeyboardTest, HandleFollowsTheKeys)
{
    Keys({Qt::Key_End});
    EXPECT_EQ(m_list->handleRect().top(), 244);
    EXPECT_DOUBLE_EQ(m_list->scrollPercent(), 100.0);
    Keys({Qt::Key_Home});
    EXPECT_EQ(m_list->handleRect().top(), 0);
    // The wheel goes on from where the keys left the handle.
    Keys({Qt::Key_PageDown, Qt::Key_PageDown});
    const double top = m_list->handleRect().top();
    EXPECT_GT(top, 0);
    EXPECT_LT(top, 244);
}

TEST_F(DiaryListKeyboardTest, EnterOpensTheDetailBoxOnProgramStartRowsOnly)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        Keys({Qt::Key_Home});
        ModalWatch watch([](QDialog& dialog) { dialog.reject(); });
        QTest::keyClick(m_list, key);
        EXPECT_TRUE(watch.seen()) << QTest::toString(key);
    }
    // Record 5 is the first ransomware row: its button does nothing.
    Keys({Qt::Key_Home, Qt::Key_PageDown});
    ASSERT_EQ(m_list->selectedRecord(), 5);
    ModalWatch watch([](QDialog& dialog) { dialog.reject(); });
    QTest::keyClick(m_list, Qt::Key_Return);
    EXPECT_FALSE(watch.seen());
}

TEST_F(DiaryListKeyboardTest, EnterWithoutSelectionOpensNothing)
{
    ModalWatch watch([](QDialog& dialog) { dialog.reject(); });
    QTest::keyClick(m_list, Qt::Key_Return);
    EXPECT_FALSE(watch.seen());
    EXPECT_EQ(m_list->selectedRecord(), -1);
}

TEST_F(DiaryListKeyboardTest, CtrlCCopiesTypeTimeAndInfo)
{
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(m_list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    Keys({Qt::Key_End});
    QTest::keyClick(m_list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "执行扫描\t2020-10-27 21:13:14\t信息");
}

TEST_F(DiaryListKeyboardTest, FocusFrameShowsOnlyForKeyboardFocus)
{
    m_host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_host));
    const QImage unfocused = m_list->grab().toImage();
    m_list->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_list->hasFocus(); }));
    EXPECT_EQ(m_list->grab().toImage(), unfocused);
    m_list->clearFocus();
    m_list->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_list->hasFocus(); }));
    EXPECT_NE(m_list->grab().toImage(), unfocused);
    m_list->clearFocus();
    EXPECT_EQ(m_list->grab().toImage(), unfocused);
}

TEST_F(DiaryListKeyboardTest, ListIsAListOfItsRecords)
{
    QAccessibleInterface* const face = QAccessible::queryAccessibleInterface(m_list);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::List);
    EXPECT_EQ(face->childCount(), kRecords);

    QAccessibleInterface* const first = face->child(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->role(), QAccessible::ListItem);
    EXPECT_EQ(first->text(QAccessible::Name), "程序启动 2020-10-27 21:13:14 信息");
    EXPECT_EQ(first->parent(), face);
    EXPECT_EQ(face->indexOfChild(first), 0);
    EXPECT_FALSE(first->state().invisible);
    EXPECT_FALSE(first->state().selected);
    EXPECT_EQ(face->childAt(first->rect().center().x(), first->rect().center().y()), first);

    QAccessibleInterface* const last = face->child(kRecords - 1);
    EXPECT_TRUE(last->state().invisible);
    Keys({Qt::Key_End});
    EXPECT_FALSE(last->state().invisible);
    EXPECT_TRUE(last->state().selected);
    EXPECT_TRUE(first->state().invisible);
    EXPECT_EQ(face->child(kRecords), nullptr);
}

} // namespace
