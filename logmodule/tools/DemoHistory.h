#pragma once

#include "Report.h"

#include <cstdint>
#include <functional>
#include <vector>

// A lived-in history of `days` days up to `now`: on most days the client
// starts in the morning (a program-start report), reports a heartbeat every
// few minutes while it runs, scans once (quick, a full scan on Sundays, now
// and then a custom scan); every few days it downloads an update package,
// and now and then it finds ransomware. The same arguments give the same
// history (a fixed seed).
class DemoHistory
{
public:
    DemoHistory(int days, std::int64_t now);

    // Calls `take` with the reports of each day, oldest day first.
    void Generate(const std::function<void(std::vector<Report>&)>& take) const;

private:
    int m_days;
    std::int64_t m_now;
};
