#include "base/LocalTime.h"

#include <windows.h>

namespace KO {

// static
LocalTime LocalTime::Now()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);

    LocalTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.millisecond = now.wMilliseconds;
    return time;
}

} // namespace KO
