// The table's records, geometry, window refresh and painting.

#include "base_ui/controls/CTableWidget.h"
#include "base_ui/controls/CCheckBox.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/PushButton.h"
#include "base_ui/controls/TableRecordModel.h"

#include "TableTestSupport.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using Row = CTableWidget::Row;

std::vector<Row> AllRows(const CTableWidget& table)
{
    std::vector<Row> rows;
    for (int i = 0; i < table.rowCount(); ++i) {
        rows.push_back(table.rowData(i));
    }
    return rows;
}

TEST(CTableWidgetTest, GeometryOfTheDiaryTable)
{
    const auto table = MakeTable();
    EXPECT_EQ(table->size(), QSize(458, 229));
    EXPECT_EQ(table->rowHeight(), 38);
    EXPECT_EQ(table->headerHeight(), 38);
    EXPECT_EQ(table->header()->size(), QSize(458, 38));
    EXPECT_EQ(table->dataAreaHeight(), 190);

    AppendRows(*table, 2);
    EXPECT_EQ(table->dataArea(), QRect(0, 38, 458, 2 * 38 + 1));
    AppendRows(*table, 3);
    EXPECT_EQ(table->dataArea(), QRect(0, 38, 458, 191));
    EXPECT_EQ(table->narrowDataArea(), QRect(0, 38, 458 - 9, 191));
    AppendRows(*table, 10);
    EXPECT_EQ(table->dataArea().height(), 191);
}

TEST(CTableWidgetTest, CellsFollowTheHeaderColumns)
{
    const auto table = MakeTable();
    AppendRows(*table, 6);
    const int xs[] = {0, 152, 304};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(table->header()->columnX(c), xs[c]);
        EXPECT_EQ(table->cellRect(0, c), QRect(xs[c], 38, 152, 38));
        EXPECT_EQ(table->cellRect(4, c), QRect(xs[c], 38 + 4 * 38, 152, 38));
    }
    table->setColumnWidth(1, 190);
    table->setColumnWidth(2, 185);
    table->setColumnWidth(3, 60);
    const int diaryXs[] = {0, 191, 377};
    const int diaryWidths[] = {190, 185, 82};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(table->cellRect(2, c), QRect(diaryXs[c], 38 + 2 * 38, diaryWidths[c], 38));
    }
}

TEST(CTableWidgetTest, ScrollBarAppearsWithMoreRecordsThanSlots)
{
    struct Case
    {
        int records;
        bool shown;
        int handleHeight;
    };
    const Case cases[] = {
        {4, false, 0},          {5, false, 0}, {6, true, 190 * 5 / 6}, {40, true, 190 * 5 / 40},
        {3000, true, 190 / 17}, // the minimum height
    };
    for (const Case& c : cases) {
        const auto table = MakeTable();
        AppendRows(*table, c.records);
        EXPECT_EQ(table->isScrollBarShown(), c.shown) << c.records;
        EXPECT_EQ(table->scrollHandle().height(), c.handleHeight) << c.records;
        if (c.shown) {
            EXPECT_EQ(table->scrollHandle(), QRect(458 - 10, 39, 8, c.handleHeight));
        }
    }
}

TEST(CTableWidgetTest, EveryAddRefreshesAndTheSlotsCatchUpFromTheEventLoop)
{
    const auto table = MakeTable();
    table->setButtonColumn(3, "b");
    QSignalSpy refresh(table.get(), &CTableWidget::sig_updateScrollArea);
    AppendRows(*table, 7);
    table->addRecordOnly(SampleRow(7));
    EXPECT_EQ(refresh.count(), 7);

    QCoreApplication::processEvents();
    int shown = 0;
    for (const PushButton* button : table->findChildren<PushButton*>()) {
        if (button->isVisible()) {
            ++shown;
            EXPECT_EQ(button->text(), "view");
            EXPECT_LT(button->recordIndex(), kVisibleRows);
        }
    }
    EXPECT_EQ(shown, kVisibleRows);
}

