#include "base_ui/controls/TableRecordModel.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <utility>

// One record: this header, then cellCount end offsets (uint32), then the
// cells' bytes one after the other.
struct TableRecordModel::Block
{
    std::int64_t key;
    std::uint32_t serial;
    std::uint32_t checks;
    std::int32_t comboIndex;
    std::uint32_t cellCount;

    const std::uint32_t* ends() const { return reinterpret_cast<const std::uint32_t*>(this + 1); }
    std::uint32_t* ends() { return reinterpret_cast<std::uint32_t*>(this + 1); }
    const char* bytes() const { return reinterpret_cast<const char*>(ends() + cellCount); }
    char* bytes() { return reinterpret_cast<char*>(ends() + cellCount); }

    std::string_view cell(int column) const
    {
        if (column < 0 || static_cast<std::uint32_t>(column) >= cellCount) {
            return {};
        }
        const std::uint32_t begin = column == 0 ? 0 : ends()[column - 1];
        return std::string_view(bytes() + begin, ends()[column] - begin);
    }

    bool checked() const { return (checks & 1u) != 0; }
};

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
constexpr std::size_t kDateLength = 10;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The "yyyy-MM-dd" a date cell starts with, empty when it does not start
// with one. Compared as text, such days order as the dates do.
std::string_view dayOf(std::string_view cell)
{
    if (cell.size() < kDateLength) {
        return {};
    }
    for (std::size_t i = 0; i < kDateLength; ++i) {
        const bool ok = i == 4 || i == 7 ? cell[i] == '-' : isDigit(cell[i]);
        if (!ok) {
            return {};
        }
    }
    return cell.substr(0, kDateLength);
}

std::string dayText(const QDate& date)
{
    return date.isValid() ? date.toString(kDateFormat).toStdString() : std::string();
}

} // namespace

void TableRecordModel::BlockDeleter::operator()(Block* block) const
{
    ::operator delete(block);
}

// ---------------------------------------------------------------------------
// RecordView

int TableRecordModel::RecordView::cellCount() const
{
    return static_cast<int>(m_block->cellCount);
}

std::string_view TableRecordModel::RecordView::cell(int column) const
{
    return m_block->cell(column);
}

TableRecordModel::Row TableRecordModel::RecordView::cells() const
{
    Row row;
    row.reserve(m_block->cellCount);
    for (int c = 0; c < cellCount(); ++c) {
        row.emplace_back(cell(c));
    }
    return row;
}

bool TableRecordModel::RecordView::isChecked(int checkIndex) const
{
    return checkIndex >= 0 && checkIndex < kMaxCheckColumns &&
           (m_block->checks >> checkIndex & 1u) != 0;
}

std::uint32_t TableRecordModel::RecordView::checks() const
{
    return m_block->checks;
}

int TableRecordModel::RecordView::comboIndex() const
{
    return m_block->comboIndex;
}

std::int64_t TableRecordModel::RecordView::key() const
{
    return m_block->key;
}

std::uint32_t TableRecordModel::RecordView::serial() const
{
    return m_block->serial;
}

// ---------------------------------------------------------------------------
// Records

TableRecordModel::TableRecordModel(int columnCount)
    : m_columnCount(std::max(columnCount, 1)), m_orders(static_cast<std::size_t>(m_columnCount))
{}

TableRecordModel::~TableRecordModel() = default;
TableRecordModel::TableRecordModel(TableRecordModel&&) noexcept = default;
TableRecordModel& TableRecordModel::operator=(TableRecordModel&&) noexcept = default;

TableRecordModel::BlockPtr TableRecordModel::makeBlock(const Row& cells, const NewState& state)
{
    std::size_t textBytes = 0;
    for (const std::string& cell : cells) {
        textBytes += cell.size();
    }
    const std::size_t size = sizeof(Block) + cells.size() * sizeof(std::uint32_t) + textBytes;
    BlockPtr block(new (::operator new(size))
                       Block{state.key, m_nextSerial++, state.checks, state.comboIndex,
                             static_cast<std::uint32_t>(cells.size())});
    if (m_nextSerial == 0) {
        m_nextSerial = 1;
    }
    std::uint32_t* ends = block->ends();
    char* bytes = block->bytes();
    std::uint32_t end = 0;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        std::memcpy(bytes + end, cells[c].data(), cells[c].size());
        end += static_cast<std::uint32_t>(cells[c].size());
        ends[c] = end;
    }
    return block;
}

