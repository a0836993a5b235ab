#include "Journal.h"

#include "ReportLayout.h"

#include "monitor/lib/RecordCategory.h"

#include "base/FilePath.h"
#include "base/StringConversion.h"

#include <cstdlib>

Journal::Journal(std::shared_ptr<ReportStore> store, Retention retention)
    : m_store(std::move(store)), m_retention(retention)
{}

// static
std::string Journal::DefaultPath()
{
    const char* const configured = std::getenv(kPathVariable);
    if (configured != nullptr && *configured != '\0') {
        return configured;
    }
    return KO::String::ToNarrow(KO::FilePath(L"log/KoReports.db").GetPath());
}

std::int64_t Journal::Append(Report report)
{
    std::vector<Report> one{std::move(report)};
    Append(one);
    return one.front().id;
}

void Journal::Append(std::vector<Report>& reports)
{
    for (const Report& report : reports) {
        ReportLayout::Check(report);
    }
    m_store->Append(reports);
    m_appendsSincePrune += static_cast<std::int64_t>(reports.size());
}

std::int64_t Journal::Clear(std::int32_t category)
{
    ReportLayout::FieldCount(category); // throws for an unknown category
    return m_store->Clear(category);
}

std::int64_t Journal::Prune(std::int64_t now)
{
    m_appendsSincePrune = 0;
    m_pruned = true;
    std::int64_t removed = 0;
    for (const std::int32_t category : RecordCategory::kAll) {
        for (;;) {
            const std::int64_t batch = m_store->Prune(category, now - m_retention.maxAge,
                                                      m_retention.maxCount, m_retention.batch);
            removed += batch;
            if (batch < m_retention.batch) {
                break;
            }
        }
    }
    return removed;
}

bool Journal::PruneDue() const
{
    return !m_pruned || m_appendsSincePrune >= m_retention.appendsPerPrune;
}
