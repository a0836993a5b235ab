#pragma once

#include "Report.h"
#include "ReportStore.h"
#include "Retention.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The journal of reports over a store: checks every report before it is
// written (ReportLayout::Check), keeps the retention limits and tells when a
// prune is due. Thread-safe as its store is.
class Journal
{
public:
    // The environment variable that names the journal file.
    static constexpr const char* kPathVariable = "KO_REPORT_JOURNAL";

    explicit Journal(std::shared_ptr<ReportStore> store, Retention retention = {});

    // The journal file: $KO_REPORT_JOURNAL when set, else "log/KoReports.db"
    // in the directory of the running executable.
    static std::string DefaultPath();

    ReportStore& Store() { return *m_store; }
    const Retention& Limits() const { return m_retention; }

    // Checks and appends one report; returns its id. Throws ReportError
    // (Invalid before anything is written, Storage when the store fails).
    std::int64_t Append(Report report);

    // Checks every report, then appends them in one transaction.
    void Append(std::vector<Report>& reports);

    // Deletes the reports of a known category; returns how many.
    std::int64_t Clear(std::int32_t category);

    // Deletes what the retention limits say, batch by batch, for every
    // category; returns how many.
    std::int64_t Prune(std::int64_t now);

    // Whether appendsPerPrune appends were made since the last prune, or
    // none ran yet.
    bool PruneDue() const;

private:
    std::shared_ptr<ReportStore> m_store;
    const Retention m_retention;
    std::atomic<std::int64_t> m_appendsSincePrune{0};
    std::atomic<bool> m_pruned{false};
};
