#include "base_ui/controls/CTableWidget.h"

#include "base/Logging.h"
#include "base_ui/controls/CCheckBox.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/ComboBox.h"
#include "base_ui/controls/PushButton.h"
#include "base_ui/utils/CommonUtils.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
constexpr size_t kDateLength = 10;
const std::string kEmptyCell;

// The day a date cell starts with ("yyyy-MM-dd..."), null when it does not.
QDate dayOf(const std::string& cell)
{
    if (cell.size() < kDateLength) {
        return QDate();
    }
    return QDate::fromString(QString::fromLatin1(cell.data(), kDateLength), kDateFormat);
}

template <typename Control>
void setShown(Control* control, bool shown)
{
    if (control->isHidden() == shown) {
        control->setVisible(shown);
    }
}

} // namespace

CTableWidget::CTableWidget(int width, int height, int rows, int columns, QWidget* parent)
    : QWidget(parent), m_width(width), m_height(height), m_rows(std::max(rows, 1)),
      m_columnCount(std::max(columns, 1)), m_rowsShown(m_rows)
{
    if (rows < 1 || columns < 1) {
        LOG_ERROR << L"a table needs a row and a column, got " << rows << L" x " << columns;
    }
    setAttribute(Qt::WA_StyledBackground);
    setMouseTracking(true);
    setStyleSheet(QString("background-color:%1;").arg(m_backgroundColor));
    m_font.setPixelSize(12);

    m_rowHeight = std::max((m_height - 1) / (m_rows + 1), 1);
    m_track =
        QRect(m_width - kScrollMargin, m_rowHeight + 1, kTrackWidth, m_height - m_rowHeight - 1);
    m_dataArea = QRect(0, m_rowHeight, m_width, m_rowHeight * m_rows + 1);
    m_narrowDataArea = QRect(0, m_rowHeight, m_width - kScrollMargin, m_rowHeight * m_rows + 1);

    m_cells.assign(static_cast<size_t>(slotCount() * m_columnCount), SlotCell{});
    m_columns.assign(static_cast<size_t>(m_columnCount), Column{});

    resizeTable(m_width, m_height);

    connect(this, &CTableWidget::sig_updateScrollArea, this, &CTableWidget::updateShowArea);
    connect(this, &CTableWidget::sig_resort, this, &CTableWidget::slot_sort);
}

CTableWidget::~CTableWidget() = default;

void CTableWidget::resizeTable(int width, int height)
{
    m_width = width;
    m_height = height;
    setFixedSize(width, height);
    m_rowHeight = std::max((height - 1) / (m_rows + 1), 1);

    delete m_header;
    m_header = new CHeader(width, m_rowHeight, this);
    m_header->move(0, 0);
    m_header->setColumnCount(m_columnCount);
    m_header->raise();
    m_header->show();
    connect(m_header, &CHeader::drag, this, &CTableWidget::updateItemArea, Qt::UniqueConnection);
    connect(m_header, &CHeader::signal_sort, this, &CTableWidget::slot_sort);

    const int top = headerHeight();
    m_dataAreaHeight = height - top - 1;
    m_track = QRect(width - kScrollMargin - 1, top, kTrackWidth, height - top);
    m_handleY = top + 1;
    m_dataArea = QRect(0, top, width, m_rowHeight * m_rows + 1);
    m_narrowDataArea = QRect(0, top, width - kScrollMargin, m_rowHeight * m_rows + 1);
    for (int slot = 0; slot < m_rows; ++slot) {
        for (int column = 0; column < m_columnCount; ++column) {
            slotCell(slot, column).rect =
                QRect(m_header->columnX(column), top + slot * m_rowHeight + 1,
                      m_header->columnWidth(column), m_rowHeight);
        }
    }
    for (Column& column : m_columns) {
        for (QWidget* control : column.checkBoxes) {
            control->stackUnder(m_header);
        }
        for (QWidget* control : column.comboBoxes) {
            control->stackUnder(m_header);
        }
        for (QWidget* control : column.buttons) {
            control->stackUnder(m_header);
        }
    }
    if (rowCount() > m_rows) {
        m_handle.reset();
        m_scrollPercent = 0;
        layoutScrollBar();
    } else {
        resetScrollBar();
    }
    updateShowArea();
}

int CTableWidget::headerHeight() const
{
    return m_header->height();
}

// ---------------------------------------------------------------------------
// Records

// static
const std::string& CTableWidget::cellOf(const TableRecord& record, int column)
{
    return column >= 0 && static_cast<size_t>(column) < record.cells.size()
               ? record.cells[static_cast<size_t>(column)]
               : kEmptyCell;
}

TableRecord& CTableWidget::recordRef(int index)
{
    return *m_records[static_cast<size_t>(index)];
}

const TableRecord& CTableWidget::recordRef(int index) const
{
    return *m_records[static_cast<size_t>(index)];
}

CTableWidget::SlotCell& CTableWidget::slotCell(int slot, int column) const
{
    return m_cells[static_cast<size_t>(slot * m_columnCount + column)];
}

int CTableWidget::checkIndexOf(int column) const
{
    int ordinal = 0;
    for (int c = 0; c < m_columnCount; ++c) {
        if (m_columns[static_cast<size_t>(c)].kind == CheckBoxColumn) {
            if (c == column) {
                return ordinal;
            }
            ++ordinal;
        }
    }
    return -1;
}

int CTableWidget::firstColumnOfKind(int kind) const
{
    for (int c = 0; c < m_columnCount; ++c) {
        if (m_columns[static_cast<size_t>(c)].kind == kind) {
            return c;
        }
    }
    return -1;
}

bool CTableWidget::recordChecked(const TableRecord& record) const
{
    return !record.checks.empty() && record.checks[0];
}

void CTableWidget::setRecordCheck(TableRecord& record, int checkIndex, bool checked)
{
    if (checkIndex < 0) {
        return;
    }
    if (record.checks.size() <= static_cast<size_t>(checkIndex)) {
        record.checks.resize(static_cast<size_t>(checkIndex) + 1, false);
    }
    record.checks[static_cast<size_t>(checkIndex)] = checked;
}

