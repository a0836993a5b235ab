#include "monitor/widget/dialog/DiaryClock.h"

#include "monitor/widget/dialog/DiaryClockTesting.h"

#include <algorithm>
#include <utility>

namespace {

// The time a test set, if any.
std::optional<QDateTime>& Override()
{
    static std::optional<QDateTime> now;
    return now;
}

} // namespace

QDateTime DiaryClock::Now()
{
    return Override().value_or(QDateTime::currentDateTime());
}

qint64 DiaryClock::MsecsToMidnight(const QDateTime& now)
{
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    return std::max<qint64>(now.msecsTo(midnight), 1);
}

void DiaryClockTesting::SetNow(std::optional<QDateTime> now)
{
    Override() = std::move(now);
}
