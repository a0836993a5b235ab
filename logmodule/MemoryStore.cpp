#include "MemoryStore.h"

#include <algorithm>

void MemoryStore::Append(std::vector<Report>& reports)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (Report& report : reports) {
        report.id = ++m_lastId;
        m_reports.push_back(report);
    }
}

std::vector<Report> MemoryStore::Select(const std::function<bool(const Report&)>& wanted)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Report> selected;
    std::copy_if(m_reports.begin(), m_reports.end(), std::back_inserter(selected), wanted);
    return selected;
}

void MemoryStore::VisitNewestFirst(const Range& range, const Visitor& visit)
{
    std::vector<Report> selected = Select([&](const Report& report) {
        return report.category == range.category && report.time >= range.from &&
               report.time <= range.to && report.id <= range.lastId;
    });
    std::sort(selected.begin(), selected.end(), [](const Report& a, const Report& b) {
        return a.time != b.time ? a.time > b.time : a.id > b.id;
    });
    for (const Report& report : selected) {
        if (!visit(report)) {
            return;
        }
    }
}

void MemoryStore::VisitAfter(std::int64_t afterId, const Visitor& visit)
{
    for (const Report& report : Select([&](const Report& r) { return r.id > afterId; })) {
        if (!visit(report)) {
            return;
        }
    }
}

std::optional<Report> MemoryStore::Find(std::int64_t id)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    // In id order: appends only ever add greater ids at the end.
    const auto found = std::lower_bound(
        m_reports.begin(), m_reports.end(), id,
        [](const Report& report, std::int64_t wanted) { return report.id < wanted; });
    if (found == m_reports.end() || found->id != id) {
        return std::nullopt;
    }
    return *found;
}

std::int64_t MemoryStore::LastId()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastId;
}

std::int64_t MemoryStore::Clear(std::int32_t category)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto kept = std::remove_if(m_reports.begin(), m_reports.end(),
                                     [&](const Report& r) { return r.category == category; });
    const auto removed = static_cast<std::int64_t>(m_reports.end() - kept);
    m_reports.erase(kept, m_reports.end());
    return removed;
}

std::int64_t MemoryStore::Prune(std::int32_t category, std::int64_t before, std::int64_t keep,
                                std::int64_t batch)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<const Report*> mine;
    for (const Report& report : m_reports) {
        if (report.category == category) {
            mine.push_back(&report);
        }
    }
    std::sort(mine.begin(), mine.end(), [](const Report* a, const Report* b) {
        return a->time != b->time ? a->time < b->time : a->id < b->id;
    });
    const auto excess = static_cast<std::int64_t>(mine.size()) - keep;
    std::vector<std::int64_t> doomed;
    for (std::size_t i = 0; i < mine.size() && static_cast<std::int64_t>(doomed.size()) < batch;
         ++i) {
        if (static_cast<std::int64_t>(i) < excess || mine[i]->time < before) {
            doomed.push_back(mine[i]->id);
        }
    }
    m_reports.erase(std::remove_if(m_reports.begin(), m_reports.end(),
                                   [&](const Report& r) {
                                       return std::find(doomed.begin(), doomed.end(), r.id) !=
                                              doomed.end();
                                   }),
                    m_reports.end());
    return static_cast<std::int64_t>(doomed.size());
}

ReportStore::Stats MemoryStore::CategoryStats(std::int32_t category)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    Stats stats;
    for (const Report& report : m_reports) {
        if (report.category != category) {
            continue;
        }
        stats.oldest = stats.count == 0 ? report.time : std::min(stats.oldest, report.time);
        stats.newest = stats.count == 0 ? report.time : std::max(stats.newest, report.time);
        ++stats.count;
    }
    return stats;
}

std::int64_t MemoryStore::Count(std::int32_t category, std::int64_t from, std::int64_t to)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::count_if(m_reports.begin(), m_reports.end(), [&](const Report& report) {
        return report.category == category && report.time >= from && report.time < to;
    });
}
