// What a screen reader hears of base_ui's painted controls: the table and its
// cells, the switch, the skinned button.

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/CSwitchButton.h"

#include "TableTestSupport.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QAccessibleInterface* Query(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

TEST(BaseUiAccessibleTest, TableIsATableOfTheRecordsCells)
{
    auto table = MakeTable();
    table->setHeaderLabels({"时间", "说明", "操作"});
    AppendRows(*table, 12);

    QAccessibleInterface* const face = Query(table.get());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Table);
    EXPECT_EQ(face->childCount(), 12 * 3);
    QAccessibleTableInterface* const grid = face->tableInterface();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 12);
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->columnDescription(1), "说明");

    QAccessibleInterface* const cell = face->child(2 * 3 + 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), "row 2");
    EXPECT_EQ(cell->parent(), face);
    EXPECT_EQ(face->indexOfChild(cell), 7);
    EXPECT_EQ(grid->cellAt(2, 1), cell) << "one interface per cell";
    ASSERT_NE(cell->tableCellInterface(), nullptr);
    EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 1);
    EXPECT_FALSE(cell->state().invisible);
    EXPECT_TRUE(face->child(11 * 3)->state().invisible) << "scrolled out of the window";
    EXPECT_EQ(face->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
}

TEST(BaseUiAccessibleTest, SelectedRecordIsTheSelectedRow)
{
    auto table = MakeTable();
    AppendRows(*table, 12);
    QAccessibleInterface* const face = Query(table.get());
    QAccessibleTableInterface* const grid = face->tableInterface();
    EXPECT_EQ(grid->selectedRowCount(), 0);

    QTest::keyClick(table.get(), Qt::Key_Down);
    QTest::keyClick(table.get(), Qt::Key_Down);
    EXPECT_EQ(grid->selectedRows(), QList<int>{1});
    EXPECT_TRUE(face->child(1 * 3 + 2)->state().selected);
    EXPECT_FALSE(face->child(0)->state().selected);
    EXPECT_EQ(grid->selectedCellCount(), 3);

    // A screen reader may select a row itself.
    EXPECT_TRUE(grid->selectRow(10));
    EXPECT_EQ(table->selectedRow(), 10);
    EXPECT_FALSE(face->child(10 * 3)->state().invisible) << "scrolled into view";
    EXPECT_TRUE(grid->unselectRow(10));
    EXPECT_EQ(table->selectedRow(), -1);
}

TEST(BaseUiAccessibleTest, CellsFollowTheRecordsTheTableHolds)
{
    auto table = MakeTable();
    AppendRows(*table, 3);
    QAccessibleInterface* const face = Query(table.get());
    QAccessibleInterface* const last = face->child(2 * 3);
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->isValid());

    table->setRowData(2, {"new", "text", "x"});
    EXPECT_EQ(last->text(QAccessible::Name), "new");

    table->removeRow(2);
    EXPECT_EQ(face->childCount(), 2 * 3);
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(face->child(2 * 3), nullptr);
}

TEST(BaseUiAccessibleTest, SwitchIsACheckBoxCheckedWhileOn)
{
    CSwitchButton button(":/images/pix_switch.png");
    button.setAccessibleName("信息隔离模式");
    QAccessibleInterface* const face = Query(&button);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::CheckBox);
    EXPECT_EQ(face->text(QAccessible::Name), "信息隔离模式");
    EXPECT_TRUE(face->state().checkable);
    EXPECT_TRUE(face->state().checked);
    button.setChecked(false);
    EXPECT_FALSE(face->state().checked);
    button.setClickable(false);
    EXPECT_TRUE(face->state().disabled);
    EXPECT_EQ(face->childCount(), 0);
}

TEST(BaseUiAccessibleTest, SkinnedButtonIsAButtonNamedByItsText)
{
    CCommonButton button(":/images/pix_button.png", 4);
    button.setText("清空");
    QAccessibleInterface* const face = Query(&button);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_EQ(face->text(QAccessible::Name), "清空");

    CCommonButton picture(":/images/pix_btn_close.png", 4);
    picture.setAccessibleName("关闭");
    EXPECT_EQ(Query(&picture)->text(QAccessible::Name), "关闭");
}

} // namespace
