// The table's records without a widget: storage, index checks at both ends,
// sorting, sorted insertion, check states and the date filter.

#include "base_ui/controls/TableRecordModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Row = TableRecordModel::Row;

std::vector<Row> AllRows(const TableRecordModel& model)
{
    std::vector<Row> rows;
    for (int i = 0; i < model.rowCount(); ++i) {
        rows.push_back(model.cells(i));
    }
    return rows;
}

std::string Column(const TableRecordModel& model, int column)
{
    std::string text;
    for (int i = 0; i < model.rowCount(); ++i) {
        text += std::string(model.cell(i, column)) + " ";
    }
    return text;
}

TEST(TableRecordModelTest, KeepsTheCellsAsGiven)
{
    TableRecordModel model(3);
    const std::vector<Row> rows = {
        {"2020-10-27 15:00:00", "程序启动上报基础信息", "查看"},
        {"", "a", ""},
        {std::string("nul\0inside", 10), "b", "c"},
        {"only one"},
        {},
        {"four", "cells", "in", "three columns"},
    };
    for (const Row& row : rows) {
        model.append(row);
    }
    EXPECT_EQ(AllRows(model), rows);
    EXPECT_EQ(model.cell(3, 0), "only one");
    EXPECT_EQ(model.cell(3, 2), "");
    EXPECT_EQ(model.record(4).cellCount(), 0);
    EXPECT_EQ(model.cell(5, 3), "three columns");
    EXPECT_EQ(model.record(0).comboIndex(), -1);
    EXPECT_FALSE(model.record(0).isChecked());
    EXPECT_NE(model.record(0).serial(), model.record(1).serial());
}

TEST(TableRecordModelTest, IndexesOutsideTheRecordsChangeNothing)
{
    TableRecordModel model(3);
    for (int n = 0; n < 4; ++n) {
        model.append({std::to_string(n), "x", "y"}, {1u, 0});
    }
    const std::vector<Row> before = AllRows(model);
    const auto revision = model.revision();
    for (const int index : {INT_MIN, -1, 4, 5, INT_MAX}) {
        EXPECT_TRUE(model.cells(index).empty()) << index;
        EXPECT_EQ(model.cell(index, 0), "") << index;
        EXPECT_TRUE(model.remove(index).empty()) << index;
        EXPECT_FALSE(model.setCells(index, {"changed"})) << index;
        EXPECT_FALSE(model.isChecked(index)) << index;
        EXPECT_EQ(model.comboIndex(index), -1) << index;
        model.setCheck(index, 0, false);
        model.setComboIndex(index, 3);
    }
    for (const int index : {INT_MIN, -1, 5, INT_MAX}) {
        EXPECT_EQ(model.insert(index, {"new"}), -1) << index;
    }
    EXPECT_FALSE(model.sort(-1, true));
    EXPECT_FALSE(model.sort(3, true));
    EXPECT_EQ(model.filterByDate(3, QDate(2020, 1, 1), QDate()), 0);
    EXPECT_EQ(AllRows(model), before);
    EXPECT_EQ(model.checkedCount(), 4);
    EXPECT_EQ(model.revision(), revision);

    // Both ends themselves are valid.
    EXPECT_EQ(model.insert(4, {"end"}), 4);
    EXPECT_EQ(model.insert(0, {"start"}), 0);
    EXPECT_EQ(model.remove(5), Row{"end"});
    EXPECT_EQ(model.remove(0), Row{"start"});
    EXPECT_EQ(AllRows(model), before);
}

TEST(TableRecordModelTest, SortsByteWiseWithTheSecondaryColumnForEqualKeys)
{
    TableRecordModel model(2);
    for (const char* key : {"a1", "b1", "a2", "b2", "b3"}) {
        model.append({std::string(1, key[0]), std::string(1, key[1])});
    }
    model.setSecondarySortColumn(1);
    ASSERT_TRUE(model.sort(0, true));
    EXPECT_EQ(Column(model, 0) + "| " + Column(model, 1), "b b b a a | 3 2 1 2 1 ");
    ASSERT_TRUE(model.sort(0, false));
    EXPECT_EQ(Column(model, 0) + "| " + Column(model, 1), "a a b b b | 2 1 3 2 1 ");
    EXPECT_TRUE(model.isSorted());
    EXPECT_EQ(model.sortColumn(), 0);
    EXPECT_FALSE(model.sortDescending());

    TableRecordModel one(2);
    one.append({"x"});
    EXPECT_FALSE(one.sort(0, true));
    EXPECT_FALSE(one.isSorted());
}

