#pragma once

#include "base_ui/controls/TableRecord.h"

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

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CCheckBox;
class CHeader;
class ComboBox;
class PushButton;
class QComboBox;

// A custom-painted table of fixed size: a CHeader strip on top, R row slots
// below it, a slim scroll bar at the right edge and, per column, optional
// check boxes, combo boxes or push buttons over the cells. It owns its
// records and shows a window of them: only R + 1 slots (the extra one is the
// partial row at the bottom while scrolled) and R + 1 controls per control
// column ever exist, whatever the number of records. A refresh updates the
// window position at once and lays the slots out once, from the event loop or
// before the next paint, event or query, however many refreshes came first.
// Each slot caches its texts and elided forms, so a layout that shows the
// same cells measures nothing. Paint requests are coalesced until the paint.
//
// Rows are vectors of UTF-8 strings, one per column; a row shorter than the
// column count reads as empty in the missing cells. Record indices are
// 0-based; column arguments are 0-based unless a method says 1-based.
// Operations with an index outside the records change nothing (ERROR line).
// GUI thread only; the header, the controls and the scroll bar belong to the
// table.
class CTableWidget : public QWidget
{
    Q_OBJECT

public:
    using Row = std::vector<std::string>;
    // True when a precedes b. Must be a strict weak ordering.
    using Comparator = std::function<bool(const TableRecord&, const TableRecord&)>;

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
    void appendRow(Row cells);
    // Inserts before `index` (0..rowCount()); a sorted table places the
    // record at its sorted place instead.
    void insertRow(int index, Row cells);
    // Appends without refreshing, sorting or checking; refreshAll() catches up.
    void addRecordOnly(Row cells);
    // The removed cells; empty, with nothing changed, for an index outside
    // the records.
    Row removeRow(int index);
    // The removed rows, last index first.
    std::vector<Row> removeCheckedRows();
    void clearRows();
    int rowCount() const { return static_cast<int>(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }
    // Copy of the record's cells; empty for an index outside the records.
    Row rowData(int index) const;
    // Replaces the record's cells; false for an index outside the records.
    bool setRowData(int index, Row cells);
    // Replaces the cells of the first checked record (record 0 when none).
    void setCheckedRowData(Row cells);
    int checkedCount() const { return m_checkedCount; }
    bool isRowChecked(int index) const;
    // Sets the check state of one record, as a click on its box would.
    void setRowChecked(int index, bool checked);
    // Lays the scroll bar out for the current records, sorts all records by
    // their first cell (greatest first) while sort-after-refresh is on, and
    // refreshes the window.
    void refreshAll();

    // Hides, until the next filter, the records whose date column lies
    // outside [first, last], whole days compared ("yyyy-MM-dd", the first ten
    // characters of the cell). A null bound leaves its side open; reversed
    // bounds are swapped; with a bound set, a cell that does not start with a
    // valid date is outside. Each filter first returns the records the
    // previous one hid, to their former places (a sorted table sorts them in),
    // so two null bounds show everything. Returns the number hidden.
    int filterByDate(int column, const QDate& first, const QDate& last);
    int hiddenRowCount() const { return static_cast<int>(m_hidden.size()); }

    // Header.
    CHeader* header() const { return m_header; }
    // 1-based.
    void setColumnWidth(int column, int width);
    void setHeaderLabels(const QStringList& labels);
    void setHeaderFontPixelSize(int pixels);
    void setHeaderBackgroundColor(const QString& color);
    void setHeaderTextColor(const QString& color);
    void setHeaderLineColor(const QString& color);
    // 1-based.
    void setHeaderPadding(int column, int pixels);
    // 1-based columns whose header click sorts the table.
    void setSortableColumns(const QList<int>& columns);
    void setColumnResizable(bool resizable);
    // 0-based: a combo box after the column's header label.
    QComboBox* addHeaderComboBox(int column);
    // 0-based: a check-all box in the column's header cell. Checking it
    // checks every record, unchecking it unchecks every record.
    CCheckBox* addHeaderCheckBox(int column);
    // 0-based.
    CCheckBox* headerCheckBox(int column) const;
    // 1-based: the header's embedded combo box or check box.
    QWidget* headerWidget(int column) const;

    // Columns.
    // 0-based; ignored beyond the last column.
    void setColumnPadding(int column, int pixels);
    // 1-based; value 1 centres the column's texts.
    void setColumnAlignment(int column, int value);
    // 1-based: a push button per slot, captioned with the cell text.
    void setButtonColumn(int column, const QString& objectName);
    // 1-based: a check box per slot showing the cell text.
    void setCheckBoxColumn(int column);
    // 1-based: a combo box per slot with `items`; a record selects the item
    // equal to its cell text.
    void setComboBoxColumn(int column, const QStringList& items);
    // 0-based: comparators used instead of the default ones when the column
    // is sorted with the flag true (descending) or false (ascending). Empty
    // functions restore the defaults.
    void setColumnComparators(int column, Comparator descending, Comparator ascending);
    // 0-based: a left click on a cell of the column emits signal_copyText.
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
    // Mode 0 selects by record index; mode 1 by the text of `keyColumn`
    // (0-based), so the selection follows its record through sorts.
    void setSelectMode(int mode, int keyColumn);
    void disableTooltips();
    void setTooltipOnAllCells(bool on);
    // 1-based: equal keys under the default comparators order by this column,
    // greatest first. 0 turns it off.
    void setSecondarySortColumn(int column);
    // While on, every add keeps the records in the last sort's order.
    void setSorted(bool sorted);
    void setSortAfterRefresh(bool on);
    void clearSelection();

    // State, as laid out and painted.
    int rowHeight() const { return m_rowHeight; }
    int headerHeight() const;
    int dataAreaHeight() const { return m_dataAreaHeight; }
    QRect dataArea() const { return m_dataArea; }
    QRect narrowDataArea() const { return m_narrowDataArea; }
    bool isScrollBarShown() const { return m_scrollBarShown; }
    // Empty when there is no handle.
    QRect scrollHandle() const { return m_handle.value_or(QRect()); }
    int scrollPercent() const { return m_scrollPercent; }
    int firstVisibleRow() const { return m_firstRecord; }
    int rowRemainder() const { return m_rowRemainder; }
    // R, or R + 1 while a partial row is visible.
    int shownSlotCount() const { return m_rowsShown; }
    // The selected record, or -1 when no row is selected.
    int selectedRow() const;
    bool isSorted() const { return m_sorted; }
    bool sortDescending() const { return m_sortDescending; }
    int lastSortColumn() const { return m_lastSortColumn; }
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
    // Sorts by the 0-based column: flag true greatest first, false smallest
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

private slots:
    void updateShowArea();
    // A cell check box in `slot` became checked / unchecked.
    void recordDate(int slot);
    void deleteDate(int slot);
    void updateItemArea();
    void slt_DataSelectState();

private:
    // What one slot shows in one column, with the key its texts were
    // computed for, so that an unchanged cell is not measured again.
    struct SlotCell
    {
        QRect rect;
        QString fullText;
        QString elidedText;
        // Text cells: the text was elided. Check-box cells: box checked.
        bool flag = false;
        std::string source;
        int measuredWidth = -1;
        unsigned generation = 0;
    };

    struct Column
    {
        int kind = TextColumn;
        bool alignFixed = false;
        int alignValue = 0;
        int padding = 0;
        Comparator descending;
        Comparator ascending;
        std::vector<CCheckBox*> checkBoxes;
        std::vector<ComboBox*> comboBoxes;
        std::vector<PushButton*> buttons;
    };

    // Records are held by pointer, so that inserting into a large table and
    // sorting it move pointers, not records.
    using RecordPtr = std::unique_ptr<TableRecord>;

    struct HiddenRecord
    {
        size_t position;
        RecordPtr record;
    };

    static const std::string& cellOf(const TableRecord& record, int column);

    TableRecord& recordRef(int index);
    const TableRecord& recordRef(int index) const;
    int slotCount() const { return m_rows + 1; }
    // Slot state is a cache of what the records show: laid out lazily.
    SlotCell& slotCell(int slot, int column) const;
    bool validIndex(int index) const { return index >= 0 && index < rowCount(); }
    bool validColumn(int column) const { return column >= 0 && column < m_columnCount; }
    // The settings of 1-based `column` turned into a control column of
    // `kind`; null (with an ERROR line for a column that already holds
    // controls) when that cannot be.
    Column* claimControlColumn(int column, ColumnKind kind);

    // Ordinal of a check-box column among the check-box columns, or -1.
    int checkIndexOf(int column) const;
    int firstColumnOfKind(int kind) const;
    bool recordChecked(const TableRecord& record) const;
    void setRecordCheck(TableRecord& record, int checkIndex, bool checked);
    int comboIndexFor(const std::string& text) const;
    CCheckBox* checkAllBox() const;

    void addRecord(int index, Row cells, bool afterAdd);
    size_t sortedPosition(size_t index, const TableRecord& record) const;
    Comparator comparatorFor(int column, bool descending) const;
    void sortRecords();
    void markOrderChanged();

    // Scroll bar.
    int handleTop() const;
    int handleBottom() const;
    int handleHeightFor(int count) const;
    void layoutScrollBar();
    void resetScrollBar();
    void recomputeScrollPercent();
    void moveHandleTo(int y);
    QRect trackRepaintRect() const;
    void setDataAreaHeights(int height);

    // Refresh. The window (first record, remainder, valid slots) follows
    // every change at once; the slots' texts and controls are laid out once
    // before the next paint, event or query, however many changes came first.
    void scheduleSlotLayout();
    void ensureSlotsLaidOut() const;
    void layoutSlot(int slot, int record) const;
    void layoutTextCell(SlotCell& cell, const Column& column, const std::string& source,
                        std::optional<QFontMetrics>& metrics) const;
    void clearSlot(int slot) const;
    void showSlotControls(int slot, bool shown) const;
    // update() once until the next paint.
    void requestRepaint();
    void requestRepaint(const QRect& rect);
    void followSelectionKey();
    bool cellVisible(int slot) const;

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

    // Records.
    std::vector<RecordPtr> m_records;
    std::vector<HiddenRecord> m_hidden;
    int m_checkedCount = 0;
    // Bumped by every change of the record set or order.
    unsigned m_dataRevision = 0;

    // Window.
    int m_scrollPercent = 0;
    qint64 m_scrollOffset = 0;
    int m_firstRecord = 0;
    int m_rowRemainder = 0;
    int m_rowsShown;
    // Slots 0..m_validSlots-1 hold records.
    int m_validSlots = 0;
    mutable std::vector<SlotCell> m_cells;
    mutable bool m_slotsDirty = true;
    bool m_layoutScheduled = false;
    bool m_repaintPending = false;
    // Bumped when a change (font, elide mode, padding) voids every cached text.
    unsigned m_textGeneration = 1;

    // Scroll bar.
    int m_handleY = 0;
    int m_handleHeight = 0;
    int m_dragOffset = 0;
    std::optional<QRect> m_handle;
    bool m_scrollBarShown = false;
    bool m_draggingHandle = false;

    // Selection.
    int m_selectedRecord = 0;
    int m_selectMode = 0;
    int m_keyColumn = -1;
    std::string m_keyValue;
    unsigned m_keyRevision = 0;
    bool m_rowClicked = false;
    bool m_selectable = true;
    bool m_selectionMade = false;

    // Sorting.
    int m_lastSortColumn = 0;
    int m_secondarySortColumn = -1;
    bool m_sortDescending = true;
    bool m_sorted = false;
    // The records may be out of the last sort's order (edited, returned).
    bool m_orderDirty = false;
    bool m_sortAfterRefresh = true;

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
    QColor m_handleBorderColor{"#01a2d8"};
    QColor m_textColor{"#ffffff"};
    QColor m_handleFill{23, 113, 148};
    QColor m_selectedRowColor{17, 119, 159};
    QFont m_font;
};