TableRecordModel::RecordView TableRecordModel::record(int index) const
{
    return RecordView(m_records[static_cast<std::size_t>(index)].get());
}

TableRecordModel::Row TableRecordModel::cells(int index) const
{
    return isValidIndex(index) ? record(index).cells() : Row();
}

std::string_view TableRecordModel::cell(int index, int column) const
{
    return isValidIndex(index) ? record(index).cell(column) : std::string_view();
}

int TableRecordModel::indexOf(int column, std::string_view value) const
{
    const auto found = std::find_if(m_records.begin(), m_records.end(),
                                    [&](const BlockPtr& b) { return b->cell(column) == value; });
    return found == m_records.end() ? -1 : static_cast<int>(found - m_records.begin());
}

void TableRecordModel::reserve(std::size_t count)
{
    m_records.reserve(count);
}

int TableRecordModel::append(const Row& cells)
{
    return append(cells, NewState());
}

int TableRecordModel::insert(int index, const Row& cells)
{
    return insert(index, cells, NewState());
}

int TableRecordModel::append(const Row& cells, const NewState& state)
{
    return place(m_records.size(), makeBlock(cells, state), true);
}

int TableRecordModel::insert(int index, const Row& cells, const NewState& state)
{
    if (index < 0 || index > rowCount()) {
        return -1;
    }
    return place(static_cast<std::size_t>(index), makeBlock(cells, state), true);
}

void TableRecordModel::appendUnsorted(const Row& cells)
{
    place(m_records.size(), makeBlock(cells, NewState()), false);
}

void TableRecordModel::appendRows(const std::vector<Row>& rows, const StateOf& stateOf)
{
    if (rows.empty()) {
        return;
    }
    const std::size_t first = m_records.size();
    m_records.reserve(first + rows.size());
    std::vector<HiddenRecord> hidden;
    for (const Row& cells : rows) {
        BlockPtr block = makeBlock(cells, stateOf ? stateOf(cells) : NewState());
        if (hiddenByFilter(*block)) {
            const std::size_t position = m_records.size() + m_hidden.size() + hidden.size();
            hidden.push_back(HiddenRecord{position, std::move(block)});
            continue;
        }
        if (block->checked()) {
            ++m_checkedCount;
        }
        m_records.push_back(std::move(block));
    }
    ++m_revision;
    hideAll(std::move(hidden));
    if (!m_sorted || m_records.size() == first) {
        return;
    }
    if (m_orderDirty) {
        sortRecords();
        return;
    }
    // Stable on both sides: new records follow their equals, in row order.
    const Comparator less = comparatorFor(m_sortColumn, m_sortDescending);
    auto byOrder = [&less](const BlockPtr& a, const BlockPtr& b) {
        return less(RecordView(a.get()), RecordView(b.get()));
    };
    const auto middle = m_records.begin() + static_cast<std::ptrdiff_t>(first);
    std::stable_sort(middle, m_records.end(), byOrder);
    std::inplace_merge(m_records.begin(), middle, m_records.end(), byOrder);
}

int TableRecordModel::place(std::size_t index, BlockPtr block, bool keepOrder)
{
    if (hiddenByFilter(*block)) {
        std::vector<HiddenRecord> hidden;
        hidden.push_back(HiddenRecord{m_records.size() + m_hidden.size(), std::move(block)});
        hideAll(std::move(hidden));
        ++m_revision;
        if (!keepOrder) {
            markOrderChanged();
        }
        return -1;
    }
    if (keepOrder && m_sorted && !m_orderDirty) {
        index = sortedPosition(index, *block);
    }
    if (block->checked()) {
        ++m_checkedCount;
    }
    const Block* const placed = block.get();
    m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(index), std::move(block));
    ++m_revision;
    if (!keepOrder) {
        markOrderChanged();
    } else if (m_sorted && m_orderDirty) {
        sortRecords();
        const auto at = std::find_if(m_records.begin(), m_records.end(),
                                     [placed](const BlockPtr& b) { return b.get() == placed; });
        return static_cast<int>(at - m_records.begin());
    }
    return static_cast<int>(index);
}

