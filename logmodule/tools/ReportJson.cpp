#include "ReportJson.h"

#include "ReportLayout.h"
#include "ReportTime.h"

#include "monitor/lib/RecordCategory.h"

#include <cstdio>

ReportJson::ReportJson(std::ostream& out, std::int32_t category) : m_out(out), m_category(category)
{
    m_out << '[';
}

ReportJson::~ReportJson()
{
    m_out << (m_first ? "]\n" : "\n]\n");
}

void ReportJson::Write(const Report& report)
{
    m_out << (m_first ? "\n  " : ",\n  ");
    m_first = false;
    m_out << "{\"id\": " << report.id
          << ", \"category\": " << Quote(RecordCategory::Name(m_category))
          << ", \"time\": " << Quote(ReportTime::FormatUtc(report.time))
          << ", \"time_ms\": " << report.time;
    for (std::size_t i = 0; i < report.fields.size(); ++i) {
        m_out << ", " << Quote(ReportLayout::FieldName(m_category, i)) << ": "
              << Quote(report.fields[i]);
    }
    m_out << '}';
}

// static
std::string ReportJson::Quote(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}
