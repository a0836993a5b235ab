#include "monitor/widget/controlbyclass/ControlByDataWidget.h"

#include "base_ui/tools/CControlSetting.h"
#include "monitor/widget/WeekendFormat.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"

#include <QCalendarWidget>
#include <QDate>
#include <QDateEdit>

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
    formatWeekendsAsWeekdays(
        *m_dateEdit->calendarWidget(),
        QColor(QString::fromStdString(CControlSetting::Get_Text(kColourWeekend))));

    m_list = new CProgramDiaryListWidget(this);
    m_list->move(0, 40);
}
