#pragma once

#include "base_ui/controls/ScrollHandle.h"
#include "monitor/widget/controlbyclass/DiaryListRecord.h"

#include <QDateTime>
#include <QRect>
#include <QRectF>
#include <QWidget>

#include <vector>

class CProgramDiaryListItemWidget;
class FocusFrame;

// The 700 x 295 list of the view by time: records in insertion order, one
// 60 px row each, shown by six reused row widgets (five whole rows, and a
// sixth while the scroll offset cuts a row). Its own rounded scroll handle
// at the right edge, at least 50 px high, moves by dragging (the rows follow
// on every third mouse move) or by the wheel (5 px per event). The list
// fills itself with 25 sample records, five per category.
//
// Keyboard: the list takes focus by Tab and by click. Up/Down, Page Up/Page
// Down (five rows), Home/End select a record (its row filled light blue) and
// scroll it wholly into view, Enter or Space presses the selected row's
// "查看" button, Ctrl+C copies its type, time and info, tab-separated. A
// keyboard focus shows a dotted frame. Screen readers see a list of the
// records (DiaryListAccessible). A row's "查看" on a journal record emits
// recordViewRequested with its category and id. GUI thread only.
class CProgramDiaryListWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 60;
    static constexpr int kRowSlots = 6;
    static constexpr int kMinHandleHeight = 50;
    static constexpr int kWheelStep = 5;

    explicit CProgramDiaryListWidget(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CProgramDiaryListWidget)

    void addRecord(DiaryListRecord record);

    // Replaces the records (the records of the log module, sorted). At the
    // top the list stays at the top, so new records at the head show; scrolled
    // away, the record in the first row slot keeps its place on the screen
    // (found by category and journal id; when it has gone, the scroll
    // position stays), and the selection stays on its record, or goes when
    // its record has gone.
    void setRecords(std::vector<DiaryListRecord> records);

    const std::vector<DiaryListRecord>& records() const { return m_records; }
    QRectF handleRect() const { return m_handle.rect(); }
    bool isScrollBarShown() const { return m_scrollBarShown; }
    // Position of the handle: 0 at the top, 100 at the bottom.
    double scrollPercent() const { return m_scrollPercent; }
    // Index of the record in the first row slot.
    int firstRecord() const { return m_firstRecord; }
    // First visible content pixel.
    int scrollOffset() const { return m_scrollOffset; }
    // The selected record, or -1.
    int selectedRecord() const { return m_selected; }
    // Selects the record and scrolls it into view; false for an index
    // outside the records.
    bool selectRecord(int index);
    void clearSelection();
    // The row widget showing the record, or null while it is scrolled out.
    CProgramDiaryListItemWidget* rowOf(int index) const;

signals:
    // A row's "查看" was pressed on a record of the journal.
    void recordViewRequested(int category, qint64 id);

public slots:
    // Reserved for filtering by date: the list keeps all of its records.
    void slt_filterDataByTime(const QDateTime& time);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void addSampleRecords();
    // Appends a record and sizes the scroll bar for it, without a layout.
    void appendRecord(DiaryListRecord record);
    // Handle size and position for the current content height.
    void updateScrollBar();
    // Fills and places the row slots for the handle position.
    void layoutItems();
    // The handle moved: take the scroll position from it.
    void handleMoved();
    int recordCount() const;
    // Moves the scroll position the least so that the record is wholly shown.
    void scrollToRecord(int index);
    // Places the scroll position at content pixel `offset`.
    void scrollToOffset(int offset);
    // The index of the record of `category` and journal `id`, or -1.
    int indexOf(int category, qint64 id) const;
    bool pressSelectedSeeButton();
    bool copySelectedRecord() const;

    std::vector<CProgramDiaryListItemWidget*> m_rows;
    std::vector<DiaryListRecord> m_records;
    QString m_backgroundColor = "#ffffff";
    // Its bottom stays one pixel inside the list.
    ScrollHandle m_handle;
    QRect m_trackRect;
    bool m_scrollBarShown = false;
    int m_contentHeight = 0;
    double m_scrollPercent = 0;
    int m_scrollOffset = 0;
    int m_firstRecord = 0;
    int m_moveCount = 0;
    int m_rowRemainder = 0;
    int m_rowsShown = kRowSlots - 1;
    int m_selected = -1;
    FocusFrame* m_focusFrame;
};
