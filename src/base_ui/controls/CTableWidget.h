#pragma once

#include "base_ui/controls/FocusMark.h"
#include "base_ui/controls/ScrollHandle.h"
#include "base_ui/controls/TableRecordModel.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CCheckBox;
class CHeader;
class ComboBox;
class PushButton;
class QComboBox;

// A custom-painted table of fixed size: a CHeader strip on top, R row slots
// below it, a slim scroll bar at the right edge and, per column, optional
// check boxes, combo boxes or push buttons over the cells. It is the view of
// a TableRecordModel that it owns: it shows a window of the records, with
// only R + 1 slots (the extra one is the partial row at the bottom while
// scrolled) and R + 1 controls per control column, whatever the number of
// records. Every change of the records, the size or the scroll position lays
// the window's slots out at once; a slot that still shows the same record at
// the same place is left as it is, and each slot caches its texts and elided
// forms, so an append outside the window measures nothing. Painting only
// paints the slots as laid out. Paint requests are coalesced until the paint.
//
// Rows are vectors of UTF-8 strings, one per column; a row shorter than the
// column count reads as empty in the missing cells. Record indices and slots
// are 0-based. Column numbers are 1-based in setColumnWidth,
// setHeaderPadding, setSortableColumns, headerWidget, setColumnAlignment,
// setButtonColumn, setCheckBoxColumn, setComboBoxColumn and
// setSecondarySortColumn; every other column argument, signal and query is
// 0-based (setColumnPadding(0, ...) and setHeaderPadding(1, ...) address the
// same column). Operations with an index outside the records change nothing
// (ERROR line).
//
// Keyboard: the table takes focus by Tab and by click. Up/Down, Page Up/Page
// Down (R rows), Home/End select a record and scroll it into view, Enter or
// Space presses the selected record's button (of the first button column),
// Ctrl+C copies the selected record's cells, tab-separated, to the
// clipboard. A keyboard focus shows a dotted mark around the rows
// (FocusMark). Screen readers see it through TableAccessible. GUI thread only; the header, the
// controls and the scroll bar belong to the table.
class CTableWidget : public QWidget
{
    Q_OBJECT

public:
    using Row = TableRecordModel::Row;
    using RecordView = TableRecordModel::RecordView;
    // True when a precedes b. Must be a strict weak ordering.
    using Comparator = TableRecordModel::Comparator;

    enum ColumnKind
    {
        TextColumn = 0,
        CheckBoxColumn = 1,
        ComboBoxColumn = 2,
        ButtonColumn = 3,
    };

    static constexpr int kTrackWidth = 8;
    static constexpr int kScrollMargin = 9;
    // Pixels the handle moves per wheel event.
    static constexpr int kWheelStep = 10;
    // The handle is never shorter than the data area height divided by this.
    static constexpr int kMinHandleDivisor = 17;
    // Room kept right of an elided text.
    static constexpr int kElideMargin = 12;
    // Maximum tooltip line width in pixels.
    static constexpr int kTooltipWidth = 300;

    CTableWidget(int width, int height, int rows, int columns, QWidget* parent = nullptr);
    ~CTableWidget() override;
    Q_DISABLE_COPY_MOVE(CTableWidget)

    // Fixes the size, recreates the header (its labels, widths and embedded
    // controls start anew) and lays the cells out again.
    void resizeTable(int width, int height);

    // Filling and querying.
    void appendRow(const Row& cells);
    // Appends every row as appendRow does, refreshing once.
    void appendRows(const std::vector<Row>& rows);
    // The same, giving row i the record key keys[i] (0 beyond the keys).
    void appendRows(const std::vector<Row>& rows, const std::vector<std::int64_t>& keys);
    // Inserts before `index` (0..rowCount()); a sorted table places the
    // record at its sorted place instead.
    void insertRow(int index, const Row& cells);
    // Appends without refreshing, sorting or checking; refreshAll() catches up.
    void addRecordOnly(const Row& cells);
    // The records, for reading.
    const TableRecordModel& recordModel() const { return m_model; }
    // Shows `model` instead of the current records (with its order, sort
    // settings and hidden records) from the top; false, with nothing
    // changed, when its column count differs from the table's.
    bool setRecordModel(TableRecordModel model);
    // The removed cells; empty, with nothing changed, for an index outside
    // the records.
    Row removeRow(int index);
    // The removed rows, last index first.
    std::vector<Row> removeCheckedRows();
    void clearRows();
    Q_INVOKABLE int rowCount() const { return m_model.rowCount(); }
    // The record's cells as texts (empty outside the records): rowData for
    // callers that reach the table through Qt's meta-object system only.
    Q_INVOKABLE QStringList rowTexts(int index) const;
    bool isEmpty() const { return m_model.isEmpty(); }
    // Copy of the record's cells; empty for an index outside the records.
    Row rowData(int index) const;
    // The first record whose cell in `column` (0-based) equals `value`, or -1.
    int indexOf(int column, std::string_view value) const { return m_model.indexOf(column, value); }
    // Replaces the record's cells; false for an index outside the records.
    bool setRowData(int index, const Row& cells);
    // Replaces the cells of the first checked record (record 0 when none).
    void setCheckedRowData(const Row& cells);
    int checkedCount() const { return m_model.checkedCount(); }
    bool isRowChecked(int index) const;
    // Sets the check state of one record, as a click on its box would.
    void setRowChecked(int index, bool checked);
    // Lays the scroll bar out for the current records, sorts all records by
    // their first cell (greatest first) while sort-after-refresh is on, and
    // refreshes the window.
    void refreshAll();