TEST(CTableWidgetTest, OnlyOneSetOfSlotControlsExists)
{
    const auto table = MakeTable();
    table->setButtonColumn(3, "PROGRAM_DIARY_SEE_BTN");
    AppendRows(*table, 500);
    const auto buttons = table->findChildren<PushButton*>();
    ASSERT_EQ(buttons.size(), kVisibleRows + 1);
    for (int slot = 0; slot < kVisibleRows; ++slot) {
        auto* button = static_cast<PushButton*>(table->cellControl(2, slot));
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(button->text(), "view");
        EXPECT_EQ(button->objectName(), "PROGRAM_DIARY_SEE_BTN");
        EXPECT_EQ(button->recordIndex(), slot);
    }
    // No partial row at the top of the list.
    EXPECT_FALSE(table->cellControl(2, kVisibleRows)->isVisible());
}

TEST(CTableWidgetTest, TextsAreElidedWhenWiderThanTheCellLessItsPadding)
{
    const QString text = "2020-10-27 15:00:00 description";
    QFont font;
    font.setPixelSize(12);
    const int width = QFontMetrics(font).horizontalAdvance(text);
    struct Case
    {
        int padding;
        int columnWidth;
        bool elided;
    };
    const Case cases[] = {
        {0, width, false},
        {0, width - 1, true},
        {20, width + 20, false},
        {20, width + 19, true},
    };
    for (const Case& c : cases) {
        const auto table = MakeTable();
        table->setColumnPadding(0, c.padding);
        table->setColumnWidth(1, c.columnWidth);
        table->appendRow({text.toStdString(), "b", "c"});
        ASSERT_EQ(table->cellRect(0, 0).width(), c.columnWidth);
        EXPECT_EQ(table->isCellElided(0, 0), c.elided) << c.padding << " " << c.columnWidth;
        if (c.elided) {
            const QString shown = table->cellText(0, 0);
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_LE(QFontMetrics(font).horizontalAdvance(shown),
                      c.columnWidth - c.padding - CTableWidget::kElideMargin);
        } else {
            EXPECT_EQ(table->cellText(0, 0), text);
        }
    }
}

TEST(CTableWidgetTest, ElisionFollowsAColumnWidthChange)
{
    const auto table = MakeTable();
    table->appendRow({"2020-10-27 15:00", "b", "c"});
    EXPECT_FALSE(table->isCellElided(0, 0));
    table->setColumnWidth(1, 40);
    EXPECT_TRUE(table->isCellElided(0, 0));
    table->setElideMode(1);
    EXPECT_TRUE(table->cellText(0, 0).contains(QChar(0x2026)));
    EXPECT_FALSE(table->cellText(0, 0).endsWith(QChar(0x2026)));
}

// Rows that repeat a text share its measure; each still shows its own text
// at the column's width, under every font, width and elide mode.
TEST(CTableWidgetTest, RepeatedTextsAreElidedAlikeAndFollowEachChange)
{
    const auto table = MakeTable();
    const std::string repeated = "2020-10-27 15:00:00 a long description";
    table->appendRow({repeated, "b", "c"});
    table->appendRow({repeated, "b", "c"});
    table->appendRow({"short", "b", "c"});
    table->appendRow({repeated, "b", "c"});
    const auto expectShown = [&](int width, Qt::TextElideMode mode, int pixels) {
        QFont font;
        font.setPixelSize(pixels);
        const QString text = QString::fromStdString(repeated);
        const QString elided =
            QFontMetrics(font).elidedText(text, mode, width - CTableWidget::kElideMargin);
        for (const int slot : {0, 1, 3}) {
            EXPECT_TRUE(table->isCellElided(slot, 0)) << slot;
            EXPECT_EQ(table->cellText(slot, 0), elided) << slot << " " << width << " " << pixels;
        }
        EXPECT_FALSE(table->isCellElided(2, 0));
        EXPECT_EQ(table->cellText(2, 0), "short");
    };
    table->setColumnWidth(1, 120);
    expectShown(120, Qt::ElideRight, 12);
    table->setColumnWidth(1, 90);
    expectShown(90, Qt::ElideRight, 12);
    table->setElideMode(1);
    expectShown(90, Qt::ElideMiddle, 12);
    table->setFontPixelSize(16);
    expectShown(90, Qt::ElideMiddle, 16);
}

