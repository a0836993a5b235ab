// The table by keyboard: selection moves, scrolling into view, the row's
// button, copying, and the focus mark.

#include "TableTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kRecords = 20;

// The selected record's row lies wholly inside the data area.
bool SelectedRowWhollyShown(const CTableWidget& table)
{
    const int slot = table.selectedRow() - table.firstVisibleRow();
    if (slot < 0 || slot >= table.shownSlotCount()) {
        return false;
    }
    const QRect row = table.cellRect(slot, 0);
    return row.top() >= table.dataArea().top() && row.bottom() <= table.dataArea().bottom();
}

void ClickRecord(CTableWidget& table, int slot)
{
    const QPoint at(30, table.dataArea().top() + slot * table.rowHeight() + table.rowHeight() / 2);
    QTest::mouseClick(&table, Qt::LeftButton, Qt::NoModifier, at);
}

struct KeyCase
{
    const char* name;
    // Keys pressed before the one under test; the first selects nothing.
    std::vector<Qt::Key> before;
    Qt::Key key;
    int expected;
};

class CTableKeyTest : public ::testing::TestWithParam<KeyCase>
{};

TEST_P(CTableKeyTest, KeyMovesTheSelectionAndShowsIt)
{
    const KeyCase& c = GetParam();
    auto table = MakeTable();
    AppendRows(*table, kRecords);
    for (const Qt::Key key : c.before) {
        QTest::keyClick(table.get(), key);
    }
    QTest::keyClick(table.get(), c.key);
    EXPECT_EQ(table->selectedRow(), c.expected);
    EXPECT_TRUE(SelectedRowWhollyShown(*table))
        << "first " << table->firstVisibleRow() << " remainder " << table->rowRemainder();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CTableKeyTest,
    ::testing::Values(
        KeyCase{"DownWithoutSelectionTakesTheFirstShown", {}, Qt::Key_Down, 0},
        KeyCase{"UpWithoutSelectionTakesTheFirstShown", {}, Qt::Key_Up, 0},
        KeyCase{"DownMovesOneRecord", {Qt::Key_Down}, Qt::Key_Down, 1},
        KeyCase{"UpStopsAtTheFirstRecord", {Qt::Key_Home}, Qt::Key_Up, 0},
        KeyCase{"DownPastTheWindowScrolls",
                {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down},
                Qt::Key_Down,
                5},
        KeyCase{"PageDownMovesOnePage", {Qt::Key_Home}, Qt::Key_PageDown, 5},
        KeyCase{"PageDownStopsAtTheLast", {Qt::Key_End}, Qt::Key_PageDown, 19},
        KeyCase{"PageUpMovesOnePage", {Qt::Key_End}, Qt::Key_PageUp, 14},
        KeyCase{"PageUpStopsAtTheFirst", {Qt::Key_Down}, Qt::Key_PageUp, 0},
        KeyCase{"EndTakesTheLast", {}, Qt::Key_End, 19},
        KeyCase{"HomeAfterEndScrollsBack", {Qt::Key_End}, Qt::Key_Home, 0},
        KeyCase{"UpFromTheLastScrollsUpOnlyWhenNeeded",
                {Qt::Key_End, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up},
                Qt::Key_Up,
                13}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(CTableKeyboardTest, KeysScrollOnlyAsFarAsNeeded)
{
    auto table = MakeTable();
    AppendRows(*table, kRecords);
    QTest::keyClick(table.get(), Qt::Key_Down);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(table.get(), Qt::Key_Down);
    }
    // Record 4 is the last whole row of the first window: no scrolling yet.
    EXPECT_EQ(table->selectedRow(), 4);
    EXPECT_EQ(table->scrollPercent(), 0);
    QTest::keyClick(table.get(), Qt::Key_Down);
    EXPECT_EQ(table->firstVisibleRow(), 1);
    EXPECT_GT(table->scrollPercent(), 0);
    EXPECT_EQ(table->scrollHandle().top() > table->dataArea().top(), true);
    QTest::keyClick(table.get(), Qt::Key_End);
    EXPECT_EQ(table->scrollPercent(), 100);
    EXPECT_EQ(table->scrollHandle().bottom(), table->dataArea().bottom() - 1);
}

TEST(CTableKeyboardTest, ClickThenKeysContinueFromTheClickedRecord)
{
    auto table = MakeTable();
    AppendRows(*table, kRecords);
    ClickRecord(*table, 2);
    ASSERT_EQ(table->selectedRow(), 2);
    QTest::keyClick(table.get(), Qt::Key_Down);
    EXPECT_EQ(table->selectedRow(), 3);
}

TEST(CTableKeyboardTest, VeryLongTableStillShowsTheSelectedRecord)
{
    auto table = MakeTable();
    std::vector<CTableWidget::Row> rows;
    for (int n = 0; n < 5000; ++n) {
        rows.push_back(SampleRow(n));
    }
    table->appendRows(rows);
    QTest::keyClick(table.get(), Qt::Key_End);
    EXPECT_EQ(table->selectedRow(), 4999);
    EXPECT_TRUE(SelectedRowWhollyShown(*table));
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(table.get(), Qt::Key_PageUp);
    }
    EXPECT_EQ(table->selectedRow(), 4849);
    // Whole percent steps are 2994 px here: the record's row is at least in
    // the window.
    const int slot = table->selectedRow() - table->firstVisibleRow();
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, table->shownSlotCount());
}

