#pragma once

class QCalendarWidget;
class QColor;

// Gives Saturday and Sunday the text format of Monday with `foreground` as
// its text colour, so that weekends look like weekdays in the calendar.
void formatWeekendsAsWeekdays(QCalendarWidget& calendar, const QColor& foreground);