    // Hides, until the next filter, the records whose date column lies
    // outside [first, last], whole days compared ("yyyy-MM-dd", the first ten
    // characters of the cell, as text). A null bound leaves its side open;
    // reversed bounds are swapped; with a bound set, a cell that does not
    // start with a date of that form is outside, and so is a record added
    // later outside the bounds. Each filter first returns the records the
    // previous one hid, to their former places (a sorted table merges them
    // in), so two null bounds show everything. Returns the number hidden.
    int filterByDate(int column, const QDate& first, const QDate& last);
    int hiddenRowCount() const { return m_model.hiddenCount(); }
    // Replaces the cells of the first record, shown or hidden by the filter,
    // whose cell in `column` (0-based) equals `key`; false when there is none.
    bool replaceRow(int column, std::string_view key, const Row& cells);

    // Header.
    CHeader* header() const { return m_header; }
    void setColumnWidth(int column, int width);
    void setHeaderLabels(const QStringList& labels);
    void setHeaderFontPixelSize(int pixels);
    void setHeaderBackgroundColor(const QString& color);
    void setHeaderTextColor(const QString& color);
    void setHeaderLineColor(const QString& color);
    void setHeaderPadding(int column, int pixels);
    // Columns whose header click sorts the table.
    void setSortableColumns(const QList<int>& columns);
    void setColumnResizable(bool resizable);
    // A combo box after the column's header label.
    QComboBox* addHeaderComboBox(int column);
    // A check-all box in the column's header cell. Checking it
    // checks every record, unchecking it unchecks every record.
    CCheckBox* addHeaderCheckBox(int column);
    CCheckBox* headerCheckBox(int column) const;
    // The header's embedded combo box or check box.
    QWidget* headerWidget(int column) const;

    // Columns.
    // Ignored beyond the last column.
    void setColumnPadding(int column, int pixels);
    // Value 1 centres the column's texts.
    void setColumnAlignment(int column, int value);
    // A push button per slot, captioned with the cell text.
    void setButtonColumn(int column, const QString& objectName);
    // A check box per slot showing the cell text.
    void setCheckBoxColumn(int column);
    // A combo box per slot with `items`; a record selects the item equal to
    // its cell text.
    void setComboBoxColumn(int column, const QStringList& items);
    // Comparators used instead of the default ones when the column is sorted
    // with the flag true (descending) or false (ascending). Empty functions
    // restore the defaults.
    void setColumnComparators(int column, Comparator descending, Comparator ascending);
    // A left click on a cell of the column emits signal_copyText.
    void addCopyColumn(int column);

    // Look.
    void setBackgroundColor(const QString& color);
    void setTextColor(const QString& color);
    void setHandleBorderColor(const QString& color);
    void setHandleFill(int r, int g, int b);
    void setSelectedRowColor(int r, int g, int b);
    void setFontPixelSize(int pixels);
    // 0 elides at the right, any other value in the middle.
    void setElideMode(int mode);

    // Behaviour.
    void setSelectable(bool selectable);
    // Mode 0 selects by record index; mode 1 by the text of `keyColumn`, so
    // the selection follows its record through sorts.
    void setSelectMode(int mode, int keyColumn);
    void disableTooltips();
    void setTooltipOnAllCells(bool on);
    // Equal keys under the default comparators order by this column,
    // greatest first. 0 turns it off.
    void setSecondarySortColumn(int column);
    // While on, every add keeps the records in the last sort's order.
    void setSorted(bool sorted);
    void setSortAfterRefresh(bool on);
    // While on, records added above the first visible record leave the view
    // on that record (to the pixel) and the selection on its record; at the
    // very top with nothing selected the new records show at the top.
    void setKeepViewOnAdd(bool on) { m_keepViewOnAdd = on; }
    void clearSelection();
    // Selects the record as a click on its row does and scrolls it into
    // view; false, with nothing changed, for an index outside the records or
    // a table that is not selectable.
    bool selectRow(int index);

