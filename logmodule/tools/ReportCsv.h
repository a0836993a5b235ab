#pragma once

#include "Report.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// The CSV form of a category's reports: UTF-8, a header line "time" and the
// category's field names, then one line per report with its time as UTC
// ("2026-12-10T08:30:00.000Z"). Fields holding a comma, a quote or a line
// break are quoted, quotes doubled.
class ReportCsv
{
public:
    explicit ReportCsv(std::int32_t category) : m_category(category) {}

    void WriteHeader(std::ostream& out) const;
    void Write(std::ostream& out, const Report& report) const;

    // Reads every report of `in`. The header names the columns ("time" and
    // any of the category's fields, in any order; a field without a column
    // is empty). Throws ReportError (Invalid) with the line number for a
    // header or a line that does not fit, or a time that does not parse.
    std::vector<Report> Read(std::istream& in) const;

private:
    std::int32_t m_category;
};
