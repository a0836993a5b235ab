#pragma once

#include "Report.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The fields of each record category: how many, their names (the columns of
// ko-report's files and the options of its `add`) and which may not be empty.
class ReportLayout
{
public:
    // The largest text of a field, in UTF-8 bytes.
    static constexpr std::size_t kMaxFieldBytes = 65536;

    // The category's number of fields; throws ReportError (Invalid) for an
    // unknown category.
    static std::size_t FieldCount(std::int32_t category);

    // The ASCII name of field `index` of `category` ("threat_name").
    static const char* FieldName(std::int32_t category, std::size_t index);

    // The index of the field called `name`, or FieldCount when there is none.
    static std::size_t FieldIndex(std::int32_t category, const std::string& name);

    // Whether field `index` must hold a text.
    static bool IsRequired(std::int32_t category, std::size_t index);

    // The category whose name (RecordCategory::Name) or decimal id is
    // `text`; throws ReportError (Invalid) when there is none.
    static std::int32_t ParseCategory(const std::string& text);

    // Throws ReportError (Invalid), saying what is wrong, unless `report` has
    // a known category, its category's number of fields, every required
    // field, no field over kMaxFieldBytes and a time from 1970 on.
    static void Check(const Report& report);
};
