#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One report of the journal as the module's code holds it: texts in UTF-8,
// in the order of the category's fields (ReportLayout).
struct Report
{
    std::int64_t id = 0; // set by the store when appended
    std::int32_t category = 0;
    std::int64_t time = 0; // milliseconds since 1970-01-01 00:00 UTC
    std::vector<std::string> fields;
};