TEST(CTableWidgetTest, AddingWhileTheHeaderBoxIsCheckedAddsCheckedRecords)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    CCheckBox* all = table->addHeaderCheckBox(0);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(table->headerCheckBox(0), all);
    table->appendRow(SampleRow(0));
    EXPECT_FALSE(table->isRowChecked(0));

    all->setChecked(true);
    QSignalSpy count(table.get(), &CTableWidget::signal_onlyOneSelected);
    table->appendRow(SampleRow(1));
    EXPECT_TRUE(table->isRowChecked(1));
    EXPECT_EQ(table->checkedCount(), 1);
    ASSERT_EQ(count.count(), 1);
    EXPECT_EQ(count.at(0).at(0).toInt(), 1);
}

TEST(CTableWidgetTest, IndexOperationsOutsideTheRecordsChangeNothing)
{
    const auto table = MakeTable();
    AppendRows(*table, 7);
    const std::vector<Row> before = AllRows(*table);
    QSignalSpy refresh(table.get(), &CTableWidget::sig_updateScrollArea);
    QSignalSpy count(table.get(), &CTableWidget::signal_onlyOneSelected);
    for (const int index : {7, 8, 1000, -1, -7}) {
        EXPECT_TRUE(table->removeRow(index).empty()) << index;
        EXPECT_TRUE(table->rowData(index).empty()) << index;
        EXPECT_FALSE(table->setRowData(index, SampleRow(99))) << index;
    }
    table->insertRow(8, SampleRow(99));
    table->insertRow(-1, SampleRow(99));
    EXPECT_EQ(AllRows(*table), before);
    EXPECT_EQ(refresh.count(), 0);
    EXPECT_EQ(count.count(), 0);
}

TEST(CTableWidgetTest, RemoveRowReturnsTheCellsAndRelaysTheWindow)
{
    const auto table = MakeTable();
    AppendRows(*table, 7);
    const Row third = table->rowData(2);
    EXPECT_EQ(table->removeRow(2), third);
    EXPECT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->rowData(2), SampleRow(3));
    EXPECT_EQ(table->cellText(2, 1), "row 3");
    EXPECT_TRUE(table->isScrollBarShown());
    EXPECT_EQ(table->scrollHandle().height(), 190 * 5 / 6);

    table->removeRow(0);
    EXPECT_FALSE(table->isScrollBarShown());
    EXPECT_TRUE(table->scrollHandle().isNull());
    table->removeRow(0);
    EXPECT_EQ(table->rowCount(), 4);
    EXPECT_TRUE(table->isSlotValid(3));
    EXPECT_FALSE(table->isSlotValid(4));
    EXPECT_EQ(table->cellText(4, 1), "");
    EXPECT_EQ(table->dataArea().height(), 4 * 38 + 1);
}

TEST(CTableWidgetTest, InsertRowPlacesTheRecordBeforeTheIndex)
{
    const auto table = MakeTable();
    AppendRows(*table, 3);
    table->insertRow(1, SampleRow(50));
    table->insertRow(4, SampleRow(51));
    EXPECT_EQ(AllRows(*table), (std::vector<Row>{SampleRow(0), SampleRow(50), SampleRow(1),
                                                 SampleRow(2), SampleRow(51)}));
}

TEST(CTableWidgetTest, RemoveCheckedRowsReturnsThemLastFirst)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    CCheckBox* all = table->addHeaderCheckBox(0);
    AppendRows(*table, 8);
    for (const int index : {1, 3, 6}) {
        table->setRowChecked(index, true);
    }
    EXPECT_EQ(table->checkedCount(), 3);
    all->setChecked(true);
    QSignalSpy count(table.get(), &CTableWidget::signal_onlyOneSelected);
    const std::vector<Row> removed = table->removeCheckedRows();
    EXPECT_EQ(removed, (std::vector<Row>{SampleRow(6), SampleRow(3), SampleRow(1)}));
    EXPECT_EQ(AllRows(*table), (std::vector<Row>{SampleRow(0), SampleRow(2), SampleRow(4),
                                                 SampleRow(5), SampleRow(7)}));
    EXPECT_EQ(table->checkedCount(), 0);
    ASSERT_GE(count.count(), 1);
    EXPECT_EQ(count.last().at(0).toInt(), 0);
    EXPECT_FALSE(all->isChecked());
    EXPECT_FALSE(table->isScrollBarShown());
    EXPECT_TRUE(table->removeCheckedRows().empty());
}