bool TableRecordModel::setCells(int index, const Row& cells)
{
    if (!isValidIndex(index)) {
        return false;
    }
    BlockPtr& slot = m_records[static_cast<std::size_t>(index)];
    slot = makeBlock(cells, NewState{slot->checks, slot->comboIndex, slot->key});
    markOrderChanged();
    return true;
}

TableRecordModel::Row TableRecordModel::remove(int index)
{
    if (!isValidIndex(index)) {
        return {};
    }
    Row removed = record(index).cells();
    if (record(index).isChecked()) {
        --m_checkedCount;
    }
    m_records.erase(m_records.begin() + index);
    ++m_revision;
    return removed;
}

std::vector<TableRecordModel::Row> TableRecordModel::removeChecked()
{
    std::vector<Row> removed;
    for (std::size_t i = m_records.size(); i-- > 0;) {
        if (m_records[i]->checked()) {
            removed.push_back(RecordView(m_records[i].get()).cells());
        }
    }
    if (!removed.empty()) {
        m_records.erase(std::remove_if(m_records.begin(), m_records.end(),
                                       [](const BlockPtr& b) { return b->checked(); }),
                        m_records.end());
        ++m_revision;
    }
    m_checkedCount = 0;
    return removed;
}

void TableRecordModel::clear()
{
    m_records.clear();
    m_hidden.clear();
    m_hiddenInOrder = false;
    m_checkedCount = 0;
    m_sorted = false;
    m_orderDirty = false;
    ++m_revision;
}

// ---------------------------------------------------------------------------
// Check states and combo indexes

bool TableRecordModel::isChecked(int index) const
{
    return isValidIndex(index) && record(index).isChecked();
}

void TableRecordModel::setCheck(int index, int checkIndex, bool checked)
{
    if (!isValidIndex(index) || checkIndex < 0 || checkIndex >= kMaxCheckColumns) {
        return;
    }
    Block& block = *m_records[static_cast<std::size_t>(index)];
    const bool wasChecked = block.checked();
    const std::uint32_t bit = 1u << checkIndex;
    block.checks = checked ? block.checks | bit : block.checks & ~bit;
    m_checkedCount += static_cast<int>(block.checked()) - static_cast<int>(wasChecked);
    ++m_revision;
}

void TableRecordModel::setAllChecks(std::uint32_t checks)
{
    for (BlockPtr& block : m_records) {
        block->checks = checks;
    }
    m_checkedCount = (checks & 1u) != 0 ? rowCount() : 0;
    ++m_revision;
}

int TableRecordModel::firstChecked() const
{
    const auto found = std::find_if(m_records.begin(), m_records.end(),
                                    [](const BlockPtr& b) { return b->checked(); });
    return found == m_records.end() ? -1 : static_cast<int>(found - m_records.begin());
}

int TableRecordModel::comboIndex(int index) const
{
    return isValidIndex(index) ? record(index).comboIndex() : -1;
}

void TableRecordModel::setComboIndex(int index, int comboIndex)
{
    if (isValidIndex(index)) {
        m_records[static_cast<std::size_t>(index)]->comboIndex = comboIndex;
        ++m_revision;
    }
}

std::int64_t TableRecordModel::key(int index) const
{
    return isValidIndex(index) ? record(index).key() : 0;
}

void TableRecordModel::recountChecked()
{
    m_checkedCount = static_cast<int>(std::count_if(
        m_records.begin(), m_records.end(), [](const BlockPtr& b) { return b->checked(); }));
}

