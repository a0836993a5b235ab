#include "base_ui/controls/CTableWidget.h"

#include "base/Logging.h"
#include "base_ui/controls/BaseUiAccessibleFactory.h"
#include "base_ui/controls/CCheckBox.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/ComboBox.h"
#include "base_ui/controls/PushButton.h"
#include "base_ui/controls/RowKeyNavigation.h"
#include "base_ui/utils/CommonUtils.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

template <typename Control>
void setShown(Control* control, bool shown)
{
    if (control->isHidden() == shown) {
        control->setVisible(shown);
    }
}

// Check bits of a record added while the check-all box is checked.
std::uint32_t allChecks(int checkColumns)
{
    const int bits = std::min(checkColumns, TableRecordModel::kMaxCheckColumns);
    return bits >= 32 ? ~0u : (1u << bits) - 1u;
}

} // namespace

CTableWidget::CTableWidget(int width, int height, int rows, int columns, QWidget* parent)
    : QWidget(parent), m_width(width), m_height(height), m_rows(std::max(rows, 1)),
      m_columnCount(std::max(columns, 1)), m_model(m_columnCount), m_rowsShown(m_rows)
{
    if (rows < 1 || columns < 1) {
        LOG_ERROR << L"a table needs a row and a column, got " << rows << L" x " << columns;
    }
    BaseUiAccessibleFactory::install();
    setAttribute(Qt::WA_StyledBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QString("background-color:%1;").arg(m_backgroundColor));
    m_font.setPixelSize(12);

    m_rowHeight = std::max((m_height - 1) / (m_rows + 1), 1);
    m_dataArea = QRect(0, m_rowHeight, m_width, m_rowHeight * m_rows + 1);
    m_narrowDataArea = QRect(0, m_rowHeight, m_width - kScrollMargin, m_rowHeight * m_rows + 1);
    m_handle.setColors(QColor(23, 113, 148), QColor("#01a2d8"));
    m_handle.setRadii(4.0, 3.0);

    m_cells.assign(static_cast<size_t>(slotCount() * m_columnCount), SlotCell{});
    m_slotKeys.assign(static_cast<size_t>(slotCount()), SlotKey{});
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
    m_handle.setTrack(m_track.x(), kTrackWidth, top + 1, height - 1);
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
    invalidateSlots();
    relayoutScrollBar(HandlePlace::Top);
    updateShowArea();
}

int CTableWidget::headerHeight() const
{
    return m_header->height();
}

// ---------------------------------------------------------------------------
// Records

CTableWidget::SlotCell& CTableWidget::slotCell(int slot, int column)
{
    return m_cells[static_cast<size_t>(slot * m_columnCount + column)];
}

const CTableWidget::SlotCell& CTableWidget::slotCell(int slot, int column) const
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

