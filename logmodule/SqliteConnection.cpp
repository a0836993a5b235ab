#include "SqliteConnection.h"

#include "ReportError.h"

#include <sqlite3.h>

namespace {

ReportError::Kind KindOf(int code)
{
    const int primary = code & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? ReportError::Kind::Broken
                                                                 : ReportError::Kind::Storage;
}

} // namespace

SqliteConnection::SqliteConnection(const std::string& uri, int flags)
{
    const int code = sqlite3_open_v2(uri.c_str(), &m_db, flags | SQLITE_OPEN_URI, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
        sqlite3_close(m_db);
        throw ReportError(KindOf(code), "cannot open the journal " + uri + ": " + message);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteConnection::~SqliteConnection()
{
    sqlite3_close_v2(m_db);
}

void SqliteConnection::Execute(const char* sql)
{
    const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        Fail(code, sql);
    }
}

void SqliteConnection::Fail(int code, const std::string& what) const
{
    throw ReportError(KindOf(code), what + ": " + sqlite3_errmsg(m_db));
}
