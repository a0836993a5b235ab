// The table's mouse, wheel and header interaction and the signals it sends.

#include "base_ui/controls/CCheckBox.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/CTableWidget.h"
#include "base_ui/controls/PushButton.h"
#include "base_ui/utils/CommonUtils.h"

#include "TableTestSupport.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

using Row = CTableWidget::Row;

constexpr int kHandleTop = 38 + 1;

int HandleBottom(const CTableWidget& table)
{
    return kTableHeight - 1 - table.scrollHandle().height();
}

TEST(CTableInteractionTest, WheelWithTooFewRecordsOnlyRefreshes)
{
    const auto table = MakeTable();
    AppendRows(*table, kVisibleRows);
    QSignalSpy refresh(table.get(), &CTableWidget::sig_updateScrollArea);
    Wheel(*table, -120);
    Wheel(*table, 120);
    EXPECT_EQ(refresh.count(), 2);
    EXPECT_EQ(table->firstVisibleRow(), 0);
    EXPECT_EQ(table->scrollPercent(), 0);
    EXPECT_FALSE(table->isScrollBarShown());
}

TEST(CTableInteractionTest, WheelMovesTheHandleTenPixelsWithinTheTrack)
{
    const auto table = MakeTable();
    AppendRows(*table, 20);
    const int span = HandleBottom(*table) - kHandleTop;
    QSignalSpy refresh(table.get(), &CTableWidget::sig_updateScrollArea);

    Wheel(*table, -1); // any size of delta moves one step
    EXPECT_EQ(table->scrollHandle().y(), kHandleTop + 10);
    EXPECT_EQ(table->scrollPercent(), 10 * 100 / span);
    const int offset = 15 * 38 * table->scrollPercent() / 100;
    EXPECT_EQ(table->firstVisibleRow(), offset / 38);
    EXPECT_EQ(table->rowRemainder(), offset % 38);
    EXPECT_EQ(refresh.count(), 1);

    Wheel(*table, 120);
    Wheel(*table, 120);
    EXPECT_EQ(table->scrollHandle().y(), kHandleTop);
    EXPECT_EQ(table->scrollPercent(), 0);

    for (int i = 0; i < 30; ++i) {
        Wheel(*table, -120);
    }
    EXPECT_EQ(table->scrollHandle().y(), HandleBottom(*table));
    EXPECT_EQ(table->scrollPercent(), 100);
    EXPECT_EQ(table->firstVisibleRow(), 15);
    EXPECT_EQ(table->cellText(4, 1), "row 19");
}

