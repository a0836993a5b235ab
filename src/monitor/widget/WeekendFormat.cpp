#include "monitor/widget/WeekendFormat.h"

#include <QBrush>
#include <QCalendarWidget>
#include <QColor>
#include <QTextCharFormat>

void formatWeekendsAsWeekdays(QCalendarWidget& calendar, const QColor& foreground)
{
    QTextCharFormat format = calendar.weekdayTextFormat(Qt::Monday);
    format.setForeground(QBrush(foreground, Qt::SolidPattern));
    calendar.setWeekdayTextFormat(Qt::Saturday, format);
    calendar.setWeekdayTextFormat(Qt::Sunday, format);
}
