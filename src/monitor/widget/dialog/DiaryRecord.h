#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the diary keeps of one record of the log module: its time, texts,
// journal id and category, copied out of the module's record while the callback runs (the
// module's record lives for the call only).
struct DiaryRecord
{
    // Milliseconds since 1970-01-01 00:00 UTC.
    std::int64_t time = 0;
    // The record's fields in UTF-8, in the order of its category's fields.
    std::vector<std::string> fields;
    // The record's id in the journal (KoReportRecord::id).
    std::int64_t id = 0;
    // The record's category (RecordCategory).
    std::int32_t category = 0;

    // A copy of the module's record (a KoReportRecord) of `category`; none
    // for a null record, one too short to hold its fields, or one of another
    // category. A null field reads as empty.
    static std::optional<DiaryRecord> FromModule(const void* record, int category);

    // The field at `index`, empty when the record has fewer.
    const std::string& field(std::size_t index) const;
};