    // State, as laid out and painted.
    int rowHeight() const { return m_rowHeight; }
    int headerHeight() const;
    int dataAreaHeight() const { return m_dataAreaHeight; }
    QRect dataArea() const { return m_dataArea; }
    QRect narrowDataArea() const { return m_narrowDataArea; }
    bool isScrollBarShown() const { return m_scrollBarShown; }
    // Empty when there is no handle.
    QRect scrollHandle() const;
    int scrollPercent() const { return m_scrollPercent; }
    Q_INVOKABLE int firstVisibleRow() const { return m_firstRecord; }
    int rowRemainder() const { return m_rowRemainder; }
    // R, or R + 1 while a partial row is visible.
    int shownSlotCount() const { return m_rowsShown; }
    // The selected record, or -1 when no row is selected.
    int selectedRow() const;
    bool isSorted() const { return m_model.isSorted(); }
    bool sortDescending() const { return m_model.sortDescending(); }
    int lastSortColumn() const { return m_model.sortColumn(); }
    // Record index under a y coordinate of the data area.
    int recordAt(int y) const;
    // Slot geometry and the text painted there (the elided form when elided).
    QRect cellRect(int slot, int column) const;
    QString cellText(int slot, int column) const;
    bool isCellElided(int slot, int column) const;
    bool isSlotValid(int slot) const;
    // The column's control in `slot`, or null.
    QWidget* cellControl(int column, int slot) const;

signals:
    void sig_updateScrollArea();
    void sig_resort(int column, bool flag);
    void sig_showMenu(const QPoint& point, const std::vector<std::string>& cells, int column);
    void sig_toOtherWidget(int recordIndex, int column, const QPoint& point);
    void signal_onlyOneSelected(int checkedCount);
    void signal_newLabel(int value);
    void signal_skip();
    void signal_comboBoxInfo(int recordIndex, const QString& text);
    void signal_getPressText(const QString& text);
    void signal_copyText(const QString& text);
    void signal_dataSelectState(bool allChecked);
    void signal_sendData(const std::vector<std::string>& cells);

public slots:
    void slot_checkAll();
    void slot_unCheckAll();
    // Sorts by the column: flag true greatest first, false smallest
    // first (or the column's own comparators). Needs two records.
    void slot_sort(int column, bool flag);
    void slot_BtnClicked(int row, int column, const QPoint& point);
    std::vector<std::string> slot_getEditData();
    void slot_setEditData(const std::vector<std::string>& cells);
    // Stores the index of the combo box in `slot` into its record.
    std::vector<std::string> slot_changeComboboxIndex(int slot);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private slots:
    void updateShowArea();
    // A cell check box in `slot` became checked / unchecked.
    void recordDate(int slot);
    void deleteDate(int slot);
    void updateItemArea();
    void slt_DataSelectState();

private:
    // What one slot shows in one column, with the record and width its texts
    // were computed for, so that an unchanged cell is not measured again.
    struct SlotCell
    {
        QRect rect;
        QString fullText;
        QString elidedText;
        // Text cells: the text was elided. Check-box cells: box checked.
        bool flag = false;
        std::uint32_t serial = 0;
        int measuredWidth = -1;
        unsigned generation = 0;
    };

    // What a slot was last laid out for; a slot laid out for the same record
    // at the same place and generation is left alone.
    struct SlotKey
    {
        std::uint32_t serial = 0;
        int record = -1;
        int y = 0;
        unsigned generation = 0;
    };

    struct Column
    {
        int kind = TextColumn;
        bool alignFixed = false;
        int alignValue = 0;
        int padding = 0;
        std::vector<CCheckBox*> checkBoxes;
        std::vector<ComboBox*> comboBoxes;
        std::vector<PushButton*> buttons;
    };

    // Where the scroll handle goes when the scroll bar is laid out again.
    enum class HandlePlace
    {
        Top,
        KeepPercent,
    };

    int slotCount() const { return m_rows + 1; }
    SlotCell& slotCell(int slot, int column);
    const SlotCell& slotCell(int slot, int column) const;
    bool validIndex(int index) const { return m_model.isValidIndex(index); }
    bool validColumn(int column) const { return column >= 0 && column < m_columnCount; }
    // The settings of `column` turned into a control column of `kind`; null
    // (with an ERROR line for a column that already holds controls) when
    // that cannot be.
    Column* claimControlColumn(int column, ColumnKind kind);

    // Ordinal of a check-box column among the check-box columns, or -1.
    int checkIndexOf(int column) const;
    int firstColumnOfKind(int kind) const;
    int comboIndexFor(std::string_view text) const;
    CCheckBox* checkAllBox() const;
    // The states a record added now starts with.
    TableRecordModel::NewState newRecordState(const Row& cells, const CCheckBox* allBox) const;
    // Lays the scroll bar, checks and window out after records were added.
    void afterAdd(const CCheckBox* allBox);

