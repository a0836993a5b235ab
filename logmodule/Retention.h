#pragma once

#include <cstdint>

// How long the journal keeps reports and how many: a report older than
// maxAge, or beyond the newest maxCount of its category, goes at the next
// prune. A prune runs after `appendsPerPrune` appends (and when the module
// starts and once an hour), never on every append, and deletes at most
// `batch` reports per transaction.
struct Retention
{
    std::int64_t maxAge = 180LL * 24 * 3600 * 1000; // milliseconds
    std::int64_t maxCount = 100000;
    std::int64_t batch = 1000;
    std::int64_t appendsPerPrune = 1000;
};