TEST(TableRecordModelTest, CustomComparatorsReplaceTheDefaults)
{
    TableRecordModel model(1);
    for (const char* number : {"10", "9", "100"}) {
        model.append({number});
    }
    model.setComparators(
        0, nullptr,
        [](const TableRecordModel::RecordView& a, const TableRecordModel::RecordView& b) {
            return std::stoi(std::string(a.cell(0))) < std::stoi(std::string(b.cell(0)));
        });
    model.sort(0, false);
    EXPECT_EQ(Column(model, 0), "9 10 100 ");
    model.sort(0, true);
    EXPECT_EQ(Column(model, 0), "9 100 10 ");
}

TEST(TableRecordModelTest, SortedModelTakesNewRecordsAtTheirPlace)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> key(0, 30);
    for (const bool descending : {true, false}) {
        auto less = [descending](const Row& a, const Row& b) {
            return descending ? a[0] > b[0] || (a[0] == b[0] && a[1] > b[1])
                              : a[0] < b[0] || (a[0] == b[0] && a[1] > b[1]);
        };
        TableRecordModel model(3);
        model.setSecondarySortColumn(1);
        std::vector<Row> expected;
        for (int n = 0; n < 20; ++n) {
            expected.push_back(
                {std::to_string(key(random)), std::to_string(key(random)), std::to_string(n)});
            model.append(expected.back());
        }
        model.sort(0, descending);
        std::stable_sort(expected.begin(), expected.end(), less);
        for (int n = 20; n < 400; ++n) {
            const Row row{std::to_string(key(random)), std::to_string(key(random)),
                          std::to_string(n)};
            const int asked = n % 2 == 0 ? model.rowCount() : n % model.rowCount();
            const int placed = n % 2 == 0 ? model.append(row) : model.insert(asked, row);
            // Where a stable sort puts it: among its equals, nearest the asked place.
            const auto lower = std::lower_bound(expected.begin(), expected.end(), row, less);
            const auto upper = std::upper_bound(lower, expected.end(), row, less);
            const auto at = std::clamp(expected.begin() + asked, lower, upper);
            EXPECT_EQ(placed, at - expected.begin()) << n;
            expected.insert(at, row);
        }
        ASSERT_EQ(AllRows(model), expected) << descending;
    }
}

TEST(TableRecordModelTest, AppendRowsPlacesLikeOneAppendPerRow)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> key(0, 9);
    std::vector<Row> rows;
    for (int n = 0; n < 300; ++n) {
        rows.push_back({std::to_string(key(random)), std::to_string(n)});
    }
    const std::vector<Row> first(rows.begin(), rows.begin() + 100);
    const std::vector<Row> rest(rows.begin() + 100, rows.end());
    auto stateOf = [](const Row& row) {
        return TableRecordModel::NewState{row[0] == "3" ? 1u : 0u, std::stoi(row[0])};
    };
    for (const int order : {0, 1, 2}) { // unsorted, sorted, sorted but edited
        TableRecordModel one(2);
        TableRecordModel batch(2);
        for (TableRecordModel* model : {&one, &batch}) {
            model->appendRows(first);
            if (order > 0) {
                model->sort(0, true);
            }
            if (order > 1) {
                model->setCells(5, {"5", "edited"});
            }
        }
        for (const Row& row : rest) {
            one.append(row, stateOf(row));
        }
        batch.appendRows(rest, stateOf);
        EXPECT_EQ(AllRows(batch), AllRows(one)) << order;
        EXPECT_EQ(batch.checkedCount(), one.checkedCount()) << order;
        for (int i = 0; i < batch.rowCount(); ++i) {
            ASSERT_EQ(batch.comboIndex(i), one.comboIndex(i)) << order << " " << i;
        }
    }
}

TEST(TableRecordModelTest, AnEditOrAnUnsortedAppendSortsAgainOnTheNextAdd)
{
    TableRecordModel model(1);
    for (const char* key : {"b", "d", "a"}) {
        model.append({key});
    }
    model.sort(0, false);
    model.setCells(0, {"z"});
    EXPECT_EQ(model.append({"c"}), 1);
    EXPECT_EQ(Column(model, 0), "b c d z ");

    model.appendUnsorted({"a"});
    EXPECT_EQ(Column(model, 0), "b c d z a ");
    model.append({"e"});
    EXPECT_EQ(Column(model, 0), "a b c d e z ");
}