int CTableWidget::comboIndexFor(const std::string& text) const
{
    return static_cast<int>(m_comboItems.indexOf(QString::fromStdString(text)));
}

CCheckBox* CTableWidget::checkAllBox() const
{
    return m_header->checkBox(std::max(firstColumnOfKind(CheckBoxColumn), 0));
}

void CTableWidget::appendRow(Row cells)
{
    addRecord(rowCount(), std::move(cells), true);
}

void CTableWidget::insertRow(int index, Row cells)
{
    if (index < 0 || index > rowCount()) {
        LOG_ERROR << L"no place " << index << L" among " << rowCount() << L" records";
        return;
    }
    addRecord(index, std::move(cells), true);
}

void CTableWidget::addRecordOnly(Row cells)
{
    addRecord(rowCount(), std::move(cells), false);
}

void CTableWidget::addRecord(int index, Row cells, bool afterAdd)
{
    auto record = std::make_unique<TableRecord>();
    record->cells = std::move(cells);
    const CCheckBox* allBox = nullptr;
    bool checked = false;
    if (afterAdd && m_checkColumnCount > 0) {
        allBox = checkAllBox();
        checked = allBox != nullptr && allBox->isChecked();
        record->checks.assign(static_cast<size_t>(m_checkColumnCount), checked);
    }
    if (afterAdd && m_comboColumn >= 0) {
        record->comboIndexes.push_back(comboIndexFor(cellOf(*record, m_comboColumn)));
    }

    size_t position = static_cast<size_t>(index);
    if (afterAdd && m_sorted && !m_orderDirty) {
        position = sortedPosition(position, *record);
    }
    m_records.insert(m_records.begin() + static_cast<std::ptrdiff_t>(position), std::move(record));
    ++m_dataRevision;
    if (!afterAdd) {
        return;
    }
    if (m_sorted && m_orderDirty) {
        sortRecords();
    }
    layoutScrollBar();
    if (allBox != nullptr) {
        if (checked) {
            ++m_checkedCount;
        }
        emit signal_onlyOneSelected(m_checkedCount);
    }
    emit sig_updateScrollArea();
}

CTableWidget::Row CTableWidget::removeRow(int index)
{
    if (!validIndex(index)) {
        LOG_ERROR << L"no record " << index << L" among " << rowCount();
        return {};
    }
    TableRecord& record = recordRef(index);
    if (recordChecked(record)) {
        --m_checkedCount;
    }
    if (m_selectionMade && index == m_selectedRecord) {
        m_selectionMade = false;
    }
    Row cells = std::move(record.cells);
    m_records.erase(m_records.begin() + index);
    ++m_dataRevision;
    if (rowCount() > m_rows) {
        m_scrollPercent = 0;
        m_handleY = handleTop();
        layoutScrollBar();
    } else {
        resetScrollBar();
    }
    emit signal_onlyOneSelected(m_checkedCount);
    if (m_checkedCount == 0) {
        if (CCheckBox* box = checkAllBox()) {
            box->setChecked(false);
        }
    }
    emit sig_updateScrollArea();
    return cells;
}

std::vector<CTableWidget::Row> CTableWidget::removeCheckedRows()
{
    std::vector<Row> removed;
    for (size_t i = m_records.size(); i-- > 0;) {
        if (recordChecked(*m_records[i])) {
            if (m_selectionMade && static_cast<int>(i) == m_selectedRecord) {
                m_selectionMade = false;
            }
            removed.push_back(std::move(m_records[i]->cells));
        }
    }
    if (removed.empty()) {
        m_checkedCount = 0;
        return removed;
    }
    m_records.erase(std::remove_if(m_records.begin(), m_records.end(),
                                   [this](const RecordPtr& r) { return recordChecked(*r); }),
                    m_records.end());
    ++m_dataRevision;
    if (rowCount() > m_rows) {
        // The window keeps its scroll position; the handle follows it.
        m_handleHeight = handleHeightFor(rowCount());
        m_handleY = handleTop() +
                    static_cast<int>(qint64(handleBottom() - handleTop()) * m_scrollPercent / 100);
        m_handle = QRect(m_track.x(), m_handleY, kTrackWidth, m_handleHeight);
        requestRepaint(trackRepaintRect());
    } else {
        resetScrollBar();
    }
    emit sig_updateScrollArea();
    m_checkedCount = 0;
    emit signal_onlyOneSelected(0);
    if (CCheckBox* box = checkAllBox()) {
        box->setChecked(false);
    }
    return removed;
}

void CTableWidget::clearRows()
{
    m_records.clear();
    m_hidden.clear();
    m_checkedCount = 0;
    ++m_dataRevision;
    resetScrollBar();
    setDataAreaHeights(0);
    m_sorted = false;
    m_orderDirty = false;
    for (int slot = 0; slot < slotCount(); ++slot) {
        clearSlot(slot);
    }
    m_selectedRecord = -1;
    updateShowArea();
}

CTableWidget::Row CTableWidget::rowData(int index) const
{
    if (!validIndex(index)) {
        LOG_ERROR << L"no record " << index << L" among " << rowCount();
        return {};
    }
    return recordRef(index).cells;
}

bool CTableWidget::setRowData(int index, Row cells)
{
    if (!validIndex(index)) {
        LOG_ERROR << L"no record " << index << L" among " << rowCount();
        return false;
    }
    TableRecord& record = recordRef(index);
    record.cells = std::move(cells);
    const int combo = firstColumnOfKind(ComboBoxColumn);
    if (combo >= 0) {
        record.comboIndexes.resize(std::max<size_t>(record.comboIndexes.size(), 1));
        record.comboIndexes[0] = comboIndexFor(cellOf(record, combo));
    }
    markOrderChanged();
    updateShowArea();
    return true;
}

