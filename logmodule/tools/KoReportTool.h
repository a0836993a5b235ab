#pragma once

#include <ostream>
#include <string>
#include <vector>

class Journal;

// ko-report: adds, imports, exports and summarises the reports of the
// journal, and makes a demo history (see docs/LOG_MODULE.md).
//
//   ko-report [--journal FILE] add CATEGORY [--time TIME] [--FIELD TEXT ...]
//   ko-report [--journal FILE] import CATEGORY FILE.csv
//   ko-report [--journal FILE] export CATEGORY [--format csv|json] [FILE]
//   ko-report [--journal FILE] demo --days N
//   ko-report [--journal FILE] stats
//
// Run answers the exit code: 0 done, 2 a bad argument or record (one line on
// `err` says what is wrong, nothing is written), 1 a journal that cannot be
// written.
class KoReportTool
{
public:
    KoReportTool(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    int Run(std::vector<std::string> args);

private:
    void Add(Journal& journal, const std::vector<std::string>& args);
    void Import(Journal& journal, const std::vector<std::string>& args);
    void Export(Journal& journal, const std::vector<std::string>& args);
    void Demo(Journal& journal, const std::vector<std::string>& args);
    void Stats(Journal& journal);

    std::ostream& m_out;
    std::ostream& m_err;
};
