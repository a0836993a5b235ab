#pragma once

#include "ReportStore.h"

#include <mutex>

// Reports in memory, in id order: the store of the Windows cross build (which
// has no SQLite) and of tests that need no file. Visits copy what they visit
// under the lock and call the visitor outside it.
class MemoryStore : public ReportStore
{
public:
    void Append(std::vector<Report>& reports) override;
    void VisitNewestFirst(const Range& range, const Visitor& visit) override;
    void VisitAfter(std::int64_t afterId, const Visitor& visit) override;
    std::optional<Report> Find(std::int64_t id) override;
    std::int64_t LastId() override;
    std::int64_t Clear(std::int32_t category) override;
    std::int64_t Prune(std::int32_t category, std::int64_t before, std::int64_t keep,
                       std::int64_t batch) override;
    Stats CategoryStats(std::int32_t category) override;
    std::int64_t Count(std::int32_t category, std::int64_t from, std::int64_t to) override;

private:
    std::vector<Report> Select(const std::function<bool(const Report&)>& wanted);

    std::mutex m_mutex;
    std::vector<Report> m_reports;
    std::int64_t m_lastId = 0;
};
