#pragma once

#include "base_ui/controls/WindowDrag.h"

#include "monitor/lib/ILogRecordHandler.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/DiaryRecordInbox.h"
#include "monitor/widget/dialog/DiaryRows.h"

#include <QDateTime>
#include <QDialog>
#include <QPoint>
#include <QPointer>

#include <cstdint>

class CSelectDateDialog;
class CTableWidget;
class QComboBox;

// The frameless 460 x 400 diary of one record category: a blue title band
// with the category's name and a corner close button, a light-blue band with
// an explanation, a table of the category's records (five visible rows) with
// a time-filter combo box in its header, and the buttons "清空" (empties the
// table) and "关闭" (closes the dialog). Pressing anywhere outside a child and
// dragging moves it. Texts, colours and images come from the pools; the look
// of the labels, the combo box and the view buttons from the page style
// sheet by object name.
//
// The table holds ten copies of the category's sample row. In the categories
// with a view column each row has a "查看" button; in the program-start
// category it opens the detail box, elsewhere nothing. The filter entry
// "自定义" opens the date range dialog (one at a time); no filter changes the
// rows. While a log-module loader with a module is registered, the table
// shows the category's records instead of the sample rows, newest first
// (DiaryRows): the history, then records appended while the dialog is open.
// They arrive on the module's thread (a TRACE line each) and reach the table
// through a DiaryRecordInbox, one batch per turn of the event loop; once the
// dialog is shown, only its first few rows are added before its first frame
// is painted, so that a long history does not hold the frame back.
//
// The dialog, its detail box and its date dialog delete themselves once they
// are closed (exec deletes the dialog when it returns): hold them through a
// QPointer. The buttons carry the object names "ProgramDiaryDialogClear",
// "ProgramDiaryDialogClose" and "ProgramDiaryDialogTitleClose". GUI thread
// only, except loadData.
class CProgramDiaryDialog final : public QDialog, public ILogRecordHandler
{
    Q_OBJECT

public:
    // Category ids of the catalogue.
    static constexpr int kHeartbeat = RecordCategory::kHeartbeat;
    static constexpr int kExecuteScan = RecordCategory::kExecuteScan;
    static constexpr int kRansomwareFound = RecordCategory::kRansomwareFound;
    static constexpr int kUpdatePackage = RecordCategory::kUpdatePackage;
    static constexpr int kProgramStart = RecordCategory::kProgramStart;

    // Indices of the time filter's entries.
    enum TimeFilter : int
    {
        FilterAll = 0,
        FilterToday = 1,
        FilterThreeDays = 2,
        FilterWeek = 3,
        FilterMonth = 4,
        FilterCustom = 5,
    };

    static constexpr int kSampleRowCount = 10;

    // The diary of `category` as a child of `parent`, not yet shown. An id
    // outside the five categories has no diary: null, with an ERROR line.
    static CProgramDiaryDialog* create(int category, QWidget* parent = nullptr);

    // Ends the registration with the log module before anything is torn down.
    ~CProgramDiaryDialog() override;
    Q_DISABLE_COPY_MOVE(CProgramDiaryDialog)

    int category() const { return m_category; }

    // A record from the log module, on the module's thread: writes the TRACE
    // line "get data<value1>:<value2>" and queues a copy of the record for
    // the table; touches no widget.
    void loadData(const void* record, std::uint32_t value1, std::uint32_t value2) override;

private slots:
    // Corner button.
    void slt_closeBtnClicked();
    // "关闭" button.
    void slt_shutBtnClicked();
    // "清空" button.
    void slt_clearBtnClicked();
    // FilterCustom opens a new date dialog in place of the previous one.
    void slt_TimeCboxActivated(int index);
    // View button of a row: the detail box, in the program-start category only.
    void slt_ShowDetailDialog(int row, int column, const QPoint& point);
    void slt_receiveDate(const QDateTime& begin_date, const QDateTime& end_date);
    void slt_showAllInfo();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What differs between the categories (texts, columns, sample row).
    struct Layout;

    // The layout of `category`, or null outside the five categories.
    static const Layout* findLayout(int category);

    CProgramDiaryDialog(const Layout& layout, QWidget* parent);

    void buildFrame(const Layout& layout);
    void buildButtons();
    void buildTable(const Layout& layout);
    void colourTable();
    void buildTimeFilter();
    void fillTable(const Layout& layout);
    // Tab: the time filter, the table, "清空", "关闭", the corner button.
    void orderTabStops();
    // The GUI thread's side of the inbox: adds the waiting records.
    void showArrivedRecords();

    const int m_category;
    WindowDrag m_drag;
    CTableWidget* m_table = nullptr;
    QComboBox* m_timeFilter = nullptr;
    QPointer<CSelectDateDialog> m_dateDialog;
    DiaryRecordInbox* m_inbox = nullptr;
    DiaryRows m_rows;
    // The table shows the module's records rather than the sample rows.
    bool m_showsRecords = false;
    // The shown dialog painted its first frame; before it, records wait
    // after a first few (m_firstRecordsAdded), so the frame comes first.
    bool m_framePainted = false;
    bool m_firstRecordsAdded = false;
};