TEST(TableRecordModelTest, ChecksCountAndRemoveLastFirst)
{
    TableRecordModel model(2);
    for (int n = 0; n < 8; ++n) {
        model.append({std::to_string(n), ""});
    }
    for (const int index : {1, 3, 6}) {
        model.setCheck(index, 0, true);
    }
    model.setCheck(2, 1, true); // a second check-box column does not count
    EXPECT_EQ(model.checkedCount(), 3);
    EXPECT_EQ(model.firstChecked(), 1);
    model.setCells(3, {"3*", ""});
    EXPECT_TRUE(model.isChecked(3)); // an edit keeps the states
    EXPECT_EQ(model.remove(1), (Row{"1", ""}));
    EXPECT_EQ(model.checkedCount(), 2);
    EXPECT_EQ(model.removeChecked(), (std::vector<Row>{{"6", ""}, {"3*", ""}}));
    EXPECT_EQ(Column(model, 0), "0 2 4 5 7 ");
    EXPECT_EQ(model.checkedCount(), 0);
    EXPECT_TRUE(model.record(1).isChecked(1));

    model.setAllChecks(0b11u);
    EXPECT_EQ(model.checkedCount(), 5);
    model.append({"8", ""}, {1u, 2});
    EXPECT_EQ(model.checkedCount(), 6);
    EXPECT_EQ(model.comboIndex(5), 2);
    model.setAllChecks(0);
    EXPECT_EQ(model.checkedCount(), 0);
    EXPECT_EQ(model.firstChecked(), -1);
}

TEST(TableRecordModelTest, DateFilterKeepsWholeDaysAndReturnsTheRestToTheirPlaces)
{
    const Row rows[] = {
        {"2020-10-25 23:59:59", "a"}, {"2020-10-26 00:00:00", "b"}, {"2020-10-27 12:00:00", "c"},
        {"2020-10-28", "d"},          {"not a date", "e"},          {"2020-10-29 08:00:00", "f"},
    };
    struct Case
    {
        QDate first;
        QDate last;
        const char* kept;
    };
    const Case cases[] = {
        {QDate(2020, 10, 26), QDate(2020, 10, 28), "bcd"},
        {QDate(2020, 10, 28), QDate(2020, 10, 26), "bcd"},
        {QDate(2020, 10, 27), QDate(2020, 10, 27), "c"},
        {QDate(), QDate(2020, 10, 26), "ab"},
        {QDate(2020, 10, 28), QDate(), "df"},
        {QDate(), QDate(), "abcdef"},
        {QDate(2021, 1, 1), QDate(2021, 2, 1), ""},
    };
    TableRecordModel model(2);
    for (const Row& row : rows) {
        model.append(row, {row[1] == "c" || row[1] == "e" ? 1u : 0u, -1});
    }
    for (const Case& c : cases) {
        const int hidden = model.filterByDate(0, c.first, c.last);
        std::string kept;
        int checked = 0;
        for (const Row& row : AllRows(model)) {
            kept += row[1];
            checked += row[1] == "c" || row[1] == "e" ? 1 : 0;
        }
        EXPECT_EQ(kept, c.kept) << c.first.toString().toStdString();
        EXPECT_EQ(hidden, 6 - static_cast<int>(kept.size()));
        EXPECT_EQ(model.hiddenCount(), hidden);
        EXPECT_EQ(model.checkedCount(), checked);
    }
    model.filterByDate(0, QDate(), QDate());
    EXPECT_EQ(AllRows(model), std::vector<Row>(std::begin(rows), std::end(rows)));

    // A sorted model sorts the returned records in.
    model.filterByDate(0, QDate(2020, 10, 27), QDate());
    model.sort(1, true);
    model.filterByDate(0, QDate(), QDate());
    EXPECT_EQ(Column(model, 1), "f e d c b a ");
    model.clear();
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(model.hiddenCount(), 0);
    EXPECT_FALSE(model.isSorted());
}

} // namespace

namespace {

// Records of the days around 2020-10-27, named by their second cell.
std::vector<Row> DayRows(const std::string& names)
{
    std::vector<Row> rows;
    int hour = 0;
    for (const char name : names) {
        const int day = 24 + (name - 'a') % 6;
        rows.push_back(
            {"2020-10-" + std::to_string(day) + " 0" + std::to_string(hour++ % 10) + ":00:00",
             std::string(1, name)});
    }
    return rows;
}

std::string Names(const TableRecordModel& model)
{
    std::string names;
    for (int i = 0; i < model.rowCount(); ++i) {
        names += std::string(model.cell(i, 1));
    }
    return names;
}

// Every record's key is 1000000 + the number in its third cell: whatever
// moves the records, the key moves with its record.
void ExpectKeysFollowTheirRecords(const TableRecordModel& model, const std::string& step)
{
    for (int i = 0; i < model.rowCount(); ++i) {
        EXPECT_EQ(model.key(i), 1000000 + std::stoll(std::string(model.cell(i, 2))))
            << step << ", record " << i;
        EXPECT_EQ(model.record(i).key(), model.key(i));
    }
}

} // namespace

