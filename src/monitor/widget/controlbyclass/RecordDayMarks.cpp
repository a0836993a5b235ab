#include "monitor/widget/controlbyclass/RecordDayMarks.h"

#include "monitor/lib/CLogModuleLib.h"

#include <QBrush>
#include <QCalendarWidget>
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QTextCharFormat>

#include <cstdint>
#include <vector>

namespace {

const char kMarkColour[] = "#0091f7";

} // namespace

void markRecordDays(QCalendarWidget& calendar, const CLogModuleLib& loader, int year, int month)
{
    calendar.setDateTextFormat(QDate(), QTextCharFormat());
    const QDate first(year, month, 1);
    if (!first.isValid()) {
        return;
    }
    const int days = first.daysInMonth();
    std::vector<std::int64_t> bounds;
    bounds.reserve(static_cast<std::size_t>(days) + 1);
    for (int day = 0; day <= days; ++day) {
        bounds.push_back(first.addDays(day).startOfDay().toMSecsSinceEpoch());
    }
    const std::vector<std::int64_t> counts = loader.recordCounts(bounds);
    QTextCharFormat marked;
    marked.setFontWeight(QFont::Bold);
    marked.setForeground(QBrush(QColor(kMarkColour), Qt::SolidPattern));
    for (std::size_t day = 0; day < counts.size(); ++day) {
        if (counts[day] > 0) {
            calendar.setDateTextFormat(first.addDays(static_cast<qint64>(day)), marked);
        }
    }
}
