#include "monitor/widget/controlbyclass/ControlByDataWidget.h"

#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/widget/WeekendFormat.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"
#include "monitor/widget/controlbyclass/DayRecordFeed.h"
#include "monitor/widget/controlbyclass/RecordDayMarks.h"
#include "monitor/widget/dialog/RecordDetail.h"

#include <QCalendarWidget>
#include <QDate>
#include <QDateEdit>
#include <QEvent>

namespace {

constexpr int kColourWeekend = 110611;

} // namespace

ControlByDataWidget::ControlByDataWidget(QWidget* parent) : QWidget(parent)
{
    resize(700, 400);
    move(0, 65);
}

void ControlByDataWidget::initShow()
{
    if (m_dateEdit != nullptr) {
        return;
    }
    m_dateEdit = new QDateEdit(QDate::currentDate(), this);
    m_dateEdit->setObjectName("DataWidgetControl");
    m_dateEdit->setDisplayFormat("yyyy-MM-dd");
    m_dateEdit->move(10, 0);
    m_dateEdit->setCalendarPopup(true);
    m_dateEdit->setCursor(Qt::PointingHandCursor);
    // The popup opens on a mouse press: the calendar is made just before the
    // date edit handles the first one.
    m_dateEdit->installEventFilter(this);

    m_list = new CProgramDiaryListWidget(this);
    m_list->move(0, 40);
    connect(m_list, &CProgramDiaryListWidget::recordViewRequested, this,
            [this](int category, qint64 id) { RecordDetail::show(category, id, this); });

    useLogModule(CLogModuleLib::instance());
}

void ControlByDataWidget::useLogModule(CLogModuleLib* loader)
{
    if (m_dateEdit == nullptr || loader == nullptr || !loader->isLoaded()) {
        return;
    }
    delete m_feed;
    m_loader = loader;
    m_feed = new DayRecordFeed(*loader, this);
    connect(m_feed, &DayRecordFeed::rowsChanged, this,
            [this] { m_list->setRecords(m_feed->rows()); });
    connect(m_dateEdit, &QDateEdit::dateChanged, this, &ControlByDataWidget::showDay,
            Qt::UniqueConnection);
    showDay(m_dateEdit->date());
    if (m_calendar != nullptr) {
        markDays(m_calendar->yearShown(), m_calendar->monthShown());
    }
}

void ControlByDataWidget::showDay(const QDate& day)
{
    if (m_feed != nullptr && day != m_feed->day()) {
        m_feed->show(day);
    }
}

QCalendarWidget* ControlByDataWidget::calendarWidget()
{
    if (m_calendar != nullptr || m_dateEdit == nullptr) {
        return m_calendar;
    }
    m_calendar = m_dateEdit->calendarWidget();
    formatWeekendsAsWeekdays(
        *m_calendar, QColor(QString::fromStdString(CControlSetting::Get_Text(kColourWeekend))));
    connect(m_calendar, &QCalendarWidget::currentPageChanged, this, &ControlByDataWidget::markDays);
    // Every opening marks anew: records come and go while the page is shown.
    m_calendar->window()->installEventFilter(this);
    markDays(m_calendar->yearShown(), m_calendar->monthShown());
    return m_calendar;
}

bool ControlByDataWidget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_dateEdit && m_calendar == nullptr && type == QEvent::MouseButtonPress) {
        calendarWidget();
    } else if (m_calendar != nullptr && watched == m_calendar->window() && type == QEvent::Show) {
        markDays(m_calendar->yearShown(), m_calendar->monthShown());
    }
    return QWidget::eventFilter(watched, event);
}

void ControlByDataWidget::markDays(int year, int month)
{
    if (m_loader != nullptr && m_calendar != nullptr) {
        markRecordDays(*m_calendar, *m_loader, year, month);
    }
}
