#pragma once

#include "base_ui/controls/WindowDrag.h"

#include "monitor/lib/ILogRecordHandler.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/DiaryRecordInbox.h"
#include "monitor/widget/dialog/DiaryRows.h"

#include <QDate>
#include <QDateTime>
#include <QDialog>
#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <utility>

class CSelectDateDialog;
class CTableWidget;
class QComboBox;
class QTimer;
class QLabel;

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
// category it opens the detail box, elsewhere nothing. With the module's
// records every view button opens the detail box of its row's record. The filter entry
// "自定义" opens the date range dialog (one at a time); no filter changes the
// sample rows, and "清空" just empties the table. While a log-module loader
// with a module is registered, the table shows the category's records
// instead of the sample rows, newest first (DiaryRows): the history, then
// records appended while the dialog is open. They arrive on the module's
// thread (a TRACE line each) and reach the table through a DiaryRecordInbox,
// one batch per turn of the event loop (once the dialog is shown, only its
// first few rows are added before its first frame is painted, so that a long
// history does not hold the frame back); a record added above the first
// visible row leaves the view and the selection on their records. When the
// module goes away (its loader releases it) the explanation band says that
// nothing more arrives; the dialog keeps working on what it has.
//
// With records, the time filter shows the records of local calendar days,
// today counting as one: "今天" today, "最近三天" today and the 2 days
// before, "最近一周" today and the 6 days before, "最近一个月" from the day
// after the same day of the previous month (the month's last day when it is
// shorter) through today; "自定义" the chosen days, both inclusive (a
// cancelled choice keeps the filter before it). The days are fixed when the
// filter is chosen, and those counted back from today move on at each local
// midnight while the dialog stays open; records arriving later are filtered
// as well. "清空" asks
// for confirmation, then deletes the category's records in the journal
// through the loader and empties the table; when the module cannot, the
// table stays and a message box says so.
//
// The table's context menu (right click, the Menu key, Shift+F10) exports the
// rows shown, in table order, to a CSV file (DiaryCsv) with the header labels
// first and without the view column; the sample rows export the same way.
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

    // The log module is gone: the explanation band says, with text 110540,
    // that no more records arrive. Any thread; touches no widget.
    void recordsEnded() override;

private slots:
    // Corner button.
    void slt_closeBtnClicked();
    // "关闭" button.
    void slt_shutBtnClicked();
    // "清空" button.
    void slt_clearBtnClicked();
    // FilterCustom opens a new date dialog in place of the previous one.
    void slt_TimeCboxActivated(int index);
    // View button of a row: with the module's records, the record's detail
    // box (RecordDetail); with the sample rows, the placeholder detail box in
    // the program-start category only.
    void slt_ShowDetailDialog(int row, int column, const QPoint& point);
    void slt_receiveDate(const QDateTime& begin_date, const QDateTime& end_date);
    // The date dialog was cancelled: the filter before it stays.
    void slt_showAllInfo();

protected:
    // The table's context menu: right click, the Menu key and Shift+F10.
    bool eventFilter(QObject* watched, QEvent* event) override;
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
    // The GUI thread's side of recordsEnded.
    void showRecordsEnded();
    // Centres the explanation in its band.
    void placeExplanation();

    // The days of a time filter entry other than FilterCustom (null: open).
    static std::pair<QDate, QDate> filterDays(int index, const QDate& today);
    void filterRecords(int index, const QDate& first, const QDate& last);
    // "清空" with records: confirmation, the journal, the table.
    void clearRecords();
    // False when refused or when the dialog went away meanwhile.
    bool confirmClear();
    // A notice with the failure icon and one button.
    void showFailure(const QString& text);
    void showExportMenu(const QPoint& globalPos);
    void exportCsv();
    // The rows the filter shows, in table order, without the view column,
    // under the header labels.
    QByteArray shownRowsAsCsv() const;

    const int m_category;
    const Layout& m_layout;
    // The filter the records were last filtered with.
    int m_appliedFilter = FilterAll;
    WindowDrag m_drag;
    CTableWidget* m_table = nullptr;
    QComboBox* m_timeFilter = nullptr;
    QLabel* m_explanation = nullptr;
    QPointer<CSelectDateDialog> m_dateDialog;
    // Applies a filter counted back from today again at the next midnight.
    QTimer* m_dayChange = nullptr;
    DiaryRecordInbox* m_inbox = nullptr;
    DiaryRows m_rows;
    // The table shows the module's records rather than the sample rows.
    bool m_showsRecords = false;
    // The shown dialog painted its first frame; before it, records wait
    // after a first few (m_firstRecordsAdded), so the frame comes first.
    bool m_framePainted = false;
    bool m_firstRecordsAdded = false;
};
