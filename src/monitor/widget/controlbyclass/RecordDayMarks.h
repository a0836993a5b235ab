#pragma once

class CLogModuleLib;
class QCalendarWidget;

// Marks, in bold and the blue of the record categories, the days of the
// month `month` of `year` on which the journal holds records of any category
// (the module's record counts over the local days), and clears the marks of
// every other day. A module that does not count leaves every day unmarked.
void markRecordDays(QCalendarWidget& calendar, const CLogModuleLib& loader, int year, int month);
