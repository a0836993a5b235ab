#pragma once

// The five record categories that the client reports about itself, with the
// ids the catalogue (safe_tools.xml) gives them. Shared by the plug-in, the
// log module, ko-report and the host; no Qt and no C++ library types, so that
// every side (and a C client of the log module) can use it.

#include <cstddef>
#include <cstdint>

namespace RecordCategory {

inline constexpr std::int32_t kHeartbeat = 100217;
inline constexpr std::int32_t kExecuteScan = 100218;
inline constexpr std::int32_t kRansomwareFound = 100219;
inline constexpr std::int32_t kUpdatePackage = 100220;
inline constexpr std::int32_t kProgramStart = 100221;

// The categories in the order of the view by type's grid.
inline constexpr std::int32_t kAll[] = {kProgramStart, kExecuteScan, kRansomwareFound, kHeartbeat,
                                        kUpdatePackage};
inline constexpr std::size_t kCount = sizeof(kAll) / sizeof(kAll[0]);

// Whether `id` is one of the five categories.
constexpr bool IsKnown(std::int32_t id)
{
    for (const std::int32_t known : kAll) {
        if (known == id) {
            return true;
        }
    }
    return false;
}

// A short ASCII name of each category ("program_start", "execute_scan",
// "ransomware_found", "heartbeat", "update_package"), for file names, command
// lines and logs; null for an unknown id.
constexpr const char* Name(std::int32_t id)
{
    switch (id) {
    case kProgramStart:
        return "program_start";
    case kExecuteScan:
        return "execute_scan";
    case kRansomwareFound:
        return "ransomware_found";
    case kHeartbeat:
        return "heartbeat";
    case kUpdatePackage:
        return "update_package";
    default:
        return nullptr;
    }
}

} // namespace RecordCategory