// ---------------------------------------------------------------------------
// Sorting

TableRecordModel::Comparator TableRecordModel::comparatorFor(int column, bool descending) const
{
    const ColumnOrder& order = m_orders[static_cast<std::size_t>(column)];
    if (descending && order.descending) {
        return order.descending;
    }
    if (!descending && order.ascending) {
        return order.ascending;
    }
    const int secondary = m_secondarySortColumn;
    return [column, secondary, descending](const RecordView& a, const RecordView& b) {
        const int compared = a.cell(column).compare(b.cell(column));
        if (compared != 0) {
            return descending ? compared > 0 : compared < 0;
        }
        return secondary >= 0 && a.cell(secondary) > b.cell(secondary);
    };
}

std::size_t TableRecordModel::sortedPosition(std::size_t index, const Block& block) const
{
    // Where a stable sort would put a record added at `index`: among equal
    // records at its own place, else where the order demands.
    const Comparator less = comparatorFor(m_sortColumn, m_sortDescending);
    const RecordView added(&block);
    const auto lower = std::lower_bound(
        m_records.begin(), m_records.end(), added,
        [&less](const BlockPtr& a, const RecordView& b) { return less(RecordView(a.get()), b); });
    const auto upper = std::upper_bound(
        lower, m_records.end(), added,
        [&less](const RecordView& a, const BlockPtr& b) { return less(a, RecordView(b.get())); });
    const std::size_t first = static_cast<std::size_t>(lower - m_records.begin());
    const std::size_t last = static_cast<std::size_t>(upper - m_records.begin());
    return std::clamp(index, first, last);
}

void TableRecordModel::sortRecords()
{
    const Comparator less = comparatorFor(m_sortColumn, m_sortDescending);
    std::stable_sort(m_records.begin(), m_records.end(),
                     [&less](const BlockPtr& a, const BlockPtr& b) {
                         return less(RecordView(a.get()), RecordView(b.get()));
                     });
    m_orderDirty = false;
    ++m_revision;
}

void TableRecordModel::markOrderChanged()
{
    ++m_revision;
    m_hiddenInOrder = false;
    if (m_sorted) {
        m_orderDirty = true;
    }
}

bool TableRecordModel::sort(int column, bool descending)
{
    if (rowCount() < 2 || !isValidColumn(column)) {
        return false;
    }
    m_sortColumn = column;
    m_sortDescending = descending;
    m_sorted = true;
    m_hiddenInOrder = false;
    sortRecords();
    return true;
}

void TableRecordModel::setSorted(bool sorted)
{
    m_sorted = sorted;
    m_orderDirty = sorted;
    m_hiddenInOrder = false;
}

void TableRecordModel::setComparators(int column, Comparator descending, Comparator ascending)
{
    if (!isValidColumn(column)) {
        return;
    }
    ColumnOrder& order = m_orders[static_cast<std::size_t>(column)];
    order.descending = std::move(descending);
    order.ascending = std::move(ascending);
    markOrderChanged();
}

void TableRecordModel::setSecondarySortColumn(int column)
{
    m_secondarySortColumn = column;
    markOrderChanged();
}

void TableRecordModel::sortByFirstCellDescending()
{
    std::stable_sort(m_records.begin(), m_records.end(),
                     [](const BlockPtr& a, const BlockPtr& b) { return a->cell(0) > b->cell(0); });
    markOrderChanged();
}

// ---------------------------------------------------------------------------
// Date filter

int TableRecordModel::filterByDate(int column, const QDate& first, const QDate& last)
{
    if (!isValidColumn(column)) {
        return 0;
    }
    returnHidden();
    QDate from = first;
    QDate to = last;
    if (from.isValid() && to.isValid() && from > to) {
        std::swap(from, to);
    }
    m_dayFilter = DayFilter{column, dayText(from), dayText(to)};
    if (m_dayFilter.active()) {
        std::vector<BlockPtr> kept;
        kept.reserve(m_records.size());
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            if (m_dayFilter.admits(m_records[i]->cell(column))) {
                kept.push_back(std::move(m_records[i]));
            } else {
                m_hidden.push_back(HiddenRecord{i, std::move(m_records[i])});
            }
        }
        m_records = std::move(kept);
        m_hiddenInOrder = m_sorted && !m_orderDirty;
    }
    recountChecked();
    ++m_revision;
    return hiddenCount();
}

