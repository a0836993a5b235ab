#pragma once

#include <QDate>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The records of a table in their shown order: sorting, sorted insertion and
// the date filter. No widget and nothing but QtCore (for the dates), so it can
// be filled and tested anywhere; CTableWidget is the view over one.
//
// A record is one heap block holding its cells' bytes behind their end
// offsets, its check states (one bit per check-box column, bit 0 is "the
// record is checked"), its combo index (-1 for none) and its key, a 64-bit
// value of the caller's that follows the record through sorting, filtering
// and edits (the diary keeps the journal's record id there). An append costs one
// allocation; a sort or an insert moves pointers. A record's cells never
// change in place: a new block replaces them, with a new serial number, so a
// view can tell by the serial whether a record it shows is still the same.
//
// Record indices are 0-based, and so are columns and check indices. Every
// operation with an index outside the records changes nothing. Not thread
// safe; one thread at a time.
class TableRecordModel
{
    struct Block;
    struct BlockDeleter
    {
        void operator()(Block* block) const;
    };
    using BlockPtr = std::unique_ptr<Block, BlockDeleter>;

public:
    using Row = std::vector<std::string>;
    static constexpr int kMaxCheckColumns = 32;

    // Read access to one record; valid until the model changes.
    class RecordView
    {
    public:
        int cellCount() const;
        // The cell's bytes; empty for a column beyond the record's cells.
        std::string_view cell(int column) const;
        Row cells() const;
        bool isChecked(int checkIndex = 0) const;
        std::uint32_t checks() const;
        int comboIndex() const;
        std::int64_t key() const;
        std::uint32_t serial() const;

    private:
        friend class TableRecordModel;
        explicit RecordView(const Block* block) : m_block(block) {}
        const Block* m_block;
    };

    // True when a precedes b. Must be a strict weak ordering.
    using Comparator = std::function<bool(const RecordView&, const RecordView&)>;

    // What a new record starts with: check bits, combo index and key.
    struct NewState
    {
        std::uint32_t checks = 0;
        int comboIndex = -1;
        std::int64_t key = 0;
    };

    explicit TableRecordModel(int columnCount = 1);
    ~TableRecordModel();
    TableRecordModel(TableRecordModel&&) noexcept;
    TableRecordModel& operator=(TableRecordModel&&) noexcept;
    TableRecordModel(const TableRecordModel&) = delete;
    TableRecordModel& operator=(const TableRecordModel&) = delete;

    int columnCount() const { return m_columnCount; }
    bool isValidColumn(int column) const { return column >= 0 && column < m_columnCount; }