void CTableWidget::setCheckedRowData(Row cells)
{
    if (isEmpty()) {
        return;
    }
    const auto checked = std::find_if(m_records.begin(), m_records.end(),
                                      [this](const RecordPtr& r) { return recordChecked(*r); });
    const int index =
        checked == m_records.end() ? 0 : static_cast<int>(checked - m_records.begin());
    setRowData(index, std::move(cells));
}

bool CTableWidget::isRowChecked(int index) const
{
    return validIndex(index) && recordChecked(recordRef(index));
}

void CTableWidget::setRowChecked(int index, bool checked)
{
    const int column = firstColumnOfKind(CheckBoxColumn);
    if (!validIndex(index) || column < 0) {
        LOG_ERROR << L"no record " << index << L" or no check-box column";
        return;
    }
    TableRecord& record = recordRef(index);
    if (recordChecked(record) != checked) {
        m_checkedCount += checked ? 1 : -1;
    }
    setRecordCheck(record, 0, checked);
    if (CCheckBox* box = checkAllBox()) {
        box->setChecked(m_checkedCount == rowCount());
    }
    emit signal_onlyOneSelected(m_checkedCount);
    updateShowArea();
}

void CTableWidget::refreshAll()
{
    if (m_sortAfterRefresh && rowCount() > 1) {
        std::stable_sort(
            m_records.begin(), m_records.end(),
            [](const RecordPtr& a, const RecordPtr& b) { return cellOf(*a, 0) > cellOf(*b, 0); });
        markOrderChanged();
    }
    ++m_dataRevision;
    m_checkedCount =
        static_cast<int>(std::count_if(m_records.begin(), m_records.end(),
                                       [this](const RecordPtr& r) { return recordChecked(*r); }));
    if (rowCount() > m_rows) {
        layoutScrollBar();
        m_handleY = handleTop() +
                    static_cast<int>(qint64(handleBottom() - handleTop()) * m_scrollPercent / 100);
        m_handle->moveTop(m_handleY);
    } else {
        resetScrollBar();
    }
    emit sig_updateScrollArea();
}

int CTableWidget::filterByDate(int column, const QDate& first, const QDate& last)
{
    if (!validColumn(column)) {
        LOG_ERROR << L"no column " << column;
        return 0;
    }
    // Return the records of the previous filter to their places.
    if (!m_hidden.empty()) {
        std::vector<RecordPtr> merged;
        merged.reserve(m_records.size() + m_hidden.size());
        auto shown = m_records.begin();
        for (HiddenRecord& hidden : m_hidden) {
            while (merged.size() < hidden.position && shown != m_records.end()) {
                merged.push_back(std::move(*shown++));
            }
            merged.push_back(std::move(hidden.record));
        }
        std::move(shown, m_records.end(), std::back_inserter(merged));
        m_records = std::move(merged);
        m_hidden.clear();
        if (m_sorted) {
            sortRecords();
        }
    }

    QDate from = first;
    QDate to = last;
    if (from.isValid() && to.isValid() && from > to) {
        std::swap(from, to);
    }
    if (from.isValid() || to.isValid()) {
        std::vector<RecordPtr> kept;
        kept.reserve(m_records.size());
        for (size_t i = 0; i < m_records.size(); ++i) {
            const QDate day = dayOf(cellOf(*m_records[i], column));
            const bool inside =
                day.isValid() && (!from.isValid() || day >= from) && (!to.isValid() || day <= to);
            if (inside) {
                kept.push_back(std::move(m_records[i]));
            } else {
                m_hidden.push_back(HiddenRecord{i, std::move(m_records[i])});
            }
        }
        m_records = std::move(kept);
    }

    ++m_dataRevision;
    m_checkedCount =
        static_cast<int>(std::count_if(m_records.begin(), m_records.end(),
                                       [this](const RecordPtr& r) { return recordChecked(*r); }));
    if (m_selectMode == 0) {
        m_selectionMade = false;
    }
    if (rowCount() > m_rows) {
        m_scrollPercent = 0;
        m_handleY = handleTop();
        layoutScrollBar();
    } else {
        resetScrollBar();
    }
    emit signal_onlyOneSelected(m_checkedCount);
    emit sig_updateScrollArea();
    return hiddenRowCount();
}

// ---------------------------------------------------------------------------
// Sorting

CTableWidget::Comparator CTableWidget::comparatorFor(int column, bool descending) const
{
    const Column& settings = m_columns[static_cast<size_t>(column)];
    if (descending && settings.descending) {
        return settings.descending;
    }
    if (!descending && settings.ascending) {
        return settings.ascending;
    }
    const int secondary = m_secondarySortColumn;
    return [column, secondary, descending](const TableRecord& a, const TableRecord& b) {
        const int order = cellOf(a, column).compare(cellOf(b, column));
        if (order != 0) {
            return descending ? order > 0 : order < 0;
        }
        return secondary >= 0 && cellOf(a, secondary) > cellOf(b, secondary);
    };
}

size_t CTableWidget::sortedPosition(size_t index, const TableRecord& record) const
{
    // Where a stable sort would put a record added at `index`: among equal
    // records at its own place, else where the order demands.
    const Comparator less = comparatorFor(m_lastSortColumn, m_sortDescending);
    const auto lower =
        std::lower_bound(m_records.begin(), m_records.end(), record,
                         [&less](const RecordPtr& a, const TableRecord& b) { return less(*a, b); });
    const auto upper =
        std::upper_bound(lower, m_records.end(), record,
                         [&less](const TableRecord& a, const RecordPtr& b) { return less(a, *b); });
    const size_t first = static_cast<size_t>(lower - m_records.begin());
    const size_t last = static_cast<size_t>(upper - m_records.begin());
    return std::clamp(index, first, last);
}

void CTableWidget::sortRecords()
{
    const Comparator less = comparatorFor(m_lastSortColumn, m_sortDescending);
    std::stable_sort(m_records.begin(), m_records.end(),
                     [&less](const RecordPtr& a, const RecordPtr& b) { return less(*a, *b); });
    m_orderDirty = false;
    ++m_dataRevision;
}

void CTableWidget::markOrderChanged()
{
    ++m_dataRevision;
    if (m_sorted) {
        m_orderDirty = true;
    }
}