bool TableRecordModel::DayFilter::admits(std::string_view cell) const
{
    const std::string_view day = dayOf(cell);
    return !day.empty() && (first.empty() || day >= first) && (last.empty() || day <= last);
}

bool TableRecordModel::hiddenByFilter(const Block& block) const
{
    return m_dayFilter.active() && !m_dayFilter.admits(block.cell(m_dayFilter.column));
}

void TableRecordModel::hideAll(std::vector<HiddenRecord> records)
{
    if (records.empty()) {
        return;
    }
    const std::size_t firstNew = m_hidden.size();
    std::move(records.begin(), records.end(), std::back_inserter(m_hidden));
    if (!m_hiddenInOrder || !m_sorted || m_orderDirty) {
        m_hiddenInOrder = false;
        return;
    }
    // Keep the hidden records in the sorted order, so that they return by a
    // merge.
    const Comparator less = comparatorFor(m_sortColumn, m_sortDescending);
    auto byOrder = [&less](const HiddenRecord& a, const HiddenRecord& b) {
        return less(RecordView(a.block.get()), RecordView(b.block.get()));
    };
    const auto middle = m_hidden.begin() + static_cast<std::ptrdiff_t>(firstNew);
    std::stable_sort(middle, m_hidden.end(), byOrder);
    std::inplace_merge(m_hidden.begin(), middle, m_hidden.end(), byOrder);
}

void TableRecordModel::returnHidden()
{
    if (m_hidden.empty()) {
        return;
    }
    std::vector<BlockPtr> merged;
    merged.reserve(m_records.size() + m_hidden.size());
    if (m_hiddenInOrder && m_sorted && !m_orderDirty) {
        // Both sides are in order: one merge, the shown records first among
        // equals.
        const Comparator less = comparatorFor(m_sortColumn, m_sortDescending);
        auto shown = m_records.begin();
        for (HiddenRecord& hidden : m_hidden) {
            const RecordView returning(hidden.block.get());
            while (shown != m_records.end() && !less(returning, RecordView(shown->get()))) {
                merged.push_back(std::move(*shown++));
            }
            merged.push_back(std::move(hidden.block));
        }
        std::move(shown, m_records.end(), std::back_inserter(merged));
        m_records = std::move(merged);
        m_hidden.clear();
        return;
    }
    // Back to their former places, then sorted in.
    auto shown = m_records.begin();
    for (HiddenRecord& hidden : m_hidden) {
        while (merged.size() < hidden.position && shown != m_records.end()) {
            merged.push_back(std::move(*shown++));
        }
        merged.push_back(std::move(hidden.block));
    }
    std::move(shown, m_records.end(), std::back_inserter(merged));
    m_records = std::move(merged);
    m_hidden.clear();
    if (m_sorted) {
        sortRecords();
    }
}

bool TableRecordModel::replaceCells(int column, std::string_view key, const Row& cells)
{
    const int shown = indexOf(column, key);
    if (shown >= 0) {
        return setCells(shown, cells);
    }
    const auto hidden = std::find_if(m_hidden.begin(), m_hidden.end(), [&](const HiddenRecord& h) {
        return h.block->cell(column) == key;
    });
    if (hidden == m_hidden.end()) {
        return false;
    }
    hidden->block = makeBlock(cells, NewState{hidden->block->checks, hidden->block->comboIndex});
    markOrderChanged();
    return true;
}

int TableRecordModel::indexOfSerial(std::uint32_t serial) const
{
    const auto found = std::find_if(m_records.begin(), m_records.end(),
                                    [serial](const BlockPtr& b) { return b->serial == serial; });
    return found == m_records.end() ? -1 : static_cast<int>(found - m_records.begin());
}
