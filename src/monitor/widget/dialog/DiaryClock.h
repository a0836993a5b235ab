#pragma once

#include <QDateTime>

// The local time the diary's time filters count their days from.
namespace DiaryClock {

// The current local date and time (DiaryClockTesting may set it).
QDateTime Now();

// Milliseconds from `now` to the next local midnight, at least 1.
qint64 MsecsToMidnight(const QDateTime& now);

} // namespace DiaryClock