void CTableWidget::slot_sort(int column, bool flag)
{
    if (rowCount() < 2) {
        return;
    }
    if (!validColumn(column)) {
        LOG_ERROR << L"no column " << column;
        return;
    }
    m_lastSortColumn = column;
    m_sortDescending = flag;
    m_sorted = true;
    sortRecords();
    emit sig_updateScrollArea();
}

void CTableWidget::setColumnComparators(int column, Comparator descending, Comparator ascending)
{
    if (!validColumn(column)) {
        LOG_ERROR << L"no column " << column;
        return;
    }
    Column& settings = m_columns[static_cast<size_t>(column)];
    settings.descending = std::move(descending);
    settings.ascending = std::move(ascending);
    markOrderChanged();
}

void CTableWidget::setSecondarySortColumn(int column)
{
    m_secondarySortColumn = column - 1;
    markOrderChanged();
}

void CTableWidget::setSorted(bool sorted)
{
    m_sorted = sorted;
    m_orderDirty = sorted;
}

void CTableWidget::setSortAfterRefresh(bool on)
{
    m_sortAfterRefresh = on;
}

// ---------------------------------------------------------------------------
// Scroll bar

int CTableWidget::handleTop() const
{
    return headerHeight() + 1;
}

int CTableWidget::handleBottom() const
{
    return m_height - 1 - m_handleHeight;
}

int CTableWidget::handleHeightFor(int count) const
{
    const int proportional = static_cast<int>(qint64(m_dataAreaHeight) * m_rows / count);
    return std::max(proportional, m_dataAreaHeight / kMinHandleDivisor);
}

void CTableWidget::layoutScrollBar()
{
    if (rowCount() <= m_rows) {
        m_scrollBarShown = false;
        return;
    }
    m_scrollBarShown = true;
    m_handleHeight = handleHeightFor(rowCount());
    if (m_handle) {
        m_handle->setHeight(m_handleHeight);
        m_handle->moveTop(m_handleY);
    } else {
        m_handle = QRect(m_track.x(), m_handleY, kTrackWidth, m_handleHeight);
    }
    requestRepaint(trackRepaintRect());
}

void CTableWidget::resetScrollBar()
{
    m_scrollPercent = 0;
    m_scrollOffset = 0;
    m_firstRecord = 0;
    m_rowRemainder = 0;
    m_handleY = handleTop();
    m_scrollBarShown = false;
    m_draggingHandle = false;
    m_handle.reset();
    requestRepaint(trackRepaintRect());
}

void CTableWidget::recomputeScrollPercent()
{
    const int span = handleBottom() - handleTop();
    m_scrollPercent = span > 0 ? std::clamp((m_handleY - handleTop()) * 100 / span, 0, 100) : 0;
}

void CTableWidget::moveHandleTo(int y)
{
    m_handleY = y;
    if (m_handle) {
        m_handle->moveTop(y);
    }
    requestRepaint(trackRepaintRect());
    recomputeScrollPercent();
}

QRect CTableWidget::trackRepaintRect() const
{
    return QRect(m_track.x() - 1, headerHeight(), kTrackWidth + 2, m_height - headerHeight());
}

void CTableWidget::setDataAreaHeights(int height)
{
    m_dataArea.setHeight(height);
    m_narrowDataArea.setHeight(height);
}

// ---------------------------------------------------------------------------
// Refreshing the visible window

void CTableWidget::updateShowArea()
{
    const int count = rowCount();
    if (count >= m_rows) {
        const qint64 scrollable = qint64(count - m_rows) * m_rowHeight;
        m_scrollOffset = scrollable * m_scrollPercent / 100;
        m_firstRecord = static_cast<int>(m_scrollOffset / m_rowHeight);
        m_rowRemainder = static_cast<int>(m_scrollOffset % m_rowHeight);
        m_rowsShown = m_rowRemainder != 0 ? m_rows + 1 : m_rows;
    } else {
        m_scrollOffset = 0;
        m_firstRecord = 0;
        m_rowRemainder = 0;
        m_rowsShown = m_rows;
    }
    setDataAreaHeights(m_rowHeight * std::min(count, m_rows) + 1);
    m_validSlots = std::min(count, slotCount());
    followSelectionKey();
    scheduleSlotLayout();
    requestRepaint();
}

void CTableWidget::scheduleSlotLayout()
{
    m_slotsDirty = true;
    if (m_layoutScheduled) {
        return;
    }
    m_layoutScheduled = true;
    // Runs before the paint request, which is posted with a lower priority.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_layoutScheduled = false;
            ensureSlotsLaidOut();
        },
        Qt::QueuedConnection);
}

void CTableWidget::ensureSlotsLaidOut() const
{
    if (!m_slotsDirty) {
        return;
    }
    m_slotsDirty = false;
    const int count = rowCount();
    const int laidOut = count <= m_rows ? count : m_rowsShown;
    for (int slot = 0; slot < slotCount(); ++slot) {
        const int record = m_firstRecord + slot;
        const bool shown = slot < laidOut && record < count;
        if (shown) {
            layoutSlot(slot, record);
        } else if (slot < m_rows) {
            clearSlot(slot);
        }
        showSlotControls(slot, shown);
    }
}

void CTableWidget::requestRepaint()
{
    if (m_repaintPending) {
        return;
    }
    m_repaintPending = isVisible() && updatesEnabled();
    update();
}

void CTableWidget::requestRepaint(const QRect& rect)
{
    if (!m_repaintPending) {
        update(rect);
    }
}

