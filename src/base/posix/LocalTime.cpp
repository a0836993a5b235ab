#include "base/LocalTime.h"

#include <ctime>

namespace KO {

// static
LocalTime LocalTime::Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);

    // Breaking a time down is the costly part; a thread keeps the result for
    // the current second, since the local offset changes only at whole seconds.
    thread_local time_t cachedSecond = -1;
    thread_local tm broken{};
    if (now.tv_sec != cachedSecond) {
        localtime_r(&now.tv_sec, &broken);
        cachedSecond = now.tv_sec;
    }

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
