// ko-report's commands run in this process over a journal of the test's own:
// add, import and export (CSV, JSON), demo and stats; bad input exits 2 with
// one line saying what is wrong and writes nothing.

#include "KoReportTool.h"

#include "StoreOpener.h"

#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct Result
{
    int code;
    std::string out;
    std::string err;
};

class KoReportToolTest : public testing::Test
{
protected:
    Result Run(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--journal", Journal()});
        std::ostringstream out;
        std::ostringstream err;
        const int code = KoReportTool(out, err).Run(args);
        return {code, out.str(), err.str()};
    }

    std::string Journal() const { return (m_dir.Path() / "journal.db").string(); }
    std::string File(const std::string& name) const { return (m_dir.Path() / name).string(); }

    std::int64_t Count(std::int32_t category) const
    {
        return StoreOpener::Open(Journal())->CategoryStats(category).count;
    }

    TemporaryDirectory m_dir;
};

struct BadInput
{
    const char* name;
    std::vector<std::string> args;
    const char* error;
};

class KoReportBadInputTest : public KoReportToolTest, public testing::WithParamInterface<BadInput>
{};

} // namespace

TEST_F(KoReportToolTest, AddedRecordsExportAsCsvAndJson)
{
    EXPECT_EQ(Run({"add", "ransomware_found", "--time", "2026-12-01 08:30:00Z", "--threat_name",
                   "Ransom.\"Quoted\", A", "--action", "quarantined"})
                  .code,
              0);
    const Result added = Run({"add", "100219", "--threat_name", "Ransom.B", "--action", "deleted",
                              "--time", "2026-12-02 09:00Z"});
    EXPECT_EQ(added.code, 0) << added.err;
    EXPECT_EQ(added.out, "added ransomware_found record 2\n");

    const Result csv = Run({"export", "ransomware_found"});
    EXPECT_EQ(csv.out, "time,threat_name,action\r\n"
                       "2026-12-02T09:00:00.000Z,Ransom.B,deleted\r\n"
                       "2026-12-01T08:30:00.000Z,\"Ransom.\"\"Quoted\"\", A\",quarantined\r\n");
    const Result json = Run({"export", "ransomware_found", "--format", "json"});
    EXPECT_NE(json.out.find("{\"id\": 1, \"category\": \"ransomware_found\", \"time\": "
                            "\"2026-12-01T08:30:00.000Z\", \"time_ms\": 1796113800000, "
                            "\"threat_name\": \"Ransom.\\\"Quoted\\\", A\", \"action\": "
                            "\"quarantined\"}"),
              std::string::npos)
        << json.out;
}

TEST_F(KoReportToolTest, ExportedCsvImportsBack)
{
    ASSERT_EQ(Run({"add", "update_package", "--version", "5.2.1", "--notes", "line one\nline two",
                   "--time", "2026-11-30 10:00Z"})
                  .code,
              0);
    ASSERT_EQ(Run({"export", "update_package", File("updates.csv")}).code, 0);
    const Result imported = Run({"import", "update_package", File("updates.csv")});
    EXPECT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(imported.out, "imported 1 update_package records\n");
    const Result csv = Run({"export", "update_package"});
    EXPECT_EQ(csv.out, "time,version,notes\r\n"
                       "2026-11-30T10:00:00.000Z,5.2.1,\"line one\nline two\"\r\n"
                       "2026-11-30T10:00:00.000Z,5.2.1,\"line one\nline two\"\r\n");
}

TEST_F(KoReportToolTest, DemoMakesALivedInHistoryThatStatsSummarise)
{
    const Result demo = Run({"demo", "--days", "14"});
    EXPECT_EQ(demo.code, 0) << demo.err;
    EXPECT_GT(Count(100221), 8) << "program starts";
    EXPECT_GT(Count(100218), 8) << "daily scans";
    EXPECT_GT(Count(100217), 8 * 100) << "heartbeats every few minutes";
    EXPECT_GT(Count(100220), 0) << "update downloads";
    const Result stats = Run({"stats"});
    EXPECT_EQ(stats.code, 0);
    EXPECT_NE(stats.out.find("heartbeat: "), std::string::npos);
    EXPECT_NE(stats.out.find("program_start: "), std::string::npos);
}

TEST_P(KoReportBadInputTest, ExitsTwoWithOneLineAndWritesNothing)
{
    std::ofstream(File("bad_time.csv")) << "time,kind,result\r\n2026-12-01 08:00Z,quick scan,ok\r\n"
                                        << "tomorrow,quick scan,ok\r\n";
    std::ofstream(File("bad_column.csv")) << "time,kind,colour\r\n";
    std::ofstream(File("nul_cell.csv")) << "time,kind,result\r\n2026-12-01 08:00Z,quick scan,ok\r\n"
                                        << std::string("2026-12-01 09:00Z,quick\0scan,ok\r\n", 33);
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args) {
        if (arg.rfind('@', 0) == 0) {
            arg = File(arg.substr(1)); // a file of the test's directory
        }
    }
    const Result result = Run(args);
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.rfind(std::string("ko-report: ") + GetParam().error, 0), 0u) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line";
    for (const std::int32_t category : {100217, 100218, 100219, 100220, 100221}) {
        EXPECT_EQ(Count(category), 0) << category;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, KoReportBadInputTest,
    testing::Values(
        BadInput{"UnknownCategory", {"add", "virus_found"}, "unknown category 'virus_found'"},
        BadInput{"UnknownCommand", {"remove", "heartbeat"}, "unknown command 'remove'; usage:"},
        BadInput{"MissingField",
                 {"add", "ransomware_found", "--threat_name", "Ransom.A"},
                 "ransomware_found records need the field action"},
        BadInput{"UnknownField",
                 {"add", "heartbeat", "--version", "1"},
                 "unknown option '--version' for heartbeat records"},
        BadInput{"OptionWithoutValue",
                 {"add", "update_package", "--version"},
                 "the option --version needs a value"},
        BadInput{"OversizedField",
                 {"add", "update_package", "--version", "1", "--notes", std::string(65537, 'n')},
                 "the field notes has 65537 bytes, more than 65536"},
        BadInput{"TimeThatDoesNotParse",
                 {"add", "heartbeat", "--time", "2026-02-30 10:00"},
                 "the time '2026-02-30 10:00' does not parse (expected YYYY-MM-DD "
                 "HH:MM[:SS[.mmm]][Z])"},
        BadInput{"CsvLineWithABadTime",
                 {"import", "execute_scan", "@bad_time.csv"},
                 "line 3: the time 'tomorrow' does not parse (expected YYYY-MM-DD "
                 "HH:MM[:SS[.mmm]][Z])"},
        BadInput{"CsvWithAnUnknownColumn",
                 {"import", "execute_scan", "@bad_column.csv"},
                 "line 1: unknown column 'colour'"},
        BadInput{"CsvCellWithANul",
                 {"import", "execute_scan", "@nul_cell.csv"},
                 "line 3: the field kind holds a NUL character"},
        BadInput{"DemoWithoutDays",
                 {"demo", "--days", "many"},
                 "--days takes a number from 1 to 3650, not 'many'"}),
    [](const auto& info) { return std::string(info.param.name); });
