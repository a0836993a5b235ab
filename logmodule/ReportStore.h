#pragma once

#include "Report.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

// Where the journal keeps its reports: SQLite on Linux (SqliteStore), memory
// in the Windows cross build (MemoryStore), nothing when the journal cannot
// be opened (UnavailableStore).
//
// Thread-safe: appends and reads may run on different threads at once. A
// visit runs its visitor outside any lock that appends take, so the visitor
// may append. Failures throw ReportError.
class ReportStore
{
public:
    // Which reports a history visit reads.
    struct Range
    {
        std::int32_t category = 0;
        std::int64_t from = std::numeric_limits<std::int64_t>::min();   // time, inclusive
        std::int64_t to = std::numeric_limits<std::int64_t>::max();     // time, inclusive
        std::int64_t lastId = std::numeric_limits<std::int64_t>::max(); // id, inclusive
    };

    struct Stats
    {
        std::int64_t count = 0;
        std::int64_t oldest = 0; // times; 0 without reports
        std::int64_t newest = 0;
    };

    // Returns false to end a visit.
    using Visitor = std::function<bool(const Report&)>;

    virtual ~ReportStore() = default;

    // Appends `reports` in one transaction (all or none) and sets their ids,
    // which grow with every append, across processes too.
    virtual void Append(std::vector<Report>& reports) = 0;

    // Visits the reports in `range`, newest first (time, then id, descending).
    virtual void VisitNewestFirst(const Range& range, const Visitor& visit) = 0;

    // Visits the reports whose id is above `afterId`, in id order.
    virtual void VisitAfter(std::int64_t afterId, const Visitor& visit) = 0;

    // The report whose id is `id`, or none.
    virtual std::optional<Report> Find(std::int64_t id) = 0;

    // The largest id appended so far (0 for none).
    virtual std::int64_t LastId() = 0;

    // Deletes every report of `category`; returns how many.
    virtual std::int64_t Clear(std::int32_t category) = 0;

    // Deletes at most `batch` reports of `category` that are older than
    // `before` or beyond its newest `keep`, oldest first; returns how many.
    virtual std::int64_t Prune(std::int32_t category, std::int64_t before, std::int64_t keep,
                               std::int64_t batch) = 0;

    virtual Stats CategoryStats(std::int32_t category) = 0;

    // How many reports of `category` have a time in [from, to).
    virtual std::int64_t Count(std::int32_t category, std::int64_t from, std::int64_t to) = 0;
};