TEST(CTableInteractionTest, HandleDragIsPinnedAtBothEnds)
{
    const auto table = MakeTable();
    AppendRows(*table, 50);
    const QPoint grab = table->scrollHandle().center();
    const int offset = grab.y() - kHandleTop;

    QTest::mousePress(table.get(), Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(table.get(), QPoint(grab.x(), 2000));
    EXPECT_EQ(table->scrollHandle().y(), HandleBottom(*table));
    EXPECT_EQ(table->scrollPercent(), 100);
    EXPECT_EQ(table->firstVisibleRow(), 45);

    QTest::mouseMove(table.get(), QPoint(grab.x(), 100 + offset));
    EXPECT_EQ(table->scrollHandle().y(), 100);

    QTest::mouseMove(table.get(), QPoint(grab.x(), -500));
    EXPECT_EQ(table->scrollHandle().y(), kHandleTop);
    EXPECT_EQ(table->scrollPercent(), 0);
    EXPECT_EQ(table->firstVisibleRow(), 0);
    QTest::mouseRelease(table.get(), Qt::LeftButton, Qt::NoModifier, QPoint(grab.x(), -500));

    // After the release, moves no longer drag.
    Hover(*table, QPoint(grab.x(), 200));
    EXPECT_EQ(table->scrollHandle().y(), kHandleTop);
}

TEST(CTableInteractionTest, ScrollingReachesTheEndOfVeryLongTables)
{
    // Beyond about 565 000 rows of 38 pixels the scroll offset times 100
    // leaves 32 bits.
    constexpr int kRecords = 600000;
    const auto table = MakeTable();
    table->setSortAfterRefresh(false);
    for (int n = 0; n < kRecords; ++n) {
        table->addRecordOnly({"", std::to_string(n), ""});
    }
    table->refreshAll();
    ASSERT_TRUE(table->isScrollBarShown());
    EXPECT_EQ(table->scrollHandle().height(), 190 / 17);
    const QPoint grab = table->scrollHandle().center();
    Drag(*table, grab, QPoint(grab.x(), 5000));
    EXPECT_EQ(table->scrollPercent(), 100);
    EXPECT_EQ(table->firstVisibleRow(), kRecords - kVisibleRows);
    EXPECT_EQ(table->cellText(kVisibleRows - 1, 1), QString::number(kRecords - 1));
}

TEST(CTableInteractionTest, HandleThatFillsTheTrackScrollsNothing)
{
    // 100 one-pixel rows: the handle leaves no room to move.
    CTableWidget table(100, 102, 100, 1);
    ASSERT_EQ(table.rowHeight(), 1);
    for (int n = 0; n < 101; ++n) {
        table.appendRow({std::to_string(n)});
    }
    ASSERT_TRUE(table.isScrollBarShown());
    Wheel(table, -120);
    EXPECT_EQ(table.scrollPercent(), 0);
    EXPECT_EQ(table.firstVisibleRow(), 0);
}

TEST(CTableInteractionTest, PressOnThePartlyVisibleLastRowSelectsItsRecord)
{
    const auto table = MakeTable();
    AppendRows(*table, 20);
    const QPoint grab = table->scrollHandle().topLeft() + QPoint(2, 6);
    Drag(*table, grab, grab + QPoint(0, 15));
    ASSERT_NE(table->rowRemainder(), 0);
    ASSERT_EQ(table->shownSlotCount(), kVisibleRows + 1);

    const QRect partial = table->cellRect(kVisibleRows, 1);
    const int bottom = table->dataArea().bottom();
    ASSERT_LT(partial.y(), bottom);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, bottom - 1));
    EXPECT_EQ(table->selectedRow(), table->firstVisibleRow() + kVisibleRows);
    EXPECT_EQ(table->cellText(kVisibleRows, 1),
              QString::fromStdString(table->rowData(table->selectedRow())[1]));

    // Every slot selects the record it shows, also the one partly under the
    // header.
    for (int slot = 0; slot < kVisibleRows; ++slot) {
        QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier,
                          table->cellRect(slot, 0).bottomLeft() + QPoint(5, -2));
        EXPECT_EQ(table->selectedRow(), table->firstVisibleRow() + slot) << slot;
    }
}

TEST(CTableInteractionTest, SelectionNeedsASelectableTableAndTheDataArea)
{
    const auto table = MakeTable();
    AppendRows(*table, 3);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 20)); // header
    EXPECT_EQ(table->selectedRow(), -1);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 200)); // below
    EXPECT_EQ(table->selectedRow(), -1);
    QTest::mouseClick(table.get(), Qt::RightButton, Qt::NoModifier, QPoint(100, 60));
    EXPECT_EQ(table->selectedRow(), -1);
    table->setSelectable(false);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 60));
    EXPECT_EQ(table->selectedRow(), -1);
    table->setSelectable(true);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(table->selectedRow(), 1);
    table->clearSelection();
    EXPECT_EQ(table->selectedRow(), -1);
}

TEST(CTableInteractionTest, SelectionByKeyFollowsItsRecordThroughSorts)
{
    const auto table = MakeTable();
    AppendRows(*table, 4);
    table->setSelectMode(1, 1);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, table->cellRect(1, 0).center());
    ASSERT_EQ(table->selectedRow(), 1);
    table->slot_sort(0, true);
    EXPECT_EQ(table->selectedRow(), 2);
    EXPECT_EQ(table->rowData(2), SampleRow(1));
}

