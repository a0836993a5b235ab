#include "SqliteStore.h"

#include "FieldCodec.h"
#include "ReportError.h"

#include "base/Logging.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS records ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " category INTEGER NOT NULL,"
    " time INTEGER NOT NULL,"
    " fields BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS records_by_time ON records(category, time);";

std::uint32_t BigEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

long long FileSize(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    return std::ftell(file);
}

bool Exists(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

[[noreturn]] void Broken(const std::string& path, const char* what)
{
    throw ReportError(ReportError::Kind::Broken, "the journal " + path + " " + what);
}

} // namespace

struct SqliteStore::Writer
{
    explicit Writer(const std::string& path)
        : connection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX)
    {}

    // Before the statements are prepared: they need the table.
    static bool Configure(SqliteConnection& connection)
    {
        sqlite3_busy_timeout(connection.handle(), kBusyTimeoutMs);
        connection.Execute("PRAGMA journal_mode=WAL");
        connection.Execute("PRAGMA synchronous=NORMAL");
        connection.Execute(kSchema);
        return true;
    }

    SqliteConnection connection;
    const bool configured = Configure(connection);
    SqliteStatement begin{connection, "BEGIN IMMEDIATE"};
    SqliteStatement commit{connection, "COMMIT"};
    SqliteStatement insert{connection,
                           "INSERT INTO records (category, time, fields) VALUES (?1, ?2, ?3)"};
    SqliteStatement clear{connection, "DELETE FROM records WHERE category = ?1"};
    SqliteStatement count{connection, "SELECT count(*) FROM records WHERE category = ?1"};
    SqliteStatement pruneOldest{connection,
                                "DELETE FROM records WHERE id IN (SELECT id FROM records"
                                " WHERE category = ?1 ORDER BY time, id LIMIT ?2)"};
    SqliteStatement pruneOlder{connection,
                               "DELETE FROM records WHERE id IN (SELECT id FROM records"
                               " WHERE category = ?1 AND time < ?2 ORDER BY time, id LIMIT ?3)"};
};

// The history reads the index on (category, time) backwards; "+id" keeps
// the planner from scanning by id instead.
struct SqliteStore::Reader
{
    Reader(const std::string& uri, int flags) : connection(uri, flags | SQLITE_OPEN_NOMUTEX) {}

    // Reads the schema: a file that is no database fails here.
    static bool Configure(SqliteConnection& connection)
    {
        sqlite3_busy_timeout(connection.handle(), kBusyTimeoutMs);
        connection.Execute("SELECT count(*) FROM sqlite_master");
        return true;
    }

    SqliteConnection connection;
    const bool configured = Configure(connection);
    SqliteStatement history{connection,
                            "SELECT id, category, time, fields FROM records"
                            " WHERE category = ?1 AND time BETWEEN ?2 AND ?3 AND +id <= ?4"
                            " ORDER BY time DESC, id DESC"};
    SqliteStatement after{connection, "SELECT id, category, time, fields FROM records"
                                      " WHERE id > ?1 ORDER BY id"};
    SqliteStatement byId{connection, "SELECT id, category, time, fields FROM records"
                                     " WHERE id = ?1"};
    SqliteStatement lastId{connection, "SELECT coalesce((SELECT seq FROM sqlite_sequence"
                                       " WHERE name = 'records'), 0)"};
    SqliteStatement stats{connection, "SELECT count(*), coalesce(min(time), 0),"
                                      " coalesce(max(time), 0) FROM records WHERE category = ?1"};
    // Reads the index on (category, time) alone.
    SqliteStatement count{connection, "SELECT count(*) FROM records"
                                      " WHERE category = ?1 AND time >= ?2 AND time < ?3"};
};

SqliteStore::SqliteStore(const std::string& path, Mode mode)
{
    if (mode == Mode::ReadWrite) {
        CheckFile(path);
        m_writer = std::make_unique<Writer>(path);
        m_reader = std::make_unique<Reader>(path, SQLITE_OPEN_READONLY);
        return;
    }
    try {
        m_reader = std::make_unique<Reader>(path, SQLITE_OPEN_READONLY);
    } catch (const ReportError& error) {
        if (error.kind() == ReportError::Kind::Broken || !Exists(path)) {
            throw;
        }
        // A directory where the WAL's shared-memory file cannot be made: the
        // file is read as it is, without the WAL.
        m_reader = std::make_unique<Reader>("file:" + path + "?immutable=1", SQLITE_OPEN_READONLY);
    }
}

SqliteStore::~SqliteStore() = default;

// static
void SqliteStore::CheckFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return; // missing: created when opened
    }
    unsigned char header[100] = {};
    const std::size_t read = std::fread(header, 1, sizeof header, file);
    const long long size = FileSize(file);
    std::fclose(file);
    if (size == 0) {
        return; // empty: SQLite makes a database of it
    }
    if (read < sizeof header || std::memcmp(header, "SQLite format 3", 16) != 0) {
        Broken(path, "is not a database");
    }
    std::FILE* wal = std::fopen((path + "-wal").c_str(), "rb");
    const long long walSize = wal != nullptr ? FileSize(wal) : 0;
    if (wal != nullptr) {
        std::fclose(wal);
    }
    const std::uint32_t pageSizeField = BigEndian(header + 16, 2);
    const long long pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
    const bool countValid = BigEndian(header + 24, 4) == BigEndian(header + 92, 4);
    const long long pages = BigEndian(header + 28, 4);
    if (walSize <= 0 && (size % pageSize != 0 || (countValid && size < pages * pageSize))) {
        Broken(path, "is cut short");
    }
}