TEST(CTableWidgetTest, RemovingCheckedRowsKeepsTheHandleOnTheWindow)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    AppendRows(*table, 40);
    Wheel(*table, -120);
    Wheel(*table, -120);
    const int percent = table->scrollPercent();
    table->setRowChecked(0, true);
    table->removeCheckedRows();
    EXPECT_EQ(table->scrollPercent(), percent);
    const QRect handle = table->scrollHandle();
    EXPECT_EQ(handle.height(), 190 * 5 / 39);
    const int top = 39;
    const int bottom = 229 - 1 - handle.height();
    EXPECT_EQ(handle.y(), top + (bottom - top) * percent / 100);
}

TEST(CTableWidgetTest, ClearRowsEmptiesEverything)
{
    const auto table = MakeTable();
    table->setButtonColumn(3, "b");
    AppendRows(*table, 12);
    table->slot_sort(0, true);
    table->filterByDate(0, QDate(2020, 10, 27), QDate(2020, 10, 27));
    table->clearRows();
    EXPECT_TRUE(table->isEmpty());
    EXPECT_EQ(table->hiddenRowCount(), 0);
    EXPECT_FALSE(table->isSorted());
    EXPECT_FALSE(table->isScrollBarShown());
    EXPECT_EQ(table->selectedRow(), -1);
    for (int slot = 0; slot <= kVisibleRows; ++slot) {
        EXPECT_FALSE(table->isSlotValid(slot));
        EXPECT_EQ(table->cellText(slot, 1), "");
        EXPECT_FALSE(table->cellControl(2, slot)->isVisible());
    }
    table->appendRow(SampleRow(1));
    EXPECT_EQ(table->cellText(0, 1), "row 1");
}

TEST(CTableWidgetTest, SetRowDataRefreshesTheSlotAndTheComboIndex)
{
    const auto table = MakeTable();
    table->setComboBoxColumn(3, {"view", "edit"});
    AppendRows(*table, 3);
    ASSERT_TRUE(table->setRowData(1, {"2021-01-01 00:00:00", "changed", "edit"}));
    EXPECT_EQ(table->cellText(1, 1), "changed");
    auto* combo = qobject_cast<QComboBox*>(table->cellControl(2, 1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(qobject_cast<QComboBox*>(table->cellControl(2, 0))->currentIndex(), 0);
}

TEST(CTableWidgetTest, CheckedRowDataGoesToTheFirstCheckedRecord)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    AppendRows(*table, 4);
    EXPECT_TRUE(table->slot_getEditData().empty());
    table->slot_setEditData(SampleRow(90));
    EXPECT_EQ(table->rowData(0), SampleRow(0));
    table->setCheckedRowData(SampleRow(91)); // none checked: record 0
    EXPECT_EQ(table->rowData(0), SampleRow(91));

    table->setRowChecked(2, true);
    EXPECT_EQ(table->slot_getEditData(), SampleRow(2));
    table->slot_setEditData(SampleRow(92));
    EXPECT_EQ(table->rowData(2), SampleRow(92));
    table->setCheckedRowData(SampleRow(93));
    EXPECT_EQ(table->rowData(2), SampleRow(93));
}

TEST(CTableWidgetTest, SortedTableTakesNewRecordsAtTheirPlace)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> key(0, 40);
    auto randomRow = [&](int n) {
        return Row{std::to_string(key(random)), std::to_string(key(random)), std::to_string(n)};
    };
    for (const bool descending : {true, false}) {
        const auto table = MakeTable();
        table->setSecondarySortColumn(2);
        std::vector<Row> expected;
        for (int n = 0; n < 30; ++n) {
            expected.push_back(randomRow(n));
            table->appendRow(expected.back());
        }
        table->slot_sort(0, descending);
        for (int n = 30; n < 300; ++n) {
            const Row row = randomRow(n);
            expected.push_back(row);
            if (n % 3 == 0) {
                const int index = n % table->rowCount();
                expected.pop_back();
                expected.insert(expected.begin() + index, row);
                std::stable_sort(expected.begin(), expected.end(), [&](const Row& a, const Row& b) {
                    return descending ? a[0] > b[0] || (a[0] == b[0] && a[1] > b[1])
                                      : a[0] < b[0] || (a[0] == b[0] && a[1] > b[1]);
                });
                table->insertRow(index, row);
                continue;
            }
            std::stable_sort(expected.begin(), expected.end(), [&](const Row& a, const Row& b) {
                return descending ? a[0] > b[0] || (a[0] == b[0] && a[1] > b[1])
                                  : a[0] < b[0] || (a[0] == b[0] && a[1] > b[1]);
            });
            table->appendRow(row);
        }
        ASSERT_EQ(AllRows(*table), expected) << descending;
    }
}