TEST(TableRecordModelTest, DateFilterHoldsForRecordsAddedLater)
{
    // Days: a 24th, b 25th, c 26th, d 27th, e 28th, f 29th.
    for (const bool sorted : {true, false}) {
        SCOPED_TRACE(sorted);
        TableRecordModel model(2);
        model.appendRows(DayRows("ace"));
        if (sorted) {
            model.sort(0, true);
        }
        EXPECT_EQ(model.filterByDate(0, QDate(2020, 10, 25), QDate(2020, 10, 27)), 2);
        EXPECT_EQ(Names(model), "c");

        EXPECT_EQ(model.append(DayRows("f").front()), -1) << "hidden";
        EXPECT_GE(model.append(DayRows("b").front()), 0);
        model.appendRows(DayRows("adfb"));
        EXPECT_EQ(model.insert(model.rowCount(), DayRows("a").front()), -1);
        model.appendUnsorted(DayRows("d").front());
        EXPECT_EQ(model.hiddenCount(), 6);
        const std::string shown = Names(model);
        EXPECT_EQ(std::string(shown).size(), 5u);
        EXPECT_EQ(shown.find_first_not_of("bcd"), std::string::npos) << shown;

        // Everything back: sorted newest first, else in the order added.
        model.filterByDate(0, QDate(), QDate());
        EXPECT_EQ(model.hiddenCount(), 0);
        if (sorted) {
            for (int i = 1; i < model.rowCount(); ++i) {
                EXPECT_GE(model.cell(i - 1, 0), model.cell(i, 0)) << i;
            }
            EXPECT_EQ(model.rowCount(), 11);
        } else {
            EXPECT_EQ(Names(model), "acefbadfbad");
        }
        // Without bounds nothing is hidden any more.
        EXPECT_GE(model.append(DayRows("f").front()), 0);
        EXPECT_EQ(model.hiddenCount(), 0);
    }
}

TEST(TableRecordModelTest, DateFilterReturnsHiddenRecordsInTheirSortedPlaces)
{
    // Many records on alternate days, filtered and returned repeatedly, with
    // appends in between: the order stays the one a full sort gives.
    TableRecordModel model(2);
    std::mt19937 random(7);
    std::vector<Row> rows;
    for (int i = 0; i < 300; ++i) {
        const int day = 1 + static_cast<int>(random() % 28);
        char time[32];
        std::snprintf(time, sizeof time, "2020-10-%02d %02d:%02d:00", day,
                      static_cast<int>(random() % 24), static_cast<int>(random() % 60));
        rows.push_back({time, std::to_string(i)});
    }
    model.setSorted(true);
    model.appendRows(std::vector<Row>(rows.begin(), rows.begin() + 100));
    model.filterByDate(0, QDate(2020, 10, 5), QDate(2020, 10, 12));
    model.appendRows(std::vector<Row>(rows.begin() + 100, rows.begin() + 200));
    model.filterByDate(0, QDate(2020, 10, 10), QDate());
    for (std::size_t i = 200; i < rows.size(); ++i) {
        model.append(rows[i]);
    }
    for (int i = 0; i < model.rowCount(); ++i) {
        EXPECT_GE(model.cell(i, 0), "2020-10-10");
    }
    model.filterByDate(0, QDate(), QDate());
    ASSERT_EQ(model.rowCount(), 300);
    TableRecordModel reference(2);
    reference.appendRows(rows);
    reference.sort(0, true);
    for (int i = 0; i < model.rowCount(); ++i) {
        EXPECT_EQ(model.cell(i, 0), reference.cell(i, 0)) << i;
    }
}

TEST(TableRecordModelTest, DateFilterTakesOnlyCellsThatStartWithADay)
{
    TableRecordModel model(2);
    for (const char* cell : {"2020-10-27", "2020-10-27 x", "2020-1-27", "20201027", "2020/10/27",
                             "", "2020-10-2", "x2020-10-27"}) {
        model.append({cell, ""});
    }
    EXPECT_EQ(model.filterByDate(0, QDate(2020, 10, 27), QDate(2020, 10, 27)), 6);
    EXPECT_EQ(Column(model, 0), "2020-10-27 2020-10-27 x ");
}

