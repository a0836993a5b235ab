// The log module's journal against raw SQLite in the same run: appends one
// per transaction and in batches of 100, against raw sqlite3 inserts of the
// same rows into the same schema; a query of one category's records for one
// week out of 1,000,000 stored, to the first and the last delivered record;
// and the module's memory with the million stored.

#include "FieldCodec.h"
#include "Journal.h"
#include "LogModule.h"
#include "ReportLayout.h"
#include "ReportTime.h"
#include "SqliteStore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

constexpr std::int64_t kDay = 24LL * 3600 * 1000;
constexpr std::int64_t kMillion = 1000000;

std::string FreshPath(const char* name)
{
    const std::string path =
        (std::filesystem::temp_directory_path() /
         (std::string("journal-bench-") + name + "-" + std::to_string(getpid()) + ".db"))
            .string();
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(path + suffix);
    }
    return path;
}

Report ScanReport(std::int64_t time)
{
    Report report;
    report.category = KO_REPORT_EXECUTE_SCAN;
    report.time = time;
    report.fields = {"quick scan", "10342 files scanned, no threats found"};
    return report;
}

// Raw SQLite with the journal's schema and settings.
class RawJournal
{
public:
    explicit RawJournal(const std::string& path)
    {
        sqlite3_open(path.c_str(), &m_db);
        Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
             "CREATE TABLE IF NOT EXISTS records (id INTEGER PRIMARY KEY AUTOINCREMENT,"
             " category INTEGER NOT NULL, time INTEGER NOT NULL, fields BLOB NOT NULL);"
             "CREATE INDEX IF NOT EXISTS records_by_time ON records(category, time);");
        sqlite3_prepare_v2(m_db, "INSERT INTO records (category, time, fields) VALUES (?1, ?2, ?3)",
                           -1, &m_insert, nullptr);
    }
    ~RawJournal()
    {
        sqlite3_finalize(m_insert);
        sqlite3_close(m_db);
    }

    void Exec(const char* sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

    void Insert(const Report& report)
    {
        const std::string fields = FieldCodec::Encode(report.fields);
        sqlite3_bind_int64(m_insert, 1, report.category);
        sqlite3_bind_int64(m_insert, 2, report.time);
        sqlite3_bind_blob64(m_insert, 3, fields.data(), fields.size(), SQLITE_STATIC);
        sqlite3_step(m_insert);
        sqlite3_reset(m_insert);
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
};

void BM_JournalAppend(benchmark::State& state)
{
    const std::string path = FreshPath("append");
    Journal journal(std::make_shared<SqliteStore>(path, SqliteStore::Mode::ReadWrite));
    const auto batch = static_cast<std::size_t>(state.range(0));
    std::int64_t time = ReportTime::Now();
    for (auto _ : state) {
        std::vector<Report> reports;
        for (std::size_t i = 0; i < batch; ++i) {
            reports.push_back(ScanReport(++time));
        }
        journal.Append(reports);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_JournalAppend)->Arg(1)->Arg(100);

void BM_RawSqliteInsert(benchmark::State& state)
{
    RawJournal raw(FreshPath("raw"));
    const auto batch = static_cast<std::size_t>(state.range(0));
    std::int64_t time = ReportTime::Now();
    for (auto _ : state) {
        std::vector<Report> reports;
        for (std::size_t i = 0; i < batch; ++i) {
            reports.push_back(ScanReport(++time));
        }
        raw.Exec("BEGIN IMMEDIATE");
        for (const Report& report : reports) {
            raw.Insert(report);
        }
        raw.Exec("COMMIT");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RawSqliteInsert)->Arg(1)->Arg(100);

// When the million journal ends, and the time of its record i.
std::int64_t MillionNow()
{
    static const std::int64_t now = ReportTime::Now();
    return now;
}

std::int64_t MillionTime(std::int64_t now, std::int64_t i)
{
    return now - 180 * kDay + i * (180 * kDay / kMillion);
}

// A journal of a million records over the last 180 days, five categories
// in turn, made once per run.
const std::string& MillionJournal()
{
    static const std::string path = [] {
        const std::string made = FreshPath("million");
        RawJournal raw(made);
        const std::int64_t now = MillionNow();
        const std::int32_t categories[] = {100217, 100218, 100219, 100220, 100221};
        raw.Exec("BEGIN");
        for (std::int64_t i = 0; i < kMillion; ++i) {
            Report report;
            report.category = categories[i % 5];
            report.time = MillionTime(now, i);
            report.fields.assign(ReportLayout::FieldCount(report.category), "field text");
            raw.Insert(report);
            if (i % 50000 == 49999) {
                raw.Exec("COMMIT; BEGIN");
            }
        }
        raw.Exec("COMMIT");
        return made;
    }();
    return path;
}

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

struct WeekQuery
{
    using Clock = std::chrono::steady_clock;
    std::mutex mutex;
    std::condition_variable done;
    Clock::time_point first;
    Clock::time_point last;
    std::size_t count = 0;
    std::size_t expected = 0;

    static std::int32_t Callback(void* context, const void*, std::uint32_t, std::uint32_t)
    {
        auto* self = static_cast<WeekQuery*>(context);
        const std::lock_guard<std::mutex> lock(self->mutex);
        const auto now = Clock::now();
        if (self->count++ == 0) {
            self->first = now;
        }
        self->last = now;
        if (self->count == self->expected) {
            self->done.notify_all();
        }
        return 0;
    }
};

void BM_QueryOneWeekOfAMillion(benchmark::State& state)
{
    const std::string& path = MillionJournal();
    const long before = ResidentKb();
    // Limits that keep the million: the default keeps 100,000 per category.
    Retention retention;
    retention.maxCount = kMillion;
    LogModule module(std::make_shared<SqliteStore>(path, SqliteStore::Mode::ReadWrite), retention);
    const std::int64_t to = MillionNow() - 30 * kDay;
    const std::int64_t from = to - 7 * kDay;
    std::size_t expected = 0;
    for (std::int64_t i = 1; i < kMillion; i += 5) { // the scans
        const std::int64_t time = MillionTime(MillionNow(), i);
        expected += time >= from && time <= to ? 1 : 0;
    }
    double firstMs = 0;
    double lastMs = 0;
    std::size_t delivered = 0;
    for (auto _ : state) {
        WeekQuery query;
        query.expected = expected;
        const auto start = WeekQuery::Clock::now();
        module.Query(KO_REPORT_EXECUTE_SCAN, from, to, &WeekQuery::Callback, &query);
        {
            std::unique_lock<std::mutex> lock(query.mutex);
            query.done.wait_for(lock, std::chrono::seconds(30),
                                [&] { return query.count >= query.expected; });
        }
        module.Stop(&query);
        firstMs += std::chrono::duration<double, std::milli>(query.first - start).count();
        lastMs += std::chrono::duration<double, std::milli>(query.last - start).count();
        delivered = query.count;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["first_ms"] = firstMs / n;
    state.counters["last_ms"] = lastMs / n;
    state.counters["records"] = static_cast<double>(delivered);
    state.counters["module_rss_mb"] = static_cast<double>(ResidentKb() - before) / 1024.0;
}
BENCHMARK(BM_QueryOneWeekOfAMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