    // What the view shows, by record, before records are added.
    struct ViewAnchor
    {
        std::uint32_t firstSerial = 0;
        int remainder = 0;
        std::uint32_t selectedSerial = 0;
    };
    ViewAnchor viewAnchor() const;
    // Puts the view and the selection back on the anchor's records.
    void keepView(const ViewAnchor& anchor);

    // Scroll bar.
    int handleHeightFor(int count) const;
    // Handle height for the records; hides the bar with R records or fewer.
    void layoutScrollBar();
    // The scroll bar for a changed record set: the handle at the top or at
    // the current percent, or no bar with R records or fewer.
    void relayoutScrollBar(HandlePlace place);
    void resetScrollBar();
    // The handle moved: repaint its track and take the percent from it.
    void handleMoved();
    QRect trackRepaintRect() const;
    void setDataAreaHeights(int height);

    // Layout of the window's slots, for the current records and position.
    void layoutSlots();
    void layoutSlot(int slot, int record);
    // Measures and elides a text cell, or takes both from `above` (the
    // column's cell in the slot above, or null) when it holds the same text
    // at the same width: rows often repeat a text, and measuring shapes it.
    void layoutTextCell(SlotCell& cell, const Column& column, std::string_view source,
                        std::uint32_t serial, const SlotCell* above,
                        std::optional<QFontMetrics>& metrics) const;
    void clearSlot(int slot);
    void showSlotControls(int slot, bool shown) const;
    // Voids every slot's layout (columns, texts or states changed).
    void invalidateSlots() { ++m_layoutGeneration; }
    // update() once until the next paint.
    void requestRepaint();
    void requestRepaint(const QRect& rect);
    void followSelectionKey();
    bool cellVisible(int slot) const;

    // Selects the record as a click on its row does.
    void selectRecord(int index);
    // Moves the scroll position the least so that the record is wholly
    // visible (its top, when whole percent steps cannot show it all).
    void scrollToRecord(int index);
    // Enter or Space: the selected record's button reports as if clicked.
    bool pressSelectedRowButton();
    // Ctrl+C: the selected record's cells, tab-separated, to the clipboard.
    bool copySelectedRow() const;
    // The scroll offset that `percent` gives for the current records.
    qint64 offsetAtPercent(int percent) const;

    void showTooltip(const QPoint& pos, const QPoint& globalPos);
    void paintCell(QPainter& painter, int slot, int column) const;

    // Geometry.
    int m_width;
    int m_height;
    int m_rows;
    int m_columnCount;
    int m_rowHeight = 0;
    int m_dataAreaHeight = 0;
    QRect m_track;
    QRect m_dataArea;
    QRect m_narrowDataArea;
    CHeader* m_header = nullptr;

    TableRecordModel m_model;

    // Window.
    int m_scrollPercent = 0;
    qint64 m_scrollOffset = 0;
    // The offset that keeps an anchored record in view, until the user
    // scrolls; -1 for none (the percent decides).
    qint64 m_pinnedOffset = -1;
    bool m_keepViewOnAdd = false;
    int m_firstRecord = 0;
    int m_rowRemainder = 0;
    int m_rowsShown;
    // Slots 0..m_validSlots-1 hold records.
    int m_validSlots = 0;
    std::vector<SlotCell> m_cells;
    std::vector<SlotKey> m_slotKeys;
    unsigned m_layoutGeneration = 1;
    bool m_repaintPending = false;
    // Bumped when a change (font, elide mode, padding) voids every cached text.
    unsigned m_textGeneration = 1;

    // Scroll bar.
    ScrollHandle m_handle;
    bool m_scrollBarShown = false;

    // Selection.
    int m_selectedRecord = 0;
    int m_selectMode = 0;
    int m_keyColumn = -1;
    std::string m_keyValue;
    std::uint64_t m_keyRevision = 0;
    bool m_rowClicked = false;
    bool m_selectable = true;
    bool m_selectionMade = false;

    bool m_sortAfterRefresh = true;
    FocusMark m_focusMark;

    // Columns and look.
    std::vector<Column> m_columns;
    int m_checkColumnCount = 0;
    int m_comboColumn = -1;
    bool m_cellControls = false;
    QStringList m_comboItems;
    std::vector<int> m_copyColumns;
    bool m_copyOnClick = false;
    bool m_tooltips = true;
    bool m_tooltipOnAllCells = false;
    int m_elideMode = 0;
    QString m_backgroundColor = "#334962";
    QColor m_textColor{"#ffffff"};
    QColor m_selectedRowColor{17, 119, 159};
    QFont m_font;
};