void CTableWidget::layoutSlot(int slot, int record) const
{
    const TableRecord& data = recordRef(record);
    const int y = headerHeight() + slot * m_rowHeight - m_rowRemainder;
    std::optional<QFontMetrics> metrics;
    for (int c = 0; c < m_columnCount; ++c) {
        SlotCell& cell = slotCell(slot, c);
        cell.rect = QRect(m_header->columnX(c), y, m_header->columnWidth(c), m_rowHeight);
        const Column& column = m_columns[static_cast<size_t>(c)];
        const std::string& source = cellOf(data, c);
        if (column.kind == TextColumn) {
            layoutTextCell(cell, column, source, metrics);
            continue;
        }
        const bool textChanged = cell.generation != m_textGeneration ||
                                 cell.measuredWidth != cell.rect.width() || cell.source != source;
        if (textChanged) {
            cell.fullText = QString::fromStdString(source);
            cell.elidedText.clear();
            cell.source = source;
            cell.measuredWidth = cell.rect.width();
            cell.generation = m_textGeneration;
        }
        const size_t s = static_cast<size_t>(slot);
        if (column.kind == CheckBoxColumn) {
            CCheckBox* box = column.checkBoxes[s];
            if (box->size() != cell.rect.size()) {
                box->setCellSize(cell.rect.width(), cell.rect.height());
            }
            box->move(cell.rect.topLeft());
            box->setRecordIndex(record);
            const int checkIndex = checkIndexOf(c);
            const bool checked = static_cast<size_t>(checkIndex) < data.checks.size() &&
                                 data.checks[static_cast<size_t>(checkIndex)];
            if (box->isChecked() != checked) {
                box->setChecked(checked);
            }
            if (textChanged) {
                box->setText(cell.fullText, &m_elideMode);
            }
            cell.flag = checked;
        } else if (column.kind == ComboBoxColumn) {
            ComboBox* box = column.comboBoxes[s];
            box->move(cell.rect.x(), y + (m_rowHeight - box->height()) / 2);
            box->setRecordIndex(record);
            const int index = data.comboIndexes.empty() ? -1 : data.comboIndexes[0];
            if (box->currentIndex() != index) {
                // Showing a record is no user choice: no change signal.
                const QSignalBlocker blocker(box);
                box->setCurrentIndex(index);
            }
        } else {
            PushButton* button = column.buttons[s];
            if (textChanged) {
                button->setText(cell.fullText);
                button->adjustSize();
            }
            button->move(cell.rect.x(), y + (m_rowHeight - button->height()) / 2);
            button->setRecordIndex(record);
        }
    }
}

void CTableWidget::layoutTextCell(SlotCell& cell, const Column& column, const std::string& source,
                                  std::optional<QFontMetrics>& metrics) const
{
    const int room = cell.rect.width() - column.padding;
    if (cell.generation == m_textGeneration && cell.measuredWidth == room &&
        cell.source == source) {
        return;
    }
    cell.fullText = QString::fromStdString(source);
    if (!metrics) {
        metrics.emplace(m_font);
    }
    if (metrics->horizontalAdvance(cell.fullText) <= room) {
        cell.flag = false;
        cell.elidedText.clear();
    } else {
        cell.flag = true;
        const Qt::TextElideMode mode = m_elideMode != 0 ? Qt::ElideMiddle : Qt::ElideRight;
        cell.elidedText = metrics->elidedText(cell.fullText, mode, room - kElideMargin);
    }
    cell.source = source;
    cell.measuredWidth = room;
    cell.generation = m_textGeneration;
}

void CTableWidget::clearSlot(int slot) const
{
    for (int c = 0; c < m_columnCount; ++c) {
        SlotCell& cell = slotCell(slot, c);
        cell.fullText.clear();
        cell.elidedText.clear();
        cell.flag = false;
        cell.source.clear();
        cell.measuredWidth = -1;
    }
}

void CTableWidget::showSlotControls(int slot, bool shown) const
{
    if (!m_cellControls) {
        return;
    }
    const size_t s = static_cast<size_t>(slot);
    for (const Column& column : m_columns) {
        switch (column.kind) {
        case CheckBoxColumn:
            setShown(column.checkBoxes[s], shown);
            break;
        case ComboBoxColumn:
            setShown(column.comboBoxes[s], shown);
            break;
        case ButtonColumn:
            setShown(column.buttons[s], shown);
            break;
        default:
            break;
        }
    }
}

void CTableWidget::followSelectionKey()
{
    if (m_selectMode != 1 || !m_selectionMade || !validColumn(m_keyColumn) ||
        m_keyRevision == m_dataRevision) {
        return;
    }
    m_keyRevision = m_dataRevision;
    const auto found = std::find_if(m_records.begin(), m_records.end(), [this](const RecordPtr& r) {
        return cellOf(*r, m_keyColumn) == m_keyValue;
    });
    m_selectedRecord = found == m_records.end() ? -1 : static_cast<int>(found - m_records.begin());
}

bool CTableWidget::cellVisible(int slot) const
{
    return slot < m_rowsShown && slot < m_validSlots;
}

void CTableWidget::updateItemArea()
{
    emit sig_updateScrollArea();
    requestRepaint(m_dataArea);
}

// ---------------------------------------------------------------------------
// Columns

void CTableWidget::setColumnPadding(int column, int pixels)
{
    if (!validColumn(column)) {
        return;
    }
    m_columns[static_cast<size_t>(column)].padding = pixels;
    ++m_textGeneration;
    updateShowArea();
}

void CTableWidget::setColumnAlignment(int column, int value)
{
    if (!validColumn(column - 1)) {
        return;
    }
    Column& settings = m_columns[static_cast<size_t>(column - 1)];
    settings.alignFixed = true;
    settings.alignValue = value;
    requestRepaint();
}

CTableWidget::Column* CTableWidget::claimControlColumn(int column, ColumnKind kind)
{
    if (!validColumn(column - 1)) {
        return nullptr;
    }
    Column& settings = m_columns[static_cast<size_t>(column - 1)];
    if (settings.kind != TextColumn) {
        LOG_ERROR << L"column " << column << L" already holds controls";
        return nullptr;
    }
    m_cellControls = true;
    settings.kind = kind;
    return &settings;
}