TEST(TableRecordModelTest, ReplaceCellsReachesHiddenRecords)
{
    TableRecordModel model(2);
    model.appendRows({{"2020-10-27", "1"}, {"2020-10-20", "2"}});
    model.setCheck(1, 0, true);
    model.filterByDate(0, QDate(2020, 10, 27), QDate());
    ASSERT_EQ(model.hiddenCount(), 1);

    EXPECT_TRUE(model.replaceCells(0, "2020-10-27", {"2020-10-27", "one"}));
    EXPECT_TRUE(model.replaceCells(0, "2020-10-20", {"2020-10-20", "two"}));
    EXPECT_FALSE(model.replaceCells(0, "2020-10-21", {"2020-10-21", "none"}));
    EXPECT_EQ(Column(model, 1), "one ");
    model.filterByDate(0, QDate(), QDate());
    EXPECT_EQ(Column(model, 1), "one two ");
    EXPECT_TRUE(model.isChecked(1)) << "the hidden record kept its states";
}

TEST(TableRecordModelTest, IndexOfSerialFindsShownRecords)
{
    TableRecordModel model(1);
    model.appendRows({{"2020-10-27"}, {"2020-10-28"}});
    const std::uint32_t second = model.record(1).serial();
    EXPECT_EQ(model.indexOfSerial(second), 1);
    model.sort(0, true);
    EXPECT_EQ(model.indexOfSerial(second), 0);
    model.filterByDate(0, QDate(2020, 10, 27), QDate(2020, 10, 27));
    EXPECT_EQ(model.indexOfSerial(second), -1);
    EXPECT_EQ(model.indexOfSerial(0), -1);
}

TEST(TableRecordModelTest, AKeyFollowsItsRecordThroughSortingFilteringAndEdits)
{
    const auto row = [](int day, int n) {
        return Row{"2026-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day), "x",
                   std::to_string(n)};
    };
    const auto state = [](int n) {
        TableRecordModel::NewState newState;
        newState.key = 1000000 + n;
        return newState;
    };
    TableRecordModel model(3);
    for (int n = 0; n < 10; ++n) {
        model.append(row(1 + n * 7 % 28, n), state(n));
    }
    ASSERT_TRUE(model.sort(0, true));
    ExpectKeysFollowTheirRecords(model, "sorted descending");
    ASSERT_TRUE(model.sort(0, false));
    ExpectKeysFollowTheirRecords(model, "sorted ascending");

    for (int n = 10; n < 20; ++n) {
        model.insert(n % model.rowCount(), row(1 + n * 5 % 28, n), state(n));
    }
    ExpectKeysFollowTheirRecords(model, "sorted insertion");
    std::vector<Row> batch;
    for (int n = 20; n < 30; ++n) {
        batch.push_back(row(1 + n * 3 % 28, n));
    }
    model.appendRows(batch, [&state](const Row& cells) { return state(std::stoi(cells[2])); });
    ExpectKeysFollowTheirRecords(model, "sorted batch");

    // An edit keeps the key; the next add sorts the edited record in.
    const std::string edited(model.cell(3, 2));
    ASSERT_TRUE(model.setCells(3, {"2026-01-31", "edited", edited}));
    EXPECT_EQ(model.key(3), 1000000 + std::stoll(edited));
    model.append(row(2, 30), state(30));
    ExpectKeysFollowTheirRecords(model, "edit, then an add");
    EXPECT_EQ(model.key(model.rowCount() - 1), 1000000 + std::stoll(edited)) << "sorted last";

    EXPECT_GT(model.filterByDate(0, QDate(2026, 1, 10), QDate(2026, 1, 20)), 0);
    ExpectKeysFollowTheirRecords(model, "filtered");
    model.filterByDate(0, QDate(), QDate());
    EXPECT_EQ(model.rowCount(), 31);
    ExpectKeysFollowTheirRecords(model, "filter lifted");

    model.remove(0);
    model.setCheck(1, 0, true);
    model.removeChecked();
    ExpectKeysFollowTheirRecords(model, "removed");
    EXPECT_EQ(model.key(-1), 0);
    EXPECT_EQ(model.key(model.rowCount()), 0);
    EXPECT_EQ(TableRecordModel().key(0), 0);
}