TEST(CTableKeyboardTest, UnselectableTableIgnoresTheKeys)
{
    auto table = MakeTable();
    AppendRows(*table, kRecords);
    table->setSelectable(false);
    QTest::keyClick(table.get(), Qt::Key_End);
    EXPECT_EQ(table->selectedRow(), -1);
    EXPECT_EQ(table->scrollPercent(), 0);
}

TEST(CTableKeyboardTest, EmptyTableIgnoresTheKeys)
{
    auto table = MakeTable();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Return}) {
        QTest::keyClick(table.get(), key);
    }
    EXPECT_EQ(table->selectedRow(), -1);
}

class CTableButtonKeyTest : public ::testing::TestWithParam<Qt::Key>
{};

TEST_P(CTableButtonKeyTest, KeyPressesTheSelectedRecordsButton)
{
    auto table = MakeTable();
    table->setButtonColumn(3, "PROGRAM_DIARY_SEE_BTN");
    AppendRows(*table, kRecords);
    QSignalSpy pressed(table.get(), &CTableWidget::sig_toOtherWidget);

    QTest::keyClick(table.get(), GetParam());
    EXPECT_EQ(pressed.count(), 0) << "nothing selected yet";

    QTest::keyClick(table.get(), Qt::Key_End);
    QTest::keyClick(table.get(), GetParam());
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).toInt(), 19);
    EXPECT_EQ(pressed.at(0).at(1).toInt(), 2);
    const int slot = 19 - table->firstVisibleRow();
    const QWidget* button = table->cellControl(2, slot);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(pressed.at(0).at(2).toPoint(), button->mapToGlobal(QPoint(0, button->height())));
}

INSTANTIATE_TEST_SUITE_P(Keys, CTableButtonKeyTest,
                         ::testing::Values(Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space));

TEST(CTableKeyboardTest, EnterWithoutButtonColumnEmitsNothing)
{
    auto table = MakeTable();
    AppendRows(*table, kRecords);
    QSignalSpy pressed(table.get(), &CTableWidget::sig_toOtherWidget);
    QTest::keyClick(table.get(), Qt::Key_Down);
    QTest::keyClick(table.get(), Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 0);
}

TEST(CTableKeyboardTest, CtrlCCopiesTheSelectedRecordTabSeparated)
{
    auto table = MakeTable();
    table->appendRow({"2020-10-27 15:00:00", "程序启动\t上报", "查看"});
    table->appendRow({"b", "line\nbreak"});
    QGuiApplication::clipboard()->setText("before");

    QTest::keyClick(table.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before") << "nothing selected";

    QTest::keyClick(table.get(), Qt::Key_Home);
    QTest::keyClick(table.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "2020-10-27 15:00:00\t程序启动 上报\t查看");

    QTest::keyClick(table.get(), Qt::Key_Down);
    QTest::keyClick(table.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "b\tline break\t");
}

TEST(CTableKeyboardTest, FocusMarkShowsOnlyForKeyboardFocus)
{
    auto table = MakeTable();
    AppendRows(*table, 3);
    table->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(table.get()));
    EXPECT_EQ(table->focusPolicy(), Qt::StrongFocus);
    const QImage unfocused = table->grab().toImage();

    table->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->hasFocus(); }));
    EXPECT_EQ(table->grab().toImage(), unfocused) << "a click's focus shows no mark";

    QTest::keyClick(table.get(), Qt::Key_Shift);
    const QImage marked = table->grab().toImage();
    EXPECT_NE(marked, unfocused) << "a key shows the mark";

    table->clearFocus();
    EXPECT_EQ(table->grab().toImage(), unfocused);

    table->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->hasFocus(); }));
    EXPECT_EQ(table->grab().toImage(), marked);
}

} // namespace