void CTableWidget::setButtonColumn(int column, const QString& objectName)
{
    Column* const settings = claimControlColumn(column, ButtonColumn);
    if (settings == nullptr) {
        return;
    }
    for (int slot = 0; slot < slotCount(); ++slot) {
        auto* button = new PushButton(this);
        button->setObjectName(objectName);
        button->setColumn(column - 1);
        connect(button, &PushButton::toTableWidget, this, &CTableWidget::sig_toOtherWidget);
        button->hide();
        button->stackUnder(m_header);
        settings->buttons.push_back(button);
    }
    ++m_textGeneration;
    updateShowArea();
}

void CTableWidget::setCheckBoxColumn(int column)
{
    Column* const settings = claimControlColumn(column, CheckBoxColumn);
    if (settings == nullptr) {
        return;
    }
    ++m_checkColumnCount;
    for (int slot = 0; slot < slotCount(); ++slot) {
        auto* box = new CCheckBox(this);
        connect(box, &CCheckBox::checked, this, [this, slot] { recordDate(slot); });
        connect(box, &CCheckBox::noChecked, this, [this, slot] { deleteDate(slot); });
        connect(box, &CCheckBox::signal_text, this, &CTableWidget::signal_getPressText);
        box->hide();
        box->stackUnder(m_header);
        settings->checkBoxes.push_back(box);
    }
    ++m_textGeneration;
    updateShowArea();
}

void CTableWidget::setComboBoxColumn(int column, const QStringList& items)
{
    Column* const settings = claimControlColumn(column, ComboBoxColumn);
    if (settings == nullptr) {
        return;
    }
    if (m_comboColumn < 0) {
        m_comboColumn = column - 1;
    }
    m_comboItems = items;
    for (int slot = 0; slot < slotCount(); ++slot) {
        auto* box = new ComboBox(this);
        box->addItems(items);
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, slot] { slot_changeComboboxIndex(slot); });
        box->hide();
        box->stackUnder(m_header);
        settings->comboBoxes.push_back(box);
    }
    ++m_textGeneration;
    updateShowArea();
}

void CTableWidget::addCopyColumn(int column)
{
    m_copyColumns.push_back(column);
    m_copyOnClick = true;
}

QWidget* CTableWidget::cellControl(int column, int slot) const
{
    ensureSlotsLaidOut();
    if (!validColumn(column) || slot < 0 || slot >= slotCount()) {
        return nullptr;
    }
    const Column& settings = m_columns[static_cast<size_t>(column)];
    const size_t s = static_cast<size_t>(slot);
    switch (settings.kind) {
    case CheckBoxColumn:
        return settings.checkBoxes[s];
    case ComboBoxColumn:
        return settings.comboBoxes[s];
    case ButtonColumn:
        return settings.buttons[s];
    default:
        return nullptr;
    }
}

// ---------------------------------------------------------------------------
// Header

void CTableWidget::setColumnWidth(int column, int width)
{
    m_header->setColumnWidth(column, width);
}

void CTableWidget::setHeaderLabels(const QStringList& labels)
{
    m_header->setLabels(labels);
}

void CTableWidget::setHeaderFontPixelSize(int pixels)
{
    m_header->setLabelFontPixelSize(pixels);
}

void CTableWidget::setHeaderBackgroundColor(const QString& color)
{
    m_header->setBackgroundColor(color);
}

void CTableWidget::setHeaderTextColor(const QString& color)
{
    m_header->setTextColor(color);
}

void CTableWidget::setHeaderLineColor(const QString& color)
{
    m_header->setLineColor(color);
}

void CTableWidget::setHeaderPadding(int column, int pixels)
{
    m_header->setPadding(column, pixels);
}

void CTableWidget::setSortableColumns(const QList<int>& columns)
{
    m_header->setSortableColumns(columns);
}

void CTableWidget::setColumnResizable(bool resizable)
{
    m_header->setResizeEnabled(resizable);
}

QComboBox* CTableWidget::addHeaderComboBox(int column)
{
    return m_header->addComboBox(column);
}

CCheckBox* CTableWidget::addHeaderCheckBox(int column)
{
    CCheckBox* box = m_header->addCheckBox(column);
    if (box != nullptr) {
        connect(box, &CCheckBox::checked, this, &CTableWidget::slot_checkAll, Qt::UniqueConnection);
        connect(box, &CCheckBox::noChecked, this, &CTableWidget::slot_unCheckAll,
                Qt::UniqueConnection);
    }
    return box;
}

CCheckBox* CTableWidget::headerCheckBox(int column) const
{
    return m_header->checkBox(column);
}

QWidget* CTableWidget::headerWidget(int column) const
{
    return m_header->columnWidget(column);
}

// ---------------------------------------------------------------------------
// Look and behaviour

void CTableWidget::setBackgroundColor(const QString& color)
{
    m_backgroundColor = color;
    setStyleSheet(QString("background-color: %1;").arg(color));
}

void CTableWidget::setTextColor(const QString& color)
{
    m_textColor = QColor(color);
    requestRepaint();
}

void CTableWidget::setHandleBorderColor(const QString& color)
{
    m_handleBorderColor = QColor(color);
    requestRepaint(trackRepaintRect());
}

void CTableWidget::setHandleFill(int r, int g, int b)
{
    m_handleFill = QColor(r, g, b);
    requestRepaint(trackRepaintRect());
}

void CTableWidget::setSelectedRowColor(int r, int g, int b)
{
    m_selectedRowColor = QColor(r, g, b);
    requestRepaint();
}

void CTableWidget::setFontPixelSize(int pixels)
{
    if (pixels <= 0) {
        return;
    }
    m_font.setPixelSize(pixels);
    ++m_textGeneration;
    updateShowArea();
}

void CTableWidget::setElideMode(int mode)
{
    m_elideMode = mode;
    ++m_textGeneration;
    updateShowArea();
}

void CTableWidget::setSelectable(bool selectable)
{
    m_selectable = selectable;
    requestRepaint();
}

void CTableWidget::setSelectMode(int mode, int keyColumn)
{
    m_selectMode = mode;
    m_keyColumn = keyColumn;
    if (mode == 1 && validIndex(m_selectedRecord) && validColumn(keyColumn)) {
        m_keyValue = cellOf(recordRef(m_selectedRecord), keyColumn);
        m_keyRevision = m_dataRevision;
    }
}

