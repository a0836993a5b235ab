#pragma once

#include <string>

struct sqlite3;

// One SQLite connection, closed when the object dies. Errors throw
// ReportError: Broken for a file that is not a database or is damaged,
// Storage for anything else.
class SqliteConnection
{
public:
    // Opens `uri` (a file name or "file:" URI) with the sqlite3_open_v2
    // `flags`; throws when it cannot.
    SqliteConnection(const std::string& uri, int flags);
    ~SqliteConnection();

    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    sqlite3* handle() const { return m_db; }

    // Runs `sql` (one or more statements without results).
    void Execute(const char* sql);

    // Throws for the result `code` of an operation that did `what`.
    [[noreturn]] void Fail(int code, const std::string& what) const;

private:
    sqlite3* m_db = nullptr;
};