TEST(CTableInteractionTest, HeaderClicksAlternateTheSortOrder)
{
    const auto table = MakeTable();
    table->setSortableColumns({2});
    for (const int n : {3, 1, 4, 2}) {
        table->appendRow(SampleRow(n));
    }
    const QPoint second(200, 19);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, second); // reaches the header

    auto column = [&](int c) {
        std::string texts;
        for (int i = 0; i < table->rowCount(); ++i) {
            texts += table->rowData(i)[static_cast<size_t>(c)].back();
        }
        return texts;
    };
    QTest::mouseClick(table->header(), Qt::LeftButton, Qt::NoModifier, second);
    EXPECT_EQ(column(1), "4321");
    EXPECT_TRUE(table->sortDescending());
    EXPECT_EQ(table->header()->sortIndicatorPath(), "://images/asc.png");
    QTest::mouseClick(table->header(), Qt::LeftButton, Qt::NoModifier, second);
    EXPECT_EQ(column(1), "1234");
    EXPECT_EQ(table->header()->sortIndicatorPath(), "://images/desc.png");
    EXPECT_EQ(table->cellText(0, 1), "row 1");

    // Later adds keep the order.
    table->appendRow(SampleRow(0));
    EXPECT_EQ(column(1), "01234");
}

TEST(CTableInteractionTest, SortNeedsTwoRecords)
{
    const auto table = MakeTable();
    table->appendRow(SampleRow(0));
    QSignalSpy refresh(table.get(), &CTableWidget::sig_updateScrollArea);
    table->slot_sort(0, true);
    EXPECT_FALSE(table->isSorted());
    EXPECT_EQ(refresh.count(), 0);
}

TEST(CTableInteractionTest, EqualKeysOrderByTheSecondaryColumnGreatestFirst)
{
    const auto table = MakeTable();
    table->setSecondarySortColumn(2);
    for (const Row& row : std::vector<Row>{
             {"b", "1", ""}, {"a", "2", ""}, {"b", "3", ""}, {"a", "1", ""}, {"b", "2", ""}}) {
        table->appendRow(row);
    }
    auto keys = [&] {
        std::string text;
        for (int i = 0; i < table->rowCount(); ++i) {
            text += table->rowData(i)[0] + table->rowData(i)[1] + " ";
        }
        return text;
    };
    table->slot_sort(0, true);
    EXPECT_EQ(keys(), "b3 b2 b1 a2 a1 ");
    table->slot_sort(0, false);
    EXPECT_EQ(keys(), "a2 a1 b3 b2 b1 ");
}

TEST(CTableInteractionTest, CustomComparatorsReplaceTheDefaults)
{
    const auto table = MakeTable();
    for (const char* number : {"10", "9", "100"}) {
        table->appendRow({number, "", ""});
    }
    auto numeric = [](const CTableWidget::RecordView& a, const CTableWidget::RecordView& b) {
        return std::stoi(std::string(a.cell(0))) < std::stoi(std::string(b.cell(0)));
    };
    table->setColumnComparators(0, nullptr, numeric);
    table->slot_sort(0, false);
    EXPECT_EQ(table->rowData(0)[0], "9");
    EXPECT_EQ(table->rowData(2)[0], "100");
    table->slot_sort(0, true); // default descending: byte-wise
    EXPECT_EQ(table->rowData(0)[0], "9");
    EXPECT_EQ(table->rowData(1)[0], "100");
}

