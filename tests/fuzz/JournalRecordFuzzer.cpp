// The journal's stored records on arbitrary bytes. The first byte picks the
// category (one of the known ones, or an unknown id); the rest is the blob of
// a record's fields as the journal keeps it. FieldCodec::Decode must agree
// with an independent decoder (the same fields, or ReportError Broken where
// that one fails), and what decodes must encode back to the same bytes. The
// blob is then stored as a row of a SQLite journal and read back through
// SqliteStore: the same fields, or the row skipped. A decoded record given to the
// interface (InterfaceRecord) either has its category's number of fields,
// each converting back to the same UTF-8, or is refused with ReportError.
#include "FuzzInput.h"

#include "FieldCodec.h"
#include "InterfaceRecord.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "SqliteStore.h"
#include "Utf16.h"

#include "monitor/lib/RecordCategory.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

// Length-prefixed fields, 4 bytes little-endian each; nothing for a blob
// that ends inside a prefix or a field.
std::optional<std::vector<std::string>> ModelDecode(const std::string& blob)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (at < blob.size()) {
        if (blob.size() - at < 4) {
            return std::nullopt;
        }
        const auto byte = [&](std::size_t i) {
            return static_cast<unsigned long long>(static_cast<unsigned char>(blob[at + i]));
        };
        const unsigned long long length = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
        at += 4;
        if (length > blob.size() - at) {
            return std::nullopt;
        }
        fields.push_back(blob.substr(at, length));
        at += length;
    }
    return fields;
}

std::optional<std::vector<std::string>> CodecDecode(const std::string& blob)
{
    try {
        return FieldCodec::Decode(blob.data(), blob.size());
    } catch (const ReportError& error) {
        Check(error.kind() == ReportError::Kind::Broken, "Decode failed other than Broken");
        return std::nullopt;
    }
}

// A journal in the target's directory, and a second connection that writes
// its rows directly, the way a damaged or foreign file would hold them.
class StoredJournal
{
public:
    StoredJournal() : m_path(FuzzInput::Get().PathOf("journal.db"))
    {
        m_store = std::make_unique<SqliteStore>(m_path, SqliteStore::Mode::ReadWrite);
        Check(sqlite3_open(m_path.c_str(), &m_raw) == SQLITE_OK, "raw open failed");
        Check(sqlite3_exec(m_raw, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr) == SQLITE_OK,
              "pragma failed");
    }

    // The fields of a row holding `blob`, read through the store; nothing
    // when it skips the row.
    std::optional<std::vector<std::string>> RoundTrip(std::int32_t category,
                                                      const std::string& blob)
    {
        const std::int64_t before = m_store->LastId();
        Exec("INSERT INTO records (category, time, fields) VALUES (?1, 0, ?2)", category, &blob);
        std::optional<std::vector<std::string>> fields;
        int visits = 0;
        m_store->VisitAfter(before, [&](const Report& report) {
            ++visits;
            Check(report.category == category, "the category changed");
            fields = report.fields;
            return true;
        });
        Check(visits <= 1, "more than the one stored row");
        Exec("DELETE FROM records", 0, nullptr);
        return fields;
    }

private:
    void Exec(const char* sql, std::int32_t category, const std::string* blob)
    {
        sqlite3_stmt* statement = nullptr;
        Check(sqlite3_prepare_v2(m_raw, sql, -1, &statement, nullptr) == SQLITE_OK,
              "prepare failed");
        if (blob != nullptr) {
            sqlite3_bind_int(statement, 1, category);
            sqlite3_bind_blob(statement, 2, blob->data(), static_cast<int>(blob->size()),
                              SQLITE_TRANSIENT);
        }
        Check(sqlite3_step(statement) == SQLITE_DONE, "step failed");
        sqlite3_finalize(statement);
    }

    std::string m_path;
    std::unique_ptr<SqliteStore> m_store;
    sqlite3* m_raw = nullptr;
};

void CheckInterface(std::int32_t category, const std::vector<std::string>& fields)
{
    Report report;
    report.category = category;
    report.fields = fields;
    bool known = false;
    for (const std::int32_t id : RecordCategory::kAll) {
        known = known || id == category;
    }
    bool convertible = known && fields.size() == ReportLayout::FieldCount(category);
    for (const std::string& field : fields) {
        convertible = convertible && Utf16::IsValidUtf8(field);
    }
    try {
        const InterfaceRecord record(report, 0);
        Check(convertible, "a record that does not fit its category reached the interface");
        const Report back = InterfaceRecord::ToReport(&record.record());
        Check(back.fields == fields, "the interface's texts differ from the stored fields");
    } catch (const ReportError& error) {
        Check(!convertible, "a fitting record was refused");
        Check(error.kind() == ReportError::Kind::Invalid, "refused other than Invalid");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::size_t pick = data[0] % (RecordCategory::kCount + 1);
    const std::int32_t category = pick < RecordCategory::kCount ? RecordCategory::kAll[pick] : 7;
    const std::string blob(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::optional<std::vector<std::string>> model = ModelDecode(blob);
    const std::optional<std::vector<std::string>> decoded = CodecDecode(blob);
    Check(model == decoded, "Decode differs from the model");
    if (decoded) {
        Check(FieldCodec::Encode(*decoded) == blob, "Encode does not give the blob back");
    }

    static StoredJournal journal;
    Check(journal.RoundTrip(category, blob) == model, "the store's record differs from the model");

    if (decoded) {
        CheckInterface(category, *decoded);
    }
    return 0;
}