void CTableWidget::disableTooltips()
{
    m_tooltips = false;
}

void CTableWidget::setTooltipOnAllCells(bool on)
{
    m_tooltipOnAllCells = on;
}

void CTableWidget::clearSelection()
{
    m_selectionMade = false;
    requestRepaint();
}

int CTableWidget::selectedRow() const
{
    return m_selectionMade && validIndex(m_selectedRecord) ? m_selectedRecord : -1;
}

int CTableWidget::recordAt(int y) const
{
    return (y - (m_rowHeight - m_rowRemainder) - 1) / m_rowHeight + m_firstRecord;
}

QRect CTableWidget::cellRect(int slot, int column) const
{
    ensureSlotsLaidOut();
    return slot >= 0 && slot < slotCount() && validColumn(column) ? slotCell(slot, column).rect
                                                                  : QRect();
}

QString CTableWidget::cellText(int slot, int column) const
{
    ensureSlotsLaidOut();
    if (slot < 0 || slot >= slotCount() || !validColumn(column)) {
        return QString();
    }
    const SlotCell& cell = slotCell(slot, column);
    const bool elided = m_columns[static_cast<size_t>(column)].kind == TextColumn && cell.flag;
    return elided ? cell.elidedText : cell.fullText;
}

bool CTableWidget::isCellElided(int slot, int column) const
{
    ensureSlotsLaidOut();
    return slot >= 0 && slot < slotCount() && validColumn(column) &&
           m_columns[static_cast<size_t>(column)].kind == TextColumn && slotCell(slot, column).flag;
}

bool CTableWidget::isSlotValid(int slot) const
{
    return slot >= 0 && slot < m_validSlots;
}

// ---------------------------------------------------------------------------
// Checking, combo boxes, buttons, edit data

void CTableWidget::recordDate(int slot)
{
    for (int c = 0; c < m_columnCount; ++c) {
        const Column& column = m_columns[static_cast<size_t>(c)];
        if (column.kind != CheckBoxColumn) {
            continue;
        }
        const CCheckBox* box = column.checkBoxes[static_cast<size_t>(slot)];
        if (!box->isChecked() || !validIndex(box->recordIndex())) {
            continue;
        }
        TableRecord& record = recordRef(box->recordIndex());
        const int checkIndex = checkIndexOf(c);
        if (checkIndex == 0 && !recordChecked(record)) {
            ++m_checkedCount;
        }
        setRecordCheck(record, checkIndex, true);
    }
    if (m_checkedCount == rowCount()) {
        if (CCheckBox* all = checkAllBox()) {
            all->setChecked(true);
        }
    }
    emit signal_onlyOneSelected(m_checkedCount);
}

void CTableWidget::deleteDate(int slot)
{
    for (int c = 0; c < m_columnCount; ++c) {
        const Column& column = m_columns[static_cast<size_t>(c)];
        if (column.kind != CheckBoxColumn) {
            continue;
        }
        const CCheckBox* box = column.checkBoxes[static_cast<size_t>(slot)];
        if (box->isChecked() || !validIndex(box->recordIndex())) {
            continue;
        }
        TableRecord& record = recordRef(box->recordIndex());
        const int checkIndex = checkIndexOf(c);
        if (checkIndex == 0 && recordChecked(record)) {
            --m_checkedCount;
        }
        setRecordCheck(record, checkIndex, false);
    }
    if (CCheckBox* all = checkAllBox()) {
        all->setChecked(false);
    }
    emit signal_onlyOneSelected(m_checkedCount);
}

void CTableWidget::slot_checkAll()
{
    const int checkColumns =
        static_cast<int>(std::count_if(m_columns.begin(), m_columns.end(),
                                       [](const Column& c) { return c.kind == CheckBoxColumn; }));
    if (isEmpty() || checkColumns == 0) {
        return;
    }
    for (const RecordPtr& record : m_records) {
        for (int k = 0; k < checkColumns; ++k) {
            setRecordCheck(*record, k, true);
        }
    }
    m_checkedCount = rowCount();
    updateShowArea();
    emit signal_onlyOneSelected(m_checkedCount);
}

void CTableWidget::slot_unCheckAll()
{
    if (isEmpty()) {
        return;
    }
    for (const RecordPtr& record : m_records) {
        std::fill(record->checks.begin(), record->checks.end(), false);
    }
    m_checkedCount = 0;
    updateShowArea();
    emit signal_onlyOneSelected(m_checkedCount);
}

void CTableWidget::slt_DataSelectState()
{
    emit signal_dataSelectState(m_checkedCount == rowCount());
}

std::vector<std::string> CTableWidget::slot_changeComboboxIndex(int slot)
{
    const int column = firstColumnOfKind(ComboBoxColumn);
    if (column < 0 || slot < 0 || slot >= slotCount()) {
        return {};
    }
    const ComboBox* box =
        m_columns[static_cast<size_t>(column)].comboBoxes[static_cast<size_t>(slot)];
    const int index = box->recordIndex();
    if (!validIndex(index)) {
        return {};
    }
    TableRecord& record = recordRef(index);
    record.comboIndexes.resize(std::max<size_t>(record.comboIndexes.size(), 1));
    record.comboIndexes[0] = box->currentIndex();
    emit signal_comboBoxInfo(index, box->currentText());
    return record.cells;
}

void CTableWidget::slot_BtnClicked(int row, int column, const QPoint& point)
{
    if (!validIndex(row)) {
        LOG_ERROR << L"no record " << row << L" among " << rowCount();
        return;
    }
    emit sig_showMenu(point, recordRef(row).cells, column);
}

std::vector<std::string> CTableWidget::slot_getEditData()
{
    const auto checked = std::find_if(m_records.begin(), m_records.end(),
                                      [this](const RecordPtr& r) { return recordChecked(*r); });
    return checked == m_records.end() ? std::vector<std::string>() : (*checked)->cells;
}

