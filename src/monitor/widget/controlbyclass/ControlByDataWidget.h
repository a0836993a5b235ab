#pragma once

#include <QWidget>

class CLogModuleLib;
class CProgramDiaryListWidget;
class DayRecordFeed;
class QCalendarWidget;
class QDate;
class QDateEdit;

// The view by time of the monitor page, 700 x 400 at (0, 65) of the page: a
// date edit (object name "DataWidgetControl", styled by the page style sheet)
// over the list of records.
//
// Without a log module the list shows its sample records and the date
// filters nothing. With one (a loaded CLogModuleLib registered when the view
// is built, or given later by useLogModule) the list shows the records of
// the chosen day, today at first, newest first (DayRecordFeed, DayRecordList);
// today's list takes records appended while it is shown. The calendar is
// made and styled only when its popup first opens, so that the page's first
// frame does not pay for it; its month page marks the days that have
// records. GUI thread only.
class ControlByDataWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ControlByDataWidget(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ControlByDataWidget)

    // Builds the date edit and the list; later calls change nothing. Takes
    // the registered loader when it holds a module.
    void initShow();

    // Shows the records that `loader` (which must outlive the view) delivers
    // for the chosen day in place of the list's records; a null loader or
    // one without a module changes nothing. Called after initShow.
    void useLogModule(CLogModuleLib* loader);

    QDateEdit* dateEdit() const { return m_dateEdit; }
    CProgramDiaryListWidget* listWidget() const { return m_list; }
    // The date edit's calendar, made and styled on first use.
    QCalendarWidget* calendarWidget();
    // Whether the calendar has been made.
    bool hasCalendar() const { return m_calendar != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDay(const QDate& day);
    // Marks the days with records on the calendar's month page.
    void markDays(int year, int month);

    QDateEdit* m_dateEdit = nullptr;
    CProgramDiaryListWidget* m_list = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    CLogModuleLib* m_loader = nullptr;
    DayRecordFeed* m_feed = nullptr;
};