int CTableWidget::comboIndexFor(std::string_view text) const
{
    return static_cast<int>(
        m_comboItems.indexOf(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
}

CCheckBox* CTableWidget::checkAllBox() const
{
    return m_header->checkBox(std::max(firstColumnOfKind(CheckBoxColumn), 0));
}

TableRecordModel::NewState CTableWidget::newRecordState(const Row& cells,
                                                        const CCheckBox* allBox) const
{
    TableRecordModel::NewState state;
    if (allBox != nullptr && allBox->isChecked()) {
        state.checks = allChecks(m_checkColumnCount);
    }
    if (m_comboColumn >= 0) {
        const size_t column = static_cast<size_t>(m_comboColumn);
        state.comboIndex = comboIndexFor(column < cells.size() ? cells[column] : std::string());
    }
    return state;
}

void CTableWidget::appendRow(const Row& cells)
{
    const CCheckBox* allBox = m_checkColumnCount > 0 ? checkAllBox() : nullptr;
    const ViewAnchor anchor = viewAnchor();
    m_model.append(cells, newRecordState(cells, allBox));
    keepView(anchor);
    afterAdd(allBox);
}

void CTableWidget::appendRows(const std::vector<Row>& rows)
{
    appendRows(rows, {});
}

void CTableWidget::appendRows(const std::vector<Row>& rows, const std::vector<std::int64_t>& keys)
{
    if (rows.empty()) {
        return;
    }
    const CCheckBox* allBox = m_checkColumnCount > 0 ? checkAllBox() : nullptr;
    const ViewAnchor anchor = viewAnchor();
    std::size_t next = 0; // the model asks for the rows' states in their order
    m_model.appendRows(rows, [this, allBox, &keys, &next](const Row& cells) {
        TableRecordModel::NewState state = newRecordState(cells, allBox);
        state.key = next < keys.size() ? keys[next] : 0;
        ++next;
        return state;
    });
    keepView(anchor);
    afterAdd(allBox);
}

void CTableWidget::insertRow(int index, const Row& cells)
{
    if (index < 0 || index > rowCount()) {
        LOG_ERROR << L"no place " << index << L" among " << rowCount() << L" records";
        return;
    }
    const CCheckBox* allBox = m_checkColumnCount > 0 ? checkAllBox() : nullptr;
    const ViewAnchor anchor = viewAnchor();
    m_model.insert(index, cells, newRecordState(cells, allBox));
    keepView(anchor);
    afterAdd(allBox);
}

void CTableWidget::addRecordOnly(const Row& cells)
{
    m_model.appendUnsorted(cells);
}

void CTableWidget::afterAdd(const CCheckBox* allBox)
{
    layoutScrollBar();
    if (allBox != nullptr) {
        emit signal_onlyOneSelected(checkedCount());
    }
    emit sig_updateScrollArea();
}

CTableWidget::ViewAnchor CTableWidget::viewAnchor() const
{
    ViewAnchor anchor;
    if (!m_keepViewOnAdd) {
        return anchor;
    }
    if (selectedRow() >= 0) {
        anchor.selectedSerial = m_model.record(m_selectedRecord).serial();
    }
    const bool watchingTheTop = m_scrollOffset == 0 && anchor.selectedSerial == 0;
    if (!watchingTheTop && validIndex(m_firstRecord)) {
        anchor.firstSerial = m_model.record(m_firstRecord).serial();
        anchor.remainder = m_rowRemainder;
    }
    return anchor;
}

void CTableWidget::keepView(const ViewAnchor& anchor)
{
    if (anchor.selectedSerial != 0) {
        const int selected = m_model.indexOfSerial(anchor.selectedSerial);
        if (selected >= 0) {
            m_selectedRecord = selected;
        }
    }
    if (anchor.firstSerial != 0) {
        const int first = m_model.indexOfSerial(anchor.firstSerial);
        if (first >= 0) {
            m_pinnedOffset = qint64(first) * m_rowHeight + anchor.remainder;
        }
    }
}

bool CTableWidget::setRecordModel(TableRecordModel model)
{
    if (model.columnCount() != m_columnCount) {
        LOG_ERROR << L"records of " << model.columnCount() << L" columns for a table of "
                  << m_columnCount;
        return false;
    }
    m_model = std::move(model);
    m_selectionMade = false;
    relayoutScrollBar(HandlePlace::Top);
    emit signal_onlyOneSelected(checkedCount());
    emit sig_updateScrollArea();
    return true;
}

CTableWidget::Row CTableWidget::removeRow(int index)
{
    if (!validIndex(index)) {
        LOG_ERROR << L"no record " << index << L" among " << rowCount();
        return {};
    }
    if (m_selectionMade && index == m_selectedRecord) {
        m_selectionMade = false;
    }
    Row cells = m_model.remove(index);
    relayoutScrollBar(HandlePlace::Top);
    emit signal_onlyOneSelected(checkedCount());
    if (checkedCount() == 0) {
        if (CCheckBox* box = checkAllBox()) {
            box->setChecked(false);
        }
    }
    emit sig_updateScrollArea();
    return cells;
}

std::vector<CTableWidget::Row> CTableWidget::removeCheckedRows()
{
    if (m_selectionMade && m_model.isChecked(m_selectedRecord)) {
        m_selectionMade = false;
    }
    std::vector<Row> removed = m_model.removeChecked();
    if (removed.empty()) {
        return removed;
    }
    // The window keeps its scroll position; the handle follows it.
    relayoutScrollBar(HandlePlace::KeepPercent);
    emit sig_updateScrollArea();
    emit signal_onlyOneSelected(0);
    if (CCheckBox* box = checkAllBox()) {
        box->setChecked(false);
    }
    return removed;
}

void CTableWidget::clearRows()
{
    m_model.clear();
    resetScrollBar();
    setDataAreaHeights(0);
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
    return m_model.cells(index);
}

QStringList CTableWidget::rowTexts(int index) const
{
    QStringList texts;
    if (m_model.isValidIndex(index)) {
        for (const std::string& cell : m_model.cells(index)) {
            texts << QString::fromStdString(cell);
        }
    }
    return texts;
}

bool CTableWidget::setRowData(int index, const Row& cells)
{
    if (!m_model.setCells(index, cells)) {
        LOG_ERROR << L"no record " << index << L" among " << rowCount();
        return false;
    }
    const int combo = firstColumnOfKind(ComboBoxColumn);
    if (combo >= 0) {
        m_model.setComboIndex(index, comboIndexFor(m_model.cell(index, combo)));
    }
    updateShowArea();
    return true;
}

void CTableWidget::setCheckedRowData(const Row& cells)
{
    if (!isEmpty()) {
        setRowData(std::max(m_model.firstChecked(), 0), cells);
    }
}

bool CTableWidget::isRowChecked(int index) const
{
    return m_model.isChecked(index);
}

void CTableWidget::setRowChecked(int index, bool checked)
{
    const int column = firstColumnOfKind(CheckBoxColumn);
    if (!validIndex(index) || column < 0) {
        LOG_ERROR << L"no record " << index << L" or no check-box column";
        return;
    }
    m_model.setCheck(index, 0, checked);
    if (CCheckBox* box = checkAllBox()) {
        box->setChecked(checkedCount() == rowCount());
    }
    emit signal_onlyOneSelected(checkedCount());
    invalidateSlots();
    updateShowArea();
}

void CTableWidget::refreshAll()
{
    if (m_sortAfterRefresh && rowCount() > 1) {
        m_model.sortByFirstCellDescending();
    }
    relayoutScrollBar(HandlePlace::KeepPercent);
    emit sig_updateScrollArea();
}

bool CTableWidget::replaceRow(int column, std::string_view key, const Row& cells)
{
    if (!m_model.replaceCells(column, key, cells)) {
        return false;
    }
    updateShowArea();
    return true;
}

int CTableWidget::filterByDate(int column, const QDate& first, const QDate& last)
{
    if (!validColumn(column)) {
        LOG_ERROR << L"no column " << column;
        return 0;
    }
    const int hidden = m_model.filterByDate(column, first, last);
    if (m_selectMode == 0) {
        m_selectionMade = false;
    }
    relayoutScrollBar(HandlePlace::Top);
    emit signal_onlyOneSelected(checkedCount());
    emit sig_updateScrollArea();
    return hidden;
}

// ---------------------------------------------------------------------------
// Sorting

void CTableWidget::slot_sort(int column, bool flag)
{
    if (rowCount() < 2) {
        return;
    }
    if (!m_model.sort(column, flag)) {
        LOG_ERROR << L"no column " << column;
        return;
    }
    emit sig_updateScrollArea();
}

void CTableWidget::setColumnComparators(int column, Comparator descending, Comparator ascending)
{
    if (!validColumn(column)) {
        LOG_ERROR << L"no column " << column;
        return;
    }
    m_model.setComparators(column, std::move(descending), std::move(ascending));
}

void CTableWidget::setSecondarySortColumn(int column)
{
    m_model.setSecondarySortColumn(column - 1);
}

void CTableWidget::setSorted(bool sorted)
{
    m_model.setSorted(sorted);
}

void CTableWidget::setSortAfterRefresh(bool on)
{
    m_sortAfterRefresh = on;
}

// ---------------------------------------------------------------------------
// Scroll bar

int CTableWidget::handleHeightFor(int count) const
{
    return static_cast<int>(qint64(m_dataAreaHeight) * m_rows / count);
}

void CTableWidget::layoutScrollBar()
{
    if (rowCount() <= m_rows) {
        m_scrollBarShown = false;
        return;
    }
    m_scrollBarShown = true;
    m_handle.setHeight(handleHeightFor(rowCount()), m_dataAreaHeight / kMinHandleDivisor);
    requestRepaint(trackRepaintRect());
}

void CTableWidget::relayoutScrollBar(HandlePlace place)
{
    m_pinnedOffset = -1;
    if (rowCount() <= m_rows) {
        resetScrollBar();
        return;
    }
    if (place == HandlePlace::Top) {
        m_scrollPercent = 0;
    }
    layoutScrollBar();
    m_handle.moveToPercent(m_scrollPercent);
}

void CTableWidget::resetScrollBar()
{
    m_scrollPercent = 0;
    m_scrollOffset = 0;
    m_pinnedOffset = -1;
    m_firstRecord = 0;
    m_rowRemainder = 0;
    m_scrollBarShown = false;
    m_handle.release();
    m_handle.moveToStart();
    requestRepaint(trackRepaintRect());
}

void CTableWidget::handleMoved()
{
    requestRepaint(trackRepaintRect());
    m_scrollPercent = m_handle.wholePercent();
    m_pinnedOffset = -1;
}

QRect CTableWidget::scrollHandle() const
{
    return m_scrollBarShown ? m_handle.rect().toRect() : QRect();
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
        if (m_pinnedOffset >= 0 && scrollable > 0) {
            // Record-granular: the handle shows the nearest whole percent.
            m_scrollOffset = std::min(m_pinnedOffset, scrollable);
            m_scrollPercent = static_cast<int>(m_scrollOffset * 100 / scrollable);
            m_handle.moveToPercent(m_scrollPercent);
        } else {
            m_scrollOffset = scrollable * m_scrollPercent / 100;
        }
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
    layoutSlots();
    requestRepaint();
}

void CTableWidget::layoutSlots()
{
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

void CTableWidget::layoutSlot(int slot, int record)
{
    const RecordView data = m_model.record(record);
    const int y = headerHeight() + slot * m_rowHeight - m_rowRemainder;
    SlotKey& key = m_slotKeys[static_cast<size_t>(slot)];
    if (key.serial == data.serial() && key.record == record && key.y == y &&
        key.generation == m_layoutGeneration) {
        return;
    }
    key = SlotKey{data.serial(), record, y, m_layoutGeneration};
    std::optional<QFontMetrics> metrics;
    for (int c = 0; c < m_columnCount; ++c) {
        SlotCell& cell = slotCell(slot, c);
        cell.rect = QRect(m_header->columnX(c), y, m_header->columnWidth(c), m_rowHeight);
        const Column& column = m_columns[static_cast<size_t>(c)];
        const std::string_view source = data.cell(c);
        if (column.kind == TextColumn) {
            const SlotCell* above = slot > 0 ? &slotCell(slot - 1, c) : nullptr;
            layoutTextCell(cell, column, source, data.serial(), above, metrics);
            continue;
        }
        const bool textChanged = cell.generation != m_textGeneration ||
                                 cell.measuredWidth != cell.rect.width() ||
                                 cell.serial != data.serial();
        if (textChanged) {
            cell.fullText = QString::fromUtf8(source.data(), static_cast<qsizetype>(source.size()));
            cell.elidedText.clear();
            cell.serial = data.serial();
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
            const bool checked = data.isChecked(checkIndexOf(c));
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
            const int index = data.comboIndex();
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

void CTableWidget::layoutTextCell(SlotCell& cell, const Column& column, std::string_view source,
                                  std::uint32_t serial, const SlotCell* above,
                                  std::optional<QFontMetrics>& metrics) const
{
    const int room = cell.rect.width() - column.padding;
    if (cell.generation == m_textGeneration && cell.measuredWidth == room &&
        cell.serial == serial) {
        return;
    }
    cell.fullText = QString::fromUtf8(source.data(), static_cast<qsizetype>(source.size()));
    cell.serial = serial;
    cell.measuredWidth = room;
    cell.generation = m_textGeneration;
    if (above != nullptr && above->generation == m_textGeneration && above->measuredWidth == room &&
        above->fullText == cell.fullText) {
        cell.flag = above->flag;
        cell.elidedText = above->elidedText;
        return;
    }
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
}

void CTableWidget::clearSlot(int slot)
{
    m_slotKeys[static_cast<size_t>(slot)] = SlotKey{};
    for (int c = 0; c < m_columnCount; ++c) {
        SlotCell& cell = slotCell(slot, c);
        cell.fullText.clear();
        cell.elidedText.clear();
        cell.flag = false;
        cell.serial = 0;
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
        m_keyRevision == m_model.revision()) {
        return;
    }
    m_keyRevision = m_model.revision();
    m_selectedRecord = m_model.indexOf(m_keyColumn, m_keyValue);
}

bool CTableWidget::cellVisible(int slot) const
{
    return slot < m_rowsShown && slot < m_validSlots;
}

void CTableWidget::updateItemArea()
{
    invalidateSlots();
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
    invalidateSlots();
    updateShowArea();
}

void CTableWidget::setColumnAlignment(int column, int value)
{
    const int c = column - 1;
    if (!validColumn(c)) {
        return;
    }
    Column& settings = m_columns[static_cast<size_t>(c)];
    settings.alignFixed = true;
    settings.alignValue = value;
    requestRepaint();
}

CTableWidget::Column* CTableWidget::claimControlColumn(int column, ColumnKind kind)
{
    if (!validColumn(column)) {
        return nullptr;
    }
    Column& settings = m_columns[static_cast<size_t>(column)];
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
    const int c = column - 1;
    Column* const settings = claimControlColumn(c, ButtonColumn);
    if (settings == nullptr) {
        return;
    }
    for (int slot = 0; slot < slotCount(); ++slot) {
        auto* button = new PushButton(this);
        button->setObjectName(objectName);
        button->setColumn(c);
        // The table is the tab stop; Enter or Space in it presses the button.
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &PushButton::toTableWidget, this, &CTableWidget::sig_toOtherWidget);
        button->hide();
        button->stackUnder(m_header);
        settings->buttons.push_back(button);
    }
    ++m_textGeneration;
    invalidateSlots();
    updateShowArea();
}

void CTableWidget::setCheckBoxColumn(int column)
{
    if (m_checkColumnCount >= TableRecordModel::kMaxCheckColumns) {
        LOG_ERROR << L"no more than " << TableRecordModel::kMaxCheckColumns
                  << L" check-box columns";
        return;
    }
    Column* const settings = claimControlColumn(column - 1, CheckBoxColumn);
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
    invalidateSlots();
    updateShowArea();
}

void CTableWidget::setComboBoxColumn(int column, const QStringList& items)
{
    const int c = column - 1;
    Column* const settings = claimControlColumn(c, ComboBoxColumn);
    if (settings == nullptr) {
        return;
    }
    if (m_comboColumn < 0) {
        m_comboColumn = c;
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
    invalidateSlots();
    updateShowArea();
}

void CTableWidget::addCopyColumn(int column)
{
    m_copyColumns.push_back(column);
    m_copyOnClick = true;
}

QWidget* CTableWidget::cellControl(int column, int slot) const
{
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
    m_handle.setColors(m_handle.fill(), QColor(color));
    requestRepaint(trackRepaintRect());
}

void CTableWidget::setHandleFill(int r, int g, int b)
{
    m_handle.setColors(QColor(r, g, b), m_handle.border());
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
    invalidateSlots();
    updateShowArea();
}

void CTableWidget::setElideMode(int mode)
{
    m_elideMode = mode;
    ++m_textGeneration;
    invalidateSlots();
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
        m_keyValue = std::string(m_model.cell(m_selectedRecord, keyColumn));
        m_keyRevision = m_model.revision();
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
    return slot >= 0 && slot < slotCount() && validColumn(column) ? slotCell(slot, column).rect
                                                                  : QRect();
}

QString CTableWidget::cellText(int slot, int column) const
{
    if (slot < 0 || slot >= slotCount() || !validColumn(column)) {
        return QString();
    }
    const SlotCell& cell = slotCell(slot, column);
    const bool elided = m_columns[static_cast<size_t>(column)].kind == TextColumn && cell.flag;
    return elided ? cell.elidedText : cell.fullText;
}

bool CTableWidget::isCellElided(int slot, int column) const
{
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
        if (box->isChecked() && validIndex(box->recordIndex())) {
            m_model.setCheck(box->recordIndex(), checkIndexOf(c), true);
        }
    }
    invalidateSlots();
    if (checkedCount() == rowCount()) {
        if (CCheckBox* all = checkAllBox()) {
            all->setChecked(true);
        }
    }
    emit signal_onlyOneSelected(checkedCount());
}

void CTableWidget::deleteDate(int slot)
{
    for (int c = 0; c < m_columnCount; ++c) {
        const Column& column = m_columns[static_cast<size_t>(c)];
        if (column.kind != CheckBoxColumn) {
            continue;
        }
        const CCheckBox* box = column.checkBoxes[static_cast<size_t>(slot)];
        if (!box->isChecked() && validIndex(box->recordIndex())) {
            m_model.setCheck(box->recordIndex(), checkIndexOf(c), false);
        }
    }
    invalidateSlots();
    if (CCheckBox* all = checkAllBox()) {
        all->setChecked(false);
    }
    emit signal_onlyOneSelected(checkedCount());
}

void CTableWidget::slot_checkAll()
{
    if (isEmpty() || m_checkColumnCount == 0) {
        return;
    }
    m_model.setAllChecks(allChecks(m_checkColumnCount));
    invalidateSlots();
    updateShowArea();
    emit signal_onlyOneSelected(checkedCount());
}

void CTableWidget::slot_unCheckAll()
{
    if (isEmpty()) {
        return;
    }
    m_model.setAllChecks(0);
    invalidateSlots();
    updateShowArea();
    emit signal_onlyOneSelected(checkedCount());
}

void CTableWidget::slt_DataSelectState()
{
    emit signal_dataSelectState(checkedCount() == rowCount());
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
    m_model.setComboIndex(index, box->currentIndex());
    emit signal_comboBoxInfo(index, box->currentText());
    return m_model.cells(index);
}

void CTableWidget::slot_BtnClicked(int row, int column, const QPoint& point)
{
    if (!validIndex(row)) {
        LOG_ERROR << L"no record " << row << L" among " << rowCount();
        return;
    }
    emit sig_showMenu(point, m_model.cells(row), column);
}

std::vector<std::string> CTableWidget::slot_getEditData()
{
    return m_model.cells(m_model.firstChecked());
}

void CTableWidget::slot_setEditData(const std::vector<std::string>& cells)
{
    const int checked = m_model.firstChecked();
    if (checked >= 0) {
        setRowData(checked, cells);
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
        selectRecord(std::min(recordAt(pos.y()), rowCount() - 1));
    }
    if (m_scrollBarShown) {
        m_handle.press(pos);
    }
    if (m_copyOnClick) {
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

bool CTableWidget::selectRow(int index)
{
    if (!validIndex(index) || !m_selectable) {
        return false;
    }
    selectRecord(index);
    scrollToRecord(index);
    return true;
}

void CTableWidget::selectRecord(int index)
{
    m_selectionMade = true;
    m_rowClicked = true;
    m_selectedRecord = index;
    if (m_selectMode == 1 && validIndex(m_selectedRecord) && validColumn(m_keyColumn)) {
        m_keyValue = std::string(m_model.cell(m_selectedRecord, m_keyColumn));
        m_keyRevision = m_model.revision();
    }
    requestRepaint(
        QRect(m_dataArea.x(), m_dataArea.y(), m_dataArea.width(), m_height - m_rowHeight));
    if (validIndex(index) && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Selection);
        event.setChild(index * m_columnCount);
        QAccessible::updateAccessibility(&event);
    }
}

void CTableWidget::mouseReleaseEvent(QMouseEvent*)
{
    m_handle.release();
    requestRepaint();
}

void CTableWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    const int index = recordAt(y);
    if (y >= headerHeight() && validIndex(index)) {
        emit signal_sendData(m_model.cells(index));
    }
}

void CTableWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_handle.isDragging() && rowCount() > m_rows) {
        m_handle.dragTo(pos.y());
        handleMoved();
        emit sig_updateScrollArea();
    }
    if (m_tooltips) {
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
    if (rowCount() > m_rows && m_scrollBarShown) {
        m_handle.wheel(event->angleDelta().y(), kWheelStep);
        handleMoved();
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
    if (m_scrollBarShown) {
        m_handle.paint(painter);
    }
    m_focusMark.paint(painter, m_dataArea);
}

void CTableWidget::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    if (event->matches(QKeySequence::Copy)) {
        handled = copySelectedRow();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
               event->key() == Qt::Key_Space) {
        handled = pressSelectedRowButton();
    } else if (m_selectable) {
        const int target = RowKeyNavigation::target(event->key(), selectedRow(), rowCount(), m_rows,
                                                    m_firstRecord);
        if (target >= 0) {
            selectRecord(target);
            scrollToRecord(target);
            handled = true;
        }
    }
    if (m_focusMark.keyPressed()) {
        requestRepaint();
    }
    if (handled) {
        event->accept();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void CTableWidget::focusInEvent(QFocusEvent* event)
{
    if (m_focusMark.focusIn(event->reason())) {
        requestRepaint();
    }
    QWidget::focusInEvent(event);
}

void CTableWidget::focusOutEvent(QFocusEvent* event)
{
    if (m_focusMark.focusOut()) {
        requestRepaint();
    }
    QWidget::focusOutEvent(event);
}

qint64 CTableWidget::offsetAtPercent(int percent) const
{
    return qint64(rowCount() - m_rows) * m_rowHeight * percent / 100;
}

void CTableWidget::scrollToRecord(int index)
{
    if (!validIndex(index) || rowCount() <= m_rows) {
        return;
    }
    const qint64 top = qint64(index) * m_rowHeight;
    const qint64 bottom = top + m_rowHeight;
    const qint64 view = qint64(m_rows) * m_rowHeight;
    if (top >= m_scrollOffset && bottom <= m_scrollOffset + view) {
        return;
    }
    // The greatest percent whose offset keeps the record's top visible.
    int percent = 0;
    while (percent < 100 && offsetAtPercent(percent + 1) <= top) {
        ++percent;
    }
    if (bottom > m_scrollOffset + view) {
        // Scrolling down: the least percent that shows the record's bottom,
        // unless that would cut its top.
        int least = percent;
        while (least > 0 && offsetAtPercent(least - 1) + view >= bottom) {
            --least;
        }
        if (offsetAtPercent(least) + view >= bottom) {
            percent = least;
        }
    }
    m_scrollPercent = percent;
    m_pinnedOffset = -1;
    m_handle.moveToPercent(percent);
    requestRepaint(trackRepaintRect());
    emit sig_updateScrollArea();
}

bool CTableWidget::pressSelectedRowButton()
{
    const int index = selectedRow();
    const int column = firstColumnOfKind(ButtonColumn);
    if (index < 0 || column < 0) {
        return false;
    }
    scrollToRecord(index);
    const int slot = index - m_firstRecord;
    const auto& buttons = m_columns[static_cast<size_t>(column)].buttons;
    if (slot < 0 || slot >= static_cast<int>(buttons.size())) {
        return false;
    }
    buttons[static_cast<size_t>(slot)]->activate();
    return true;
}

bool CTableWidget::copySelectedRow() const
{
    const int index = selectedRow();
    if (index < 0) {
        return false;
    }
    const RecordView record = m_model.record(index);
    QStringList cells;
    for (int c = 0; c < m_columnCount; ++c) {
        const std::string_view cell = record.cell(c);
        QString text = QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
        // Tabs and line breaks inside a cell would break the row's shape.
        text.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        cells << text;
    }
    QGuiApplication::clipboard()->setText(cells.join(QLatin1Char('\t')));
    return true;
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
