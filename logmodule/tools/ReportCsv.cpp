#include "ReportCsv.h"

#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportTime.h"

namespace {

void WriteCell(std::ostream& out, const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out << text;
        return;
    }
    out << '"';
    for (const char c : text) {
        out << (c == '"' ? "\"\"" : std::string(1, c));
    }
    out << '"';
}

[[noreturn]] void Fail(std::size_t line, const std::string& what)
{
    throw ReportError(ReportError::Kind::Invalid, "line " + std::to_string(line) + ": " + what);
}

// Reads one CSV record (which may span lines inside quotes) into `cells`;
// false at the end of the input. `line` counts the lines read.
bool ReadRecord(std::istream& in, std::vector<std::string>& cells, std::size_t& line)
{
    cells.clear();
    int c = in.get();
    if (c == EOF) {
        return false;
    }
    ++line;
    std::string cell;
    bool quoted = false;
    for (; c != EOF; c = in.get()) {
        if (quoted) {
            if (c == '"') {
                if (in.peek() == '"') {
                    cell += static_cast<char>(in.get());
                } else {
                    quoted = false;
                }
            } else {
                line += c == '\n' ? 1 : 0;
                cell += static_cast<char>(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.push_back(std::move(cell));
            cell.clear();
        } else if (c == '\n') {
            break;
        } else if (c != '\r') {
            cell += static_cast<char>(c);
        }
    }
    if (quoted) {
        Fail(line, "a quoted field does not end");
    }
    cells.push_back(std::move(cell));
    return true;
}

} // namespace

void ReportCsv::WriteHeader(std::ostream& out) const
{
    out << "time";
    for (std::size_t i = 0; i < ReportLayout::FieldCount(m_category); ++i) {
        out << ',' << ReportLayout::FieldName(m_category, i);
    }
    out << "\r\n";
}

void ReportCsv::Write(std::ostream& out, const Report& report) const
{
    out << ReportTime::FormatUtc(report.time);
    for (const std::string& field : report.fields) {
        out << ',';
        WriteCell(out, field);
    }
    out << "\r\n";
}

std::vector<Report> ReportCsv::Read(std::istream& in) const
{
    const std::size_t fieldCount = ReportLayout::FieldCount(m_category);
    std::size_t line = 0;
    std::vector<std::string> cells;
    if (!ReadRecord(in, cells, line)) {
        Fail(1, "no header line");
    }
    if (cells[0].rfind("\xEF\xBB\xBF", 0) == 0) {
        cells[0].erase(0, 3); // byte-order mark
    }
    // Column -> field index; fieldCount for the time.
    std::vector<std::size_t> columns;
    bool hasTime = false;
    for (const std::string& name : cells) {
        const std::size_t index =
            name == "time" ? fieldCount : ReportLayout::FieldIndex(m_category, name);
        if (index == fieldCount && name != "time") {
            Fail(line, "unknown column '" + name + "'");
        }
        hasTime = hasTime || name == "time";
        columns.push_back(index);
    }
    if (!hasTime) {
        Fail(line, "no time column");
    }
    std::vector<Report> reports;
    while (ReadRecord(in, cells, line)) {
        if (cells.size() == 1 && cells[0].empty()) {
            continue; // blank line
        }
        if (cells.size() != columns.size()) {
            Fail(line, std::to_string(cells.size()) + " columns, the header has " +
                           std::to_string(columns.size()));
        }
        Report report;
        report.category = m_category;
        report.fields.resize(fieldCount);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (columns[i] < fieldCount) {
                report.fields[columns[i]] = cells[i];
                continue;
            }
            try {
                report.time = ReportTime::Parse(cells[i]);
            } catch (const ReportError& error) {
                Fail(line, error.what());
            }
        }
        try {
            ReportLayout::Check(report);
        } catch (const ReportError& error) {
            Fail(line, error.what());
        }
        reports.push_back(std::move(report));
    }
    return reports;
}