TEST(CTableWidgetTest, EditedSortedTableSortsAgainOnTheNextAdd)
{
    const auto table = MakeTable();
    for (const char* key : {"b", "d", "a"}) {
        table->appendRow({key, "", ""});
    }
    table->slot_sort(0, false);
    table->setRowData(0, {"z", "", ""});
    table->appendRow({"c", "", ""});
    std::vector<std::string> keys;
    for (const Row& row : AllRows(*table)) {
        keys.push_back(row[0]);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"b", "c", "d", "z"}));
}

TEST(CTableWidgetTest, ShortRowsReadAsEmptyCells)
{
    const auto table = MakeTable();
    table->appendRow({"only one"});
    table->appendRow({});
    table->slot_sort(1, true);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->cellText(0, 2), "");
}

TEST(CTableWidgetTest, DateFilterKeepsWholeDaysInTheRange)
{
    const Row rows[] = {
        {"2020-10-25 23:59:59", "a", ""}, {"2020-10-26 00:00:00", "b", ""},
        {"2020-10-27 12:00:00", "c", ""}, {"2020-10-28", "d", ""},
        {"not a date", "e", ""},          {"2020-10-29 08:00:00", "f", ""},
    };
    struct Case
    {
        QDate first;
        QDate last;
        const char* kept;
    };
    const Case cases[] = {
        {QDate(2020, 10, 26), QDate(2020, 10, 28), "bcd"},
        {QDate(2020, 10, 28), QDate(2020, 10, 26), "bcd"}, // reversed bounds
        {QDate(2020, 10, 27), QDate(2020, 10, 27), "c"},
        {QDate(), QDate(2020, 10, 26), "ab"},
        {QDate(2020, 10, 28), QDate(), "df"},
        {QDate(), QDate(), "abcdef"},
        {QDate(2021, 1, 1), QDate(2021, 2, 1), ""},
    };
    const auto table = MakeTable();
    for (const Row& row : rows) {
        table->appendRow(row);
    }
    for (const Case& c : cases) {
        const int hidden = table->filterByDate(0, c.first, c.last);
        std::string kept;
        for (const Row& row : AllRows(*table)) {
            kept += row[1];
        }
        EXPECT_EQ(kept, c.kept) << c.first.toString().toStdString() << " - "
                                << c.last.toString().toStdString();
        EXPECT_EQ(hidden, 6 - static_cast<int>(kept.size()));
        EXPECT_EQ(table->hiddenRowCount(), hidden);
    }
    // Clearing the filter returns every record to its place.
    table->filterByDate(0, QDate(), QDate());
    EXPECT_EQ(AllRows(*table), std::vector<Row>(std::begin(rows), std::end(rows)));
}

