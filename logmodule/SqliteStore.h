#pragma once

#include "ReportStore.h"
#include "SqliteConnection.h"
#include "SqliteStatement.h"

#include <memory>
#include <mutex>
#include <string>

// Reports in an SQLite database file (WAL mode), shared by every process
// that opens it. One table `records` (id, category, time, fields) with an
// index on (category, time), so that a category's reports in a time range
// are read without a scan; ids come from AUTOINCREMENT and so never repeat.
//
// Appends go through a writer connection that waits up to kBusyTimeoutMs for
// other writers; reads through a reader connection of their own, so a long
// history visit never blocks an append. Either is used by one thread at a
// time (a lock each).
class SqliteStore : public ReportStore
{
public:
    static constexpr int kBusyTimeoutMs = 10000;

    enum class Mode
    {
        ReadWrite, // creates the file and its table when missing
        ReadOnly,  // appends, clears and prunes throw (Storage)
    };

    // Opens the journal at `path`. Throws ReportError: Broken when the file
    // is not a database or is cut short, Storage when it cannot be opened.
    SqliteStore(const std::string& path, Mode mode);
    ~SqliteStore() override;

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
    struct Writer;
    struct Reader;

    // Throws Broken when the file at `path` exists but is no SQLite database
    // or is shorter than its header says (checked only without a WAL file,
    // whose pages the file may still be waiting for).
    static void CheckFile(const std::string& path);

    // Runs `change` in an immediate transaction of the writer.
    template <typename Change>
    auto Write(Change&& change);

    // Visits the rows of `statement` (id, category, time, fields).
    static void Visit(SqliteStatement& statement, const Visitor& visit);

    std::mutex m_writeMutex;
    std::unique_ptr<Writer> m_writer; // null when read-only
    std::mutex m_readMutex;
    std::unique_ptr<Reader> m_reader;
};