TEST(CTableInteractionTest, CheckAllAndTheHeaderBoxRules)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    CCheckBox* all = table->addHeaderCheckBox(0);
    AppendRows(*table, 3);
    QSignalSpy count(table.get(), &CTableWidget::signal_onlyOneSelected);

    QTest::mouseClick(all, Qt::LeftButton, Qt::NoModifier, all->boxRect().center());
    EXPECT_EQ(table->checkedCount(), 3);
    EXPECT_EQ(count.last().at(0).toInt(), 3);
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_TRUE(static_cast<CCheckBox*>(table->cellControl(0, slot))->isChecked());
    }

    auto* second = static_cast<CCheckBox*>(table->cellControl(0, 1));
    QTest::mouseClick(second, Qt::LeftButton, Qt::NoModifier, second->boxRect().center());
    EXPECT_FALSE(table->isRowChecked(1));
    EXPECT_EQ(table->checkedCount(), 2);
    EXPECT_FALSE(all->isChecked());
    EXPECT_EQ(count.last().at(0).toInt(), 2);

    QTest::mouseClick(second, Qt::LeftButton, Qt::NoModifier, second->boxRect().center());
    EXPECT_TRUE(table->isRowChecked(1));
    EXPECT_TRUE(all->isChecked());

    QSignalSpy state(table.get(), &CTableWidget::signal_dataSelectState);
    QMetaObject::invokeMethod(table.get(), "slt_DataSelectState");
    EXPECT_TRUE(state.last().at(0).toBool());

    QTest::mouseClick(all, Qt::LeftButton, Qt::NoModifier, all->boxRect().center());
    EXPECT_EQ(table->checkedCount(), 0);
    EXPECT_FALSE(table->isRowChecked(0));
    QMetaObject::invokeMethod(table.get(), "slt_DataSelectState");
    EXPECT_FALSE(state.last().at(0).toBool());
}

TEST(CTableInteractionTest, CheckAllOnAnEmptyTableDoesNothing)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    QSignalSpy count(table.get(), &CTableWidget::signal_onlyOneSelected);
    table->slot_checkAll();
    table->slot_unCheckAll();
    EXPECT_EQ(count.count(), 0);
    EXPECT_EQ(table->checkedCount(), 0);
}

TEST(CTableInteractionTest, ChecksFollowTheirRecordsWhileScrolling)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    AppendRows(*table, 30);
    auto* first = static_cast<CCheckBox*>(table->cellControl(0, 0));
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, first->boxRect().center());
    ASSERT_TRUE(table->isRowChecked(0));
    for (int i = 0; i < 30; ++i) {
        Wheel(*table, -120);
    }
    for (int slot = 0; slot < kVisibleRows; ++slot) {
        EXPECT_FALSE(static_cast<CCheckBox*>(table->cellControl(0, slot))->isChecked());
    }
    for (int i = 0; i < 30; ++i) {
        Wheel(*table, 120);
    }
    // The slots are laid out from the event loop, before the next paint.
    QCoreApplication::processEvents();
    EXPECT_TRUE(first->isChecked());
    EXPECT_EQ(table->checkedCount(), 1);
}

TEST(CTableInteractionTest, ButtonCellReportsItsRecordColumnAndPoint)
{
    const auto table = MakeTable();
    table->setButtonColumn(3, "PROGRAM_DIARY_SEE_BTN");
    AppendRows(*table, 20);
    Wheel(*table, -120);
    Wheel(*table, -120);
    QSignalSpy spy(table.get(), &CTableWidget::sig_toOtherWidget);
    auto* button = static_cast<PushButton*>(table->cellControl(2, 2));
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), table->firstVisibleRow() + 2);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 2);
    EXPECT_EQ(spy.at(0).at(2).toPoint(), button->mapToGlobal(QPoint(0, button->height())));
}