template <typename Change>
auto SqliteStore::Write(Change&& change)
{
    const std::lock_guard<std::mutex> lock(m_writeMutex);
    if (m_writer == nullptr) {
        throw ReportError(ReportError::Kind::Storage, "the journal is read-only");
    }
    Writer& writer = *m_writer;
    writer.begin.Step();
    writer.begin.Reset();
    try {
        auto result = change(writer);
        writer.commit.Step();
        writer.commit.Reset();
        return result;
    } catch (...) {
        // SQLite may have rolled back already (a full disk does).
        if (sqlite3_get_autocommit(writer.connection.handle()) == 0) {
            sqlite3_exec(writer.connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
        throw;
    }
}

void SqliteStore::Append(std::vector<Report>& reports)
{
    std::vector<std::int64_t> ids = Write([&](Writer& writer) {
        std::vector<std::int64_t> made;
        made.reserve(reports.size());
        for (const Report& report : reports) {
            const std::string fields = FieldCodec::Encode(report.fields);
            writer.insert.Bind(1, report.category);
            writer.insert.Bind(2, report.time);
            writer.insert.BindBlob(3, fields);
            writer.insert.Step();
            writer.insert.Reset();
            made.push_back(sqlite3_last_insert_rowid(writer.connection.handle()));
        }
        return made;
    });
    for (std::size_t i = 0; i < reports.size(); ++i) {
        reports[i].id = ids[i];
    }
}

// static
void SqliteStore::Visit(SqliteStatement& statement, const Visitor& visit)
{
    struct ResetOnExit
    {
        SqliteStatement& statement;
        ~ResetOnExit() { statement.Reset(); }
    } reset{statement};
    Report report;
    while (statement.Step()) {
        report.id = statement.Integer(0);
        report.category = static_cast<std::int32_t>(statement.Integer(1));
        report.time = statement.Integer(2);
        try {
            report.fields = FieldCodec::Decode(statement.Blob(3), statement.BlobSize(3));
        } catch (const ReportError& error) {
            // One damaged row must neither end a history nor stop every later
            // poll for new records at itself.
            LOG_ERROR << "the stored record " << report.id << " is skipped: " << error.what();
            continue;
        }
        if (!visit(report)) {
            return;
        }
    }
}

void SqliteStore::VisitNewestFirst(const Range& range, const Visitor& visit)
{
    const std::lock_guard<std::mutex> lock(m_readMutex);
    SqliteStatement& history = m_reader->history;
    history.Bind(1, range.category);
    history.Bind(2, range.from);
    history.Bind(3, range.to);
    history.Bind(4, range.lastId);
    Visit(history, visit);
}

void SqliteStore::VisitAfter(std::int64_t afterId, const Visitor& visit)
{
    const std::lock_guard<std::mutex> lock(m_readMutex);
    m_reader->after.Bind(1, afterId);
    Visit(m_reader->after, visit);
}

std::optional<Report> SqliteStore::Find(std::int64_t id)
{
    const std::lock_guard<std::mutex> lock(m_readMutex);
    m_reader->byId.Bind(1, id);
    std::optional<Report> found;
    Visit(m_reader->byId, [&found](const Report& report) {
        found = report;
        return false;
    });
    return found;
}

std::int64_t SqliteStore::LastId()
{
    const std::lock_guard<std::mutex> lock(m_readMutex);
    SqliteStatement& lastId = m_reader->lastId;
    const std::int64_t id = lastId.Step() ? lastId.Integer(0) : 0;
    lastId.Reset();
    return id;
}

std::int64_t SqliteStore::Clear(std::int32_t category)
{
    return Write([&](Writer& writer) {
        writer.clear.Bind(1, category);
        writer.clear.Step();
        writer.clear.Reset();
        return static_cast<std::int64_t>(sqlite3_changes64(writer.connection.handle()));
    });
}

std::int64_t SqliteStore::Prune(std::int32_t category, std::int64_t before, std::int64_t keep,
                                std::int64_t batch)
{
    return Write([&](Writer& writer) {
        writer.count.Bind(1, category);
        const std::int64_t count = writer.count.Step() ? writer.count.Integer(0) : 0;
        writer.count.Reset();
        std::int64_t removed = 0;
        if (count > keep) {
            writer.pruneOldest.Bind(1, category);
            writer.pruneOldest.Bind(2, std::min(count - keep, batch));
            writer.pruneOldest.Step();
            writer.pruneOldest.Reset();
            removed = sqlite3_changes64(writer.connection.handle());
        }
        if (removed < batch) {
            writer.pruneOlder.Bind(1, category);
            writer.pruneOlder.Bind(2, before);
            writer.pruneOlder.Bind(3, batch - removed);
            writer.pruneOlder.Step();
            writer.pruneOlder.Reset();
            removed += sqlite3_changes64(writer.connection.handle());
        }
        return removed;
    });
}

ReportStore::Stats SqliteStore::CategoryStats(std::int32_t category)
{
    const std::lock_guard<std::mutex> lock(m_readMutex);
    SqliteStatement& statement = m_reader->stats;
    statement.Bind(1, category);
    Stats stats;
    if (statement.Step()) {
        stats.count = statement.Integer(0);
        stats.oldest = statement.Integer(1);
        stats.newest = statement.Integer(2);
    }
    statement.Reset();
    return stats;
}

std::int64_t SqliteStore::Count(std::int32_t category, std::int64_t from, std::int64_t to)
{
    const std::lock_guard<std::mutex> lock(m_readMutex);
    SqliteStatement& statement = m_reader->count;
    statement.Bind(1, category);
    statement.Bind(2, from);
    statement.Bind(3, to);
    const std::int64_t count = statement.Step() ? statement.Integer(0) : 0;
    statement.Reset();
    return count;
}
