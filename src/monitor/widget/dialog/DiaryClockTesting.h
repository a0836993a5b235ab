#pragma once

#include <QDateTime>

#include <optional>

// The seam of the diary's clock for tests; production code never includes
// this header, so the diary always reads the system clock there.
namespace DiaryClockTesting {

// From now on DiaryClock::Now answers `now`; std::nullopt restores the
// system clock.
void SetNow(std::optional<QDateTime> now);

} // namespace DiaryClockTesting