TEST(CTableWidgetTest, DateFilterRelaysTheScrollBarAndTheCheckedCount)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(2);
    for (int day = 1; day <= 20; ++day) {
        table->appendRow(
            {QDate(2020, 10, day).toString("yyyy-MM-dd 10:00:00").toStdString(), "", ""});
    }
    table->setRowChecked(0, true);
    table->setRowChecked(10, true);
    EXPECT_TRUE(table->isScrollBarShown());
    table->filterByDate(0, QDate(2020, 10, 5), QDate(2020, 10, 12));
    EXPECT_EQ(table->rowCount(), 8);
    EXPECT_EQ(table->checkedCount(), 1);
    EXPECT_TRUE(table->isScrollBarShown());
    table->filterByDate(0, QDate(2020, 10, 5), QDate(2020, 10, 6));
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->checkedCount(), 0);
    EXPECT_FALSE(table->isScrollBarShown());
    table->filterByDate(0, QDate(), QDate());
    EXPECT_EQ(table->checkedCount(), 2);
}

TEST(CTableWidgetTest, PaintsTheSelectedRowAndTheHandle)
{
    const auto table = MakeTable();
    table->setSelectedRowColor(250, 10, 10);
    table->setHandleFill(10, 250, 10);
    table->setBackgroundColor("#000000");
    AppendRows(*table, 8);
    const QRect cell = table->cellRect(1, 1);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_EQ(table->selectedRow(), 1);

    const QImage image = table->grab().toImage();
    EXPECT_EQ(image.pixelColor(cell.x() + 3, cell.y() + 3), QColor(250, 10, 10));
    const QRect otherRow = table->cellRect(3, 1);
    EXPECT_EQ(image.pixelColor(otherRow.x() + 3, otherRow.y() + 3), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(table->scrollHandle().center()), QColor(10, 250, 10));
}