void CTableWidget::slot_setEditData(const std::vector<std::string>& cells)
{
    const auto checked = std::find_if(m_records.begin(), m_records.end(),
                                      [this](const RecordPtr& r) { return recordChecked(*r); });
    if (checked != m_records.end()) {
        setRowData(static_cast<int>(checked - m_records.begin()), cells);
    }
}

// ---------------------------------------------------------------------------
// Events

void CTableWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (m_narrowDataArea.contains(pos) && m_selectable) {
        m_selectionMade = true;
        m_rowClicked = true;
        m_selectedRecord = std::min(recordAt(pos.y()), rowCount() - 1);
        if (m_selectMode == 1 && validIndex(m_selectedRecord) && validColumn(m_keyColumn)) {
            m_keyValue = cellOf(recordRef(m_selectedRecord), m_keyColumn);
            m_keyRevision = m_dataRevision;
        }
        requestRepaint(
            QRect(m_dataArea.x(), m_dataArea.y(), m_dataArea.width(), m_height - m_rowHeight));
    }
    if (m_handle && m_handle->contains(pos)) {
        m_draggingHandle = true;
        m_dragOffset = pos.y() - m_handleY;
    }
    if (m_copyOnClick) {
        ensureSlotsLaidOut();
        for (int slot = 0; slot < slotCount(); ++slot) {
            if (!cellVisible(slot)) {
                continue;
            }
            for (const int column : m_copyColumns) {
                if (validColumn(column) && slotCell(slot, column).rect.contains(pos)) {
                    emit signal_copyText(slotCell(slot, column).fullText);
                }
            }
        }
    }
}

void CTableWidget::mouseReleaseEvent(QMouseEvent*)
{
    m_draggingHandle = false;
    requestRepaint();
}

void CTableWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    const int index = recordAt(y);
    if (y >= headerHeight() && validIndex(index)) {
        emit signal_sendData(recordRef(index).cells);
    }
}

void CTableWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_draggingHandle && rowCount() > m_rows) {
        int y = pos.y() - m_dragOffset;
        if (pos.y() <= headerHeight() + m_dragOffset) {
            y = handleTop();
        } else if (pos.y() > handleBottom() + m_dragOffset) {
            y = handleBottom();
        }
        moveHandleTo(y);
        emit sig_updateScrollArea();
    }
    if (m_tooltips) {
        ensureSlotsLaidOut();
        showTooltip(pos, event->globalPosition().toPoint());
    }
}

void CTableWidget::showTooltip(const QPoint& pos, const QPoint& globalPos)
{
    for (int slot = 0; slot < slotCount(); ++slot) {
        if (!cellVisible(slot)) {
            continue;
        }
        for (int c = 0; c < m_columnCount; ++c) {
            const SlotCell& cell = slotCell(slot, c);
            if (!cell.rect.contains(pos)) {
                continue;
            }
            const Column& column = m_columns[static_cast<size_t>(c)];
            bool show = false;
            if (m_tooltipOnAllCells) {
                show = column.kind != ComboBoxColumn && column.kind != ButtonColumn;
            } else if (column.kind == TextColumn) {
                show = cell.flag;
            } else if (column.kind == CheckBoxColumn) {
                show = column.checkBoxes[static_cast<size_t>(slot)]->isElided();
            }
            if (show) {
                QToolTip::showText(
                    globalPos,
                    CommonUtils::wrapTextByWidth(cell.fullText, kTooltipWidth, fontMetrics(), "\n"),
                    this);
            } else if (!m_tooltipOnAllCells) {
                QToolTip::hideText();
            }
        }
    }
}

void CTableWidget::wheelEvent(QWheelEvent* event)
{
    if (rowCount() > m_rows && m_handle) {
        if (event->angleDelta().y() >= 0) {
            moveHandleTo(std::max(m_handleY - kWheelStep, handleTop()));
        } else {
            moveHandleTo(std::min(m_handleY + kWheelStep, handleBottom()));
        }
    }
    event->accept();
    emit sig_updateScrollArea();
}

void CTableWidget::enterEvent(QEnterEvent*)
{}

void CTableWidget::leaveEvent(QEvent*)
{}

void CTableWidget::paintEvent(QPaintEvent* event)
{
    m_repaintPending = false;
    ensureSlotsLaidOut();
    QPainter painter(this);
    painter.setFont(m_font);
    const QRect dirty = event->rect();
    for (int slot = 0; slot < m_rowsShown; ++slot) {
        if (slot >= m_validSlots) {
            continue;
        }
        for (int c = 0; c < m_columnCount; ++c) {
            if (slotCell(slot, c).rect.intersects(dirty)) {
                paintCell(painter, slot, c);
            }
        }
    }
    if (m_scrollBarShown && m_handle) {
        painter.setPen(QPen(m_handleBorderColor, 1, Qt::SolidLine));
        painter.setBrush(m_handleFill);
        painter.drawRoundedRect(*m_handle, 4.0, 3.0, Qt::AbsoluteSize);
    }
}

void CTableWidget::paintCell(QPainter& painter, int slot, int column) const
{
    const SlotCell& cell = slotCell(slot, column);
    if (m_rowClicked && m_selectable && m_selectionMade &&
        m_firstRecord + slot == m_selectedRecord) {
        // Pen and brush: the outline covers the right and bottom edge pixels,
        // so neighbouring cells of the row meet without a gap.
        painter.setPen(m_selectedRowColor);
        painter.setBrush(m_selectedRowColor);
        painter.drawRect(cell.rect);
    }
    painter.setPen(m_textColor);
    const Column& settings = m_columns[static_cast<size_t>(column)];
    if (settings.kind != TextColumn) {
        return;
    }
    if (settings.alignFixed) {
        const Qt::Alignment horizontal =
            settings.alignValue == 1 ? Qt::AlignHCenter : Qt::AlignLeft;
        painter.drawText(cell.rect, horizontal | Qt::AlignVCenter, cell.fullText);
    } else {
        painter.drawText(cell.rect.adjusted(settings.padding, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         cell.flag ? cell.elidedText : cell.fullText);
    }
}
