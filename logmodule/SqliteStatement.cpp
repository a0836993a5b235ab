#include "SqliteStatement.h"

#include "SqliteConnection.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(SqliteConnection& connection, const char* sql)
    : m_connection(connection), m_sql(sql)
{
    const int code = sqlite3_prepare_v3(connection.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT,
                                        &m_statement, nullptr);
    if (code != SQLITE_OK) {
        connection.Fail(code, sql);
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::Bind(int index, std::int64_t value)
{
    const int code = sqlite3_bind_int64(m_statement, index, value);
    if (code != SQLITE_OK) {
        m_connection.Fail(code, m_sql);
    }
}

void SqliteStatement::BindBlob(int index, const std::string& bytes)
{
    const int code =
        sqlite3_bind_blob64(m_statement, index, bytes.data(), bytes.size(), SQLITE_STATIC);
    if (code != SQLITE_OK) {
        m_connection.Fail(code, m_sql);
    }
}

bool SqliteStatement::Step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    sqlite3_reset(m_statement);
    m_connection.Fail(code, m_sql);
}

void SqliteStatement::Reset()
{
    sqlite3_reset(m_statement);
}

std::int64_t SqliteStatement::Integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

const void* SqliteStatement::Blob(int column) const
{
    return sqlite3_column_blob(m_statement, column);
}

std::size_t SqliteStatement::BlobSize(int column) const
{
    return static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column));
}
