// `ko-report import` on arbitrary bytes. The first byte picks the category;
// the rest is the CSV file. ReportCsv::Read must give what an independent
// CSV parse of the same file gives (the same reports, field for field), or
// throw ReportError (Invalid, naming the line) where that parse finds a
// header or a line that does not fit. The tool then imports the file into a
// SQLite journal in the target's directory: exit code 0 and "imported N ..."
// for a file that reads, the journal then holding only the file's reports
// in its order (retention may prune old ones at once), else 2 with the
// journal's count unchanged.
#include "FuzzInput.h"

#include "KoReportTool.h"
#include "ReportCsv.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportTime.h"
#include "SqliteStore.h"

#include "monitor/lib/RecordCategory.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
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

using Row = std::vector<std::string>;

// The rows of `text`: cells split at commas, rows at line feeds, carriage
// returns dropped; a double quote anywhere outside quotes opens a quoted
// stretch, in which everything counts and a doubled quote is one quote.
// Nothing when a quoted stretch does not end.
std::optional<std::vector<Row>> ParseCsv(const std::string& text)
{
    std::vector<Row> rows;
    std::size_t at = 0;
    while (at < text.size()) {
        Row row(1);
        bool ended = false;
        while (at < text.size() && !ended) {
            const char c = text[at++];
            if (c == '"') {
                const std::size_t close = [&] {
                    for (std::size_t i = at; i < text.size(); ++i) {
                        if (text[i] != '"') {
                            continue;
                        }
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            ++i;
                            continue;
                        }
                        return i;
                    }
                    return std::string::npos;
                }();
                if (close == std::string::npos) {
                    return std::nullopt;
                }
                for (std::size_t i = at; i < close; ++i) {
                    row.back() += text[i];
                    i += text[i] == '"' ? 1 : 0;
                }
                at = close + 1;
            } else if (c == ',') {
                row.emplace_back();
            } else if (c == '\n') {
                ended = true;
            } else if (c != '\r') {
                row.back() += c;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The reports the file describes, or nothing when it does not fit.
std::optional<std::vector<Report>> Expected(std::int32_t category, const std::string& text)
{
    const std::optional<std::vector<Row>> rows = ParseCsv(text);
    if (!rows || rows->empty()) {
        return std::nullopt;
    }
    Row header = rows->front();
    if (header[0].compare(0, 3, "\xEF\xBB\xBF") == 0) {
        header[0].erase(0, 3);
    }
    const std::size_t count = ReportLayout::FieldCount(category);
    std::vector<std::size_t> fieldOf; // count: the time
    bool hasTime = false;
    for (const std::string& name : header) {
        std::size_t index = count;
        for (std::size_t i = 0; i < count; ++i) {
            index = name == ReportLayout::FieldName(category, i) ? i : index;
        }
        if (index == count && name != "time") {
            return std::nullopt;
        }
        hasTime = hasTime || index == count;
        fieldOf.push_back(index);
    }
    if (!hasTime) {
        return std::nullopt;
    }
    std::vector<Report> reports;
    for (std::size_t r = 1; r < rows->size(); ++r) {
        const Row& row = (*rows)[r];
        if (row.size() == 1 && row[0].empty()) {
            continue;
        }
        if (row.size() != header.size()) {
            return std::nullopt;
        }
        Report report;
        report.category = category;
        report.fields.resize(count);
        try {
            for (std::size_t i = 0; i < row.size(); ++i) {
                if (fieldOf[i] == count) {
                    report.time = ReportTime::Parse(row[i]);
                } else {
                    report.fields[fieldOf[i]] = row[i];
                }
            }
            ReportLayout::Check(report);
        } catch (const ReportError&) {
            return std::nullopt;
        }
        reports.push_back(std::move(report));
    }
    return reports;
}

std::optional<std::vector<Report>> Read(std::int32_t category, const std::string& text)
{
    std::istringstream in(text);
    try {
        return ReportCsv(category).Read(in);
    } catch (const ReportError& error) {
        Check(error.kind() == ReportError::Kind::Invalid, "Read failed other than Invalid");
        Check(std::string(error.what()).rfind("line ", 0) == 0, "the error names no line");
        return std::nullopt;
    }
}

bool Same(const std::vector<Report>& a, const std::vector<Report>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].category != b[i].category || a[i].time != b[i].time ||
            a[i].fields != b[i].fields) {
            return false;
        }
    }
    return true;
}

void CheckImport(std::int32_t category, const std::uint8_t* data, std::size_t size,
                 const std::optional<std::vector<Report>>& expected)
{
    FuzzInput& input = FuzzInput::Get();
    const std::string journal = input.PathOf("journal.db");
    static SqliteStore counter(journal, SqliteStore::Mode::ReadWrite);
    if (counter.CategoryStats(category).count > 2000) {
        counter.Clear(category);
    }
    const std::int64_t before = counter.CategoryStats(category).count;
    const std::int64_t lastId = counter.LastId();
    const std::string file = input.WriteFile(data, size, "import.csv");
    std::ostringstream out;
    std::ostringstream err;
    const int code = KoReportTool(out, err).Run(
        {"--journal", journal, "import", std::to_string(category), file});
    const std::int64_t after = counter.CategoryStats(category).count;
    if (!expected) {
        Check(code == 2, "a file that does not fit was not refused with 2");
        Check(after == before, "a refused import changed the journal");
        Check(out.str().empty() && !err.str().empty(), "a refusal without one error line");
        return;
    }
    Check(code == 0, "a file that fits was not imported");
    Check(out.str().rfind("imported " + std::to_string(expected->size()) + " ", 0) == 0,
          "the tool names another count");
    Check(after - before <= static_cast<std::int64_t>(expected->size()),
          "the journal grew by more than the file holds");
    // What the journal kept (retention may have pruned old times at once)
    // is the file's reports, in the file's order.
    std::size_t next = 0;
    counter.VisitAfter(lastId, [&](const Report& stored) {
        while (next < expected->size() && !Same({stored}, {(*expected)[next]})) {
            ++next;
        }
        Check(next < expected->size(), "the journal holds a report the file does not");
        ++next;
        return true;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::int32_t category = RecordCategory::kAll[data[0] % RecordCategory::kCount];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::optional<std::vector<Report>> expected = Expected(category, text);
    const std::optional<std::vector<Report>> read = Read(category, text);
    Check(expected.has_value() == read.has_value(), "Read and the model disagree on the file");
    if (read) {
        Check(Same(*read, *expected), "Read's reports differ from the model's");
        for (const Report& report : *read) {
            for (const std::string& field : report.fields) {
                Check(field.find('\0') == std::string::npos,
                      "a text with a NUL, which the interface would cut, was read");
            }
        }
    }
    CheckImport(category, data + 1, size - 1, expected);
    return 0;
}
