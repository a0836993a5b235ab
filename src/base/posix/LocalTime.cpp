#include "base/LocalTime.h"

#include <ctime>

namespace KO {

// static
LocalTime LocalTime::Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm broken{};
    localtime_r(&now.tv_sec, &broken);

    LocalTime time;
    time.year = broken.tm_year + 1900;
    time.month = broken.tm_mon + 1;
    time.day = broken.tm_mday;
    time.hour = broken.tm_hour;
    time.minute = broken.tm_min;
    time.second = broken.tm_sec;
    time.millisecond = static_cast<int>(now.tv_nsec / 1000000L);
    return time;
}

} // namespace KO