TEST(CTableWidgetTest, SelectedRowIsFilledAcrossTheColumnBorders)
{
    const auto table = MakeTable();
    table->setColumnWidth(1, 190);
    table->setColumnWidth(2, 185);
    table->setColumnWidth(3, 60);
    table->setSelectedRowColor(250, 10, 10);
    table->setBackgroundColor("#000000");
    AppendRows(*table, 8);
    const QRect cell = table->cellRect(2, 1);
    QTest::mouseClick(table.get(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_EQ(table->selectedRow(), 2);

    const QImage image = table->grab().toImage();
    const QColor selected(250, 10, 10);
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (const int x : {189, 190, 375, 376, 440}) {
            EXPECT_EQ(image.pixelColor(x, y), selected) << x << ", " << y;
        }
    }
    // The row above stays unselected.
    EXPECT_EQ(image.pixelColor(190, cell.top() - 2), QColor(0, 0, 0));
}

TEST(CTableWidgetTest, AppendRowsAddsLikeAppendRowWithOneRefresh)
{
    const auto table = MakeTable();
    table->setCheckBoxColumn(1);
    CCheckBox* all = table->addHeaderCheckBox(0);
    table->slot_sort(0, true);
    AppendRows(*table, 2);
    table->slot_sort(0, false);
    all->setChecked(true);
    std::vector<Row> rows;
    for (int n = 9; n >= 2; --n) {
        rows.push_back(SampleRow(n));
    }
    QSignalSpy refresh(table.get(), &CTableWidget::sig_updateScrollArea);
    QSignalSpy count(table.get(), &CTableWidget::signal_onlyOneSelected);
    table->appendRows(rows);
    EXPECT_EQ(refresh.count(), 1);
    ASSERT_EQ(count.count(), 1);
    EXPECT_EQ(count.at(0).at(0).toInt(), 8);
    ASSERT_EQ(table->rowCount(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(table->rowData(i), SampleRow(i)) << i; // sorted in, smallest first
        EXPECT_EQ(table->isRowChecked(i), i >= 2) << i;
    }
    EXPECT_TRUE(table->isScrollBarShown());
    EXPECT_EQ(table->cellText(0, 1), "row 0");
}

TEST(CTableWidgetTest, ShowsARecordModelFilledElsewhere)
{
    TableRecordModel records(3);
    for (int n = 0; n < 40; ++n) {
        records.append(SampleRow(n));
    }
    records.sort(1, true);
    const auto table = MakeTable();
    AppendRows(*table, 3);
    QSignalSpy refresh(table.get(), &CTableWidget::sig_updateScrollArea);
    ASSERT_TRUE(table->setRecordModel(std::move(records)));
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(table->rowCount(), 40);
    EXPECT_TRUE(table->isSorted());
    EXPECT_TRUE(table->isScrollBarShown());
    EXPECT_EQ(table->scrollHandle().height(), 190 * 5 / 40);
    EXPECT_EQ(table->cellText(0, 1), "row 9"); // greatest first, byte-wise
    EXPECT_EQ(table->recordModel().cell(39, 1), "row 0");

    // A model of another column count is refused.
    TableRecordModel narrow(2);
    narrow.append({"a", "b"});
    EXPECT_FALSE(table->setRecordModel(std::move(narrow)));
    EXPECT_EQ(table->rowCount(), 40);
}

} // namespace

namespace {

// A row newer than every sample row, named `name`.
CTableWidget::Row NewerRow(int n, const std::string& name)
{
    return {"2020-10-27 16:" + std::to_string(10 + n) + ":00", name, "view"};
}

} // namespace

TEST(CTableWidgetTest, KeptViewStaysOnItsRecordsWhenRecordsComeAbove)
{
    enum class Add
    {
        One,
        Several,
        Insert
    };
    for (const Add add : {Add::One, Add::Several, Add::Insert}) {
        SCOPED_TRACE(static_cast<int>(add));
        const auto table = MakeTable();
        table->setKeepViewOnAdd(true);
        AppendRows(*table, 30);
        table->slot_sort(0, true);
        table->setSorted(true);
        for (int notch = 0; notch < 4; ++notch) {
            Wheel(*table, -120);
        }
        const int first = table->firstVisibleRow();
        const int remainder = table->rowRemainder();
        ASSERT_GT(first, 0);
        ASSERT_NE(remainder, 0) << "a partial row on top: the pixel matters";
        const QString top = table->cellText(0, 1);

        int added = 0;
        switch (add) {
        case Add::One:
            table->appendRow(NewerRow(0, "new"));
            added = 1;
            break;
        case Add::Several:
            table->appendRows({NewerRow(0, "n0"), NewerRow(1, "n1"), NewerRow(2, "n2")});
            added = 3;
            break;
        case Add::Insert:
            table->insertRow(table->rowCount(), NewerRow(0, "new"));
            added = 1;
            break;
        }
        EXPECT_EQ(table->firstVisibleRow(), first + added);
        EXPECT_EQ(table->rowRemainder(), remainder);
        EXPECT_EQ(table->cellText(0, 1), top);

        // Older records below the view change nothing in it.
        table->appendRow({"2020-10-27 14:00:00", "old", "view"});
        EXPECT_EQ(table->firstVisibleRow(), first + added);
        EXPECT_EQ(table->cellText(0, 1), top);
    }
}

TEST(CTableWidgetTest, KeptViewKeepsTheSelectedRecordSelected)
{
    const auto table = MakeTable();
    table->setKeepViewOnAdd(true);
    AppendRows(*table, 8);
    table->slot_sort(0, true);
    table->setSorted(true);
    ASSERT_TRUE(table->selectRow(1));
    const CTableWidget::Row selected = table->rowData(1);

    table->appendRows({NewerRow(0, "n0"), NewerRow(1, "n1")});
    EXPECT_EQ(table->selectedRow(), 3);
    EXPECT_EQ(table->rowData(3), selected);
    EXPECT_EQ(table->firstVisibleRow(), 2) << "the view stays on the records it showed";
    EXPECT_EQ(table->cellText(1, 1).toStdString(), selected[1]);
}

TEST(CTableWidgetTest, KeptViewAtTheTopWithoutSelectionShowsTheNewRecords)
{
    const auto table = MakeTable();
    table->setKeepViewOnAdd(true);
    AppendRows(*table, 8);
    table->slot_sort(0, true);
    table->setSorted(true);
    table->appendRow(NewerRow(0, "new"));
    EXPECT_EQ(table->firstVisibleRow(), 0);
    EXPECT_EQ(table->cellText(0, 1), "new");
}
