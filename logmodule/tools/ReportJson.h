#pragma once

#include "Report.h"

#include <cstdint>
#include <ostream>

// The JSON form of a category's reports: an array of objects with the id,
// the time as UTC text and as milliseconds, and the fields by name.
class ReportJson
{
public:
    ReportJson(std::ostream& out, std::int32_t category);
    // Closes the array.
    ~ReportJson();

    ReportJson(const ReportJson&) = delete;
    ReportJson& operator=(const ReportJson&) = delete;

    void Write(const Report& report);

    // `text` as a JSON string literal, quotes included.
    static std::string Quote(const std::string& text);

private:
    std::ostream& m_out;
    std::int32_t m_category;
    bool m_first = true;
};