    // Records.
    int rowCount() const { return static_cast<int>(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }
    bool isValidIndex(int index) const { return index >= 0 && index < rowCount(); }
    // The record at a valid index.
    RecordView record(int index) const;
    // Copy of the record's cells; empty for an index outside the records.
    Row cells(int index) const;
    // Empty for an index outside the records or a missing cell.
    std::string_view cell(int index, int column) const;
    // First record whose cell in `column` equals `value`, or -1.
    int indexOf(int column, std::string_view value) const;
    // Bumped by every change of the records, their order or their states.
    std::uint64_t revision() const { return m_revision; }
    void reserve(std::size_t count);

    // Adding. Each returns the index the record went to (-1 when the date
    // filter hides it). A sorted model puts it at its sorted place (among
    // equal records, as close to the asked place as the order allows); when
    // the order was disturbed (an edit, an unsorted append, new comparators)
    // it sorts everything again first.
    int append(const Row& cells);
    int append(const Row& cells, const NewState& state);
    // Before `index` (0..rowCount()); -1, with nothing added, outside.
    int insert(int index, const Row& cells);
    int insert(int index, const Row& cells, const NewState& state);
    // At the end, whatever the order; a sorted model sorts at the next add.
    void appendUnsorted(const Row& cells);
    // Appends every row as append does, in one pass: a sorted model sorts
    // the new records and merges them in. `stateOf` gives each record's
    // states (none: unchecked, no combo index, key 0); it is called once per
    // row, in the rows' order.
    using StateOf = std::function<NewState(const Row&)>;
    void appendRows(const std::vector<Row>& rows, const StateOf& stateOf = nullptr);

    // Changing and removing.
    // False for an index outside the records. Keeps the record's states and key.
    bool setCells(int index, const Row& cells);
    // The removed cells; empty for an index outside the records.
    Row remove(int index);
    // The checked records' cells, last index first.
    std::vector<Row> removeChecked();
    // Empties the records and the hidden ones; the model is no longer sorted.
    // The date filter stays.
    void clear();

    // Check states and combo indexes.
    bool isChecked(int index) const;
    // Sets one check bit (0..kMaxCheckColumns - 1) of one record.
    void setCheck(int index, int checkIndex, bool checked);
    // Gives every shown record the check bits `checks`.
    void setAllChecks(std::uint32_t checks);
    // Records with check bit 0 set, among the shown ones.
    int checkedCount() const { return m_checkedCount; }
    // The first checked record, or -1.
    int firstChecked() const;
    int comboIndex(int index) const;
    void setComboIndex(int index, int comboIndex);
    // The record's key; 0 for an index outside the records.
    std::int64_t key(int index) const;

    // Sorting.
    // Sorts by the column: descending greatest first, else smallest first, as
    // byte strings (or by the column's own comparators). Equal keys order by
    // the secondary column, greatest first. False, with nothing changed, for
    // fewer than two records or a column outside the table.
    bool sort(int column, bool descending);
    // While sorted, every add keeps the records in the last sort's order.
    void setSorted(bool sorted);
    bool isSorted() const { return m_sorted; }
    int sortColumn() const { return m_sortColumn; }
    bool sortDescending() const { return m_sortDescending; }
    // Empty functions restore the defaults.
    void setComparators(int column, Comparator descending, Comparator ascending);
    // -1 for none.
    void setSecondarySortColumn(int column);
    // Stable sort by the first cell, greatest first.
    void sortByFirstCellDescending();

    // Hides, until the next filter, the records whose date column lies
    // outside [first, last], whole days compared ("yyyy-MM-dd", the first ten
    // characters of the cell, compared as text). A null bound leaves its side
    // open; reversed bounds are swapped; with a bound set, a cell that does
    // not start with a date of that form is outside. Records added while a
    // bound is set are hidden as well when outside (in an unsorted model such
    // a record returns at the end, wherever it was inserted). Each filter first returns
    // the records the previous one hid, to their former places (a sorted
    // model merges them in), so two null bounds show everything. Returns the
    // number hidden, 0 for a column outside the table.
    int filterByDate(int column, const QDate& first, const QDate& last);
    int hiddenCount() const { return static_cast<int>(m_hidden.size()); }

    // Replaces the cells of the first record, shown or hidden, whose cell in
    // `column` equals `key`, keeping its states; false when there is none.
    bool replaceCells(int column, std::string_view key, const Row& cells);
    // The shown record with the serial, or -1.
    int indexOfSerial(std::uint32_t serial) const;

private:
    struct HiddenRecord
    {
        std::size_t position;
        BlockPtr block;
    };

    BlockPtr makeBlock(const Row& cells, const NewState& state);
    Comparator comparatorFor(int column, bool descending) const;
    std::size_t sortedPosition(std::size_t index, const Block& block) const;
    void sortRecords();
    void markOrderChanged();
    void recountChecked();
    int place(std::size_t index, BlockPtr block, bool keepOrder);

    // The active date filter: days as "yyyy-MM-dd", an empty one open.
    struct DayFilter
    {
        int column = 0;
        std::string first;
        std::string last;
        bool active() const { return !first.empty() || !last.empty(); }
        bool admits(std::string_view cell) const;
    };
    bool hiddenByFilter(const Block& block) const;
    // Keeps records the filter hides among the hidden ones; their positions
    // are where they would be among all records, at the end when added.
    void hideAll(std::vector<HiddenRecord> records);
    void returnHidden();

    struct ColumnOrder
    {
        Comparator descending;
        Comparator ascending;
    };

    int m_columnCount;
    std::vector<BlockPtr> m_records;
    std::vector<HiddenRecord> m_hidden;
    DayFilter m_dayFilter;
    // The hidden records are in the shown records' sorted order.
    bool m_hiddenInOrder = false;
    std::vector<ColumnOrder> m_orders;
    int m_checkedCount = 0;
    std::uint64_t m_revision = 0;
    std::uint32_t m_nextSerial = 1;
    int m_sortColumn = 0;
    int m_secondarySortColumn = -1;
    bool m_sortDescending = true;
    bool m_sorted = false;
    // The records may be out of the last sort's order (edited, returned).
    bool m_orderDirty = false;
};
