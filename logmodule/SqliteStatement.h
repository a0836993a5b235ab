#pragma once

#include <cstdint>
#include <string>

struct sqlite3_stmt;
class SqliteConnection;

// One prepared statement of a connection, finalised when the object dies.
// Errors throw ReportError through the connection.
class SqliteStatement
{
public:
    SqliteStatement(SqliteConnection& connection, const char* sql);
    ~SqliteStatement();

    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Binds parameter `index` (from 1).
    void Bind(int index, std::int64_t value);
    // `bytes` must stay unchanged until the statement is reset.
    void BindBlob(int index, const std::string& bytes);

    // Steps once: true while a row is there, false when done.
    bool Step();
    // Resets for the next run (bindings kept).
    void Reset();

    std::int64_t Integer(int column) const;
    const void* Blob(int column) const;
    std::size_t BlobSize(int column) const;

private:
    SqliteConnection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
    const char* m_sql;
};
