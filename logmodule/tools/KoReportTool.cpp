#include "KoReportTool.h"

#include "DemoHistory.h"
#include "ReportCsv.h"
#include "ReportJson.h"

#include "Journal.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportTime.h"
#include "StoreOpener.h"

#include "monitor/lib/RecordCategory.h"

#include <fstream>
#include <limits>

namespace {

const char* const kUsage =
    "usage: ko-report [--journal FILE] add CATEGORY [--time TIME] [--FIELD TEXT ...] | "
    "import CATEGORY FILE.csv | export CATEGORY [--format csv|json] [FILE] | "
    "demo --days N | stats";

[[noreturn]] void Usage(const std::string& what)
{
    throw ReportError(ReportError::Kind::Invalid, what);
}

// The value after option args[at], advancing `at` past it.
const std::string& Value(const std::vector<std::string>& args, std::size_t& at)
{
    if (at + 1 >= args.size()) {
        Usage("the option " + args[at] + " needs a value");
    }
    return args[++at];
}

std::int32_t Category(const std::vector<std::string>& args)
{
    if (args.empty()) {
        Usage("no category given");
    }
    return ReportLayout::ParseCategory(args[0]);
}

} // namespace

int KoReportTool::Run(std::vector<std::string> args)
{
    try {
        std::string path;
        if (!args.empty() && args[0] == "--journal") {
            std::size_t at = 0;
            path = Value(args, at);
            args.erase(args.begin(), args.begin() + 2);
        }
        if (args.empty()) {
            Usage(kUsage);
        }
        const std::string command = args[0];
        args.erase(args.begin());
        if (command != "add" && command != "import" && command != "export" && command != "demo" &&
            command != "stats") {
            Usage("unknown command '" + command + "'; " + kUsage);
        }
        Journal journal(StoreOpener::Open(path.empty() ? Journal::DefaultPath() : path));
        if (command == "add") {
            Add(journal, args);
        } else if (command == "import") {
            Import(journal, args);
        } else if (command == "export") {
            Export(journal, args);
        } else if (command == "demo") {
            Demo(journal, args);
        } else {
            Stats(journal);
        }
        return 0;
    } catch (const ReportError& error) {
        m_err << "ko-report: " << error.what() << '\n';
        return error.kind() == ReportError::Kind::Invalid ? 2 : 1;
    }
}

void KoReportTool::Add(Journal& journal, const std::vector<std::string>& args)
{
    Report report;
    report.category = Category(args);
    report.time = ReportTime::Now();
    report.fields.resize(ReportLayout::FieldCount(report.category));
    for (std::size_t at = 1; at < args.size(); ++at) {
        const std::string& option = args[at];
        if (option == "--time") {
            report.time = ReportTime::Parse(Value(args, at));
            continue;
        }
        const std::size_t field = option.rfind("--", 0) == 0
                                      ? ReportLayout::FieldIndex(report.category, option.substr(2))
                                      : report.fields.size();
        if (field == report.fields.size()) {
            Usage("unknown option '" + option + "' for " + RecordCategory::Name(report.category) +
                  " records");
        }
        report.fields[field] = Value(args, at);
    }
    const std::int64_t id = journal.Append(report);
    m_out << "added " << RecordCategory::Name(report.category) << " record " << id << '\n';
    journal.Prune(ReportTime::Now());
}

void KoReportTool::Import(Journal& journal, const std::vector<std::string>& args)
{
    const std::int32_t category = Category(args);
    if (args.size() != 2) {
        Usage("import takes a category and one CSV file");
    }
    std::ifstream in(args[1], std::ios::binary);
    if (!in) {
        Usage("cannot read " + args[1]);
    }
    std::vector<Report> reports = ReportCsv(category).Read(in);
    journal.Append(reports);
    m_out << "imported " << reports.size() << ' ' << RecordCategory::Name(category) << " records\n";
    journal.Prune(ReportTime::Now());
}

void KoReportTool::Export(Journal& journal, const std::vector<std::string>& args)
{
    const std::int32_t category = Category(args);
    std::string format = "csv";
    std::string file;
    for (std::size_t at = 1; at < args.size(); ++at) {
        if (args[at] == "--format") {
            format = Value(args, at);
        } else if (file.empty() && args[at].rfind("--", 0) != 0) {
            file = args[at];
        } else {
            Usage("unknown argument '" + args[at] + "' of export");
        }
    }
    if (format != "csv" && format != "json") {
        Usage("unknown format '" + format + "' (csv or json)");
    }
    std::ofstream stream;
    if (!file.empty()) {
        stream.open(file, std::ios::binary);
        if (!stream) {
            Usage("cannot write " + file);
        }
    }
    std::ostream& out = file.empty() ? m_out : stream;
    ReportStore::Range range;
    range.category = category;
    if (format == "csv") {
        const ReportCsv csv(category);
        csv.WriteHeader(out);
        journal.Store().VisitNewestFirst(range, [&](const Report& report) {
            csv.Write(out, report);
            return true;
        });
    } else {
        ReportJson json(out, category);
        journal.Store().VisitNewestFirst(range, [&](const Report& report) {
            json.Write(report);
            return true;
        });
    }
}

void KoReportTool::Demo(Journal& journal, const std::vector<std::string>& args)
{
    if (args.size() != 2 || args[0] != "--days") {
        Usage("demo takes --days N");
    }
    int days = 0;
    try {
        std::size_t used = 0;
        days = std::stoi(args[1], &used);
        if (used != args[1].size() || days < 1 || days > 3650) {
            throw std::out_of_range("days");
        }
    } catch (const std::exception&) {
        Usage("--days takes a number from 1 to 3650, not '" + args[1] + "'");
    }
    std::size_t count = 0;
    DemoHistory(days, ReportTime::Now()).Generate([&](std::vector<Report>& reports) {
        journal.Append(reports);
        count += reports.size();
    });
    m_out << "demo: " << count << " records over " << days << " days\n";
    journal.Prune(ReportTime::Now());
}

void KoReportTool::Stats(Journal& journal)
{
    for (const std::int32_t category : RecordCategory::kAll) {
        const ReportStore::Stats stats = journal.Store().CategoryStats(category);
        m_out << RecordCategory::Name(category) << ": " << stats.count << " records";
        if (stats.count > 0) {
            m_out << ", " << ReportTime::FormatUtc(stats.oldest) << " to "
                  << ReportTime::FormatUtc(stats.newest);
        }
        m_out << '\n';
    }
}