TEST(CTableInteractionTest, ButtonMenuCarriesTheRecord)
{
    const auto table = MakeTable();
    AppendRows(*table, 3);
    QSignalSpy menu(table.get(), &CTableWidget::sig_showMenu);
    table->slot_BtnClicked(1, 2, QPoint(5, 6));
    table->slot_BtnClicked(3, 2, QPoint(5, 6));
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), QPoint(5, 6));
    EXPECT_EQ(menu.at(0).at(1).value<std::vector<std::string>>(), SampleRow(1));
    EXPECT_EQ(menu.at(0).at(2).toInt(), 2);
}

TEST(CTableInteractionTest, DoubleClickSendsTheRecordUnderThePointer)
{
    const auto table = MakeTable();
    AppendRows(*table, 3);
    QSignalSpy data(table.get(), &CTableWidget::signal_sendData);
    QTest::mouseDClick(table.get(), Qt::LeftButton, Qt::NoModifier, table->cellRect(2, 1).center());
    ASSERT_EQ(data.count(), 1);
    EXPECT_EQ(data.at(0).at(0).value<std::vector<std::string>>(), SampleRow(2));
    QTest::mouseDClick(table.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 200));
    EXPECT_EQ(data.count(), 1);
}

TEST(CTableInteractionTest, CopyColumnsEmitTheFullText)
{
    const auto table = MakeTable();
    table->setColumnWidth(1, 40);
    table->addCopyColumn(0);
    AppendRows(*table, 3);
    ASSERT_TRUE(table->isCellElided(1, 0));
    QSignalSpy copy(table.get(), &CTableWidget::signal_copyText);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, table->cellRect(1, 0).center());
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, table->cellRect(1, 1).center());
    ASSERT_EQ(copy.count(), 1);
    EXPECT_EQ(copy.at(0).at(0).toString().toStdString(), SampleRow(1)[0]);
}

TEST(CTableInteractionTest, ComboCellsReportUserChangesOnly)
{
    const auto table = MakeTable();
    table->setComboBoxColumn(3, {"view", "edit", "drop"});
    AppendRows(*table, 12);
    QSignalSpy info(table.get(), &CTableWidget::signal_comboBoxInfo);
    auto* combo = qobject_cast<QComboBox*>(table->cellControl(2, 1));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    ASSERT_EQ(info.count(), 1);
    EXPECT_EQ(info.at(0).at(0).toInt(), 1);
    EXPECT_EQ(info.at(0).at(1).toString(), "drop");

    // Scrolling shows other records' selections without reporting them.
    Wheel(*table, -120);
    Wheel(*table, 120);
    EXPECT_EQ(info.count(), 1);
    EXPECT_EQ(combo->currentIndex(), 2);
}

TEST(CTableInteractionTest, PressTextOfACellBoxIsRelayed)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(2);
    AppendRows(*table, 2);
    QSignalSpy text(table.get(), &CTableWidget::signal_getPressText);
    auto* box = static_cast<CCheckBox*>(table->cellControl(1, 0));
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->boxRect().center());
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text.at(0).at(0).toString(), "row 0");
}

TEST(CTableInteractionTest, TooltipShowsTheWrappedFullTextOfElidedCells)
{
    const auto table = MakeTable();
    table->setColumnWidth(1, 60);
    const std::string longText(120, 'w');
    table->appendRow({longText, "short", ""});
    ASSERT_TRUE(table->isCellElided(0, 0));
    ASSERT_FALSE(table->isCellElided(0, 1));

    Hover(*table, table->cellRect(0, 0).center());
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), CommonUtils::wrapTextByWidth(QString::fromStdString(longText),
                                                             CTableWidget::kTooltipWidth,
                                                             table->fontMetrics(), "\n"));
    EXPECT_TRUE(QToolTip::text().contains('\n'));

    Hover(*table, table->cellRect(0, 1).center());
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));

    table->setTooltipOnAllCells(true);
    Hover(*table, table->cellRect(0, 1).center());
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "short");
    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));

    table->disableTooltips();
    Hover(*table, table->cellRect(0, 0).center());
    EXPECT_FALSE(QToolTip::isVisible());
}

} // namespace
