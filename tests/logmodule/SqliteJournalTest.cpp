// The SQLite journal among processes and faults: writers in several processes
// at once, records of another process arriving live, a file that is no
// database or is cut short, a writer killed in the middle of appending, a
// read-only directory and a full disk.

#include "Journal.h"
#include "LogModule.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportTime.h"
#include "SqliteStore.h"
#include "StoreOpener.h"

#include "LogFixture.h"
#include "RecordCollector.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Recent: the module's thread prunes records older than 180 days.
const std::int64_t kTime = ReportTime::Now() - 3600 * 1000;

Report Make(std::int32_t category, std::int64_t time, const std::string& text = "r")
{
    Report report;
    report.category = category;
    report.time = time;
    report.fields.assign(ReportLayout::FieldCount(category), text);
    return report;
}

// Runs `child` in a forked process and returns its exit code (-1 when it
// did not exit by itself).
int RunChild(const std::function<int()>& child)
{
    const pid_t pid = fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = child();
        } catch (...) {
            code = 98;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The journal in a directory of its own, beside the log.
class SqliteJournalTest : public LogFixture
{
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        std::filesystem::create_directory(JournalDirectory());
    }

    std::filesystem::path JournalDirectory() const { return m_dir.Path() / "journal"; }
    std::string Path() const { return (JournalDirectory() / "journal.db").string(); }

    std::set<std::string> JournalFileNames() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(JournalDirectory())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    std::int64_t Count(std::int32_t category) const
    {
        return StoreOpener::Open(Path())->CategoryStats(category).count;
    }

    void Seed(std::size_t count) const
    {
        Journal journal(StoreOpener::Open(Path()));
        for (std::size_t i = 0; i < count; ++i) {
            journal.Append(Make(KO_REPORT_EXECUTE_SCAN, kTime + static_cast<std::int64_t>(i)));
        }
    }
};

// A broken journal file: what is written where the journal was.
struct BrokenFile
{
    const char* name;
    std::function<std::string(const std::string& wholeJournal)> bytes;
};

class BrokenJournalTest : public SqliteJournalTest, public testing::WithParamInterface<BrokenFile>
{};

} // namespace

TEST_F(SqliteJournalTest, WritersInSeveralProcessesLoseNoRecord)
{
    Seed(0);
    constexpr int kProcesses = 4;
    constexpr int kRecords = 150;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            int code = 0;
            try {
                Journal journal(StoreOpener::Open(Path()));
                for (int i = 0; i < kRecords; ++i) {
                    journal.Append(Make(KO_REPORT_HEARTBEAT, kTime + i));
                }
            } catch (...) {
                code = 1;
            }
            _exit(code);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::int64_t last = 0;
    int visited = 0;
    StoreOpener::Open(Path())->VisitAfter(0, [&](const Report& report) {
        EXPECT_GT(report.id, last);
        last = report.id;
        ++visited;
        return true;
    });
    EXPECT_EQ(visited, kProcesses * kRecords);
}

TEST_F(SqliteJournalTest, RecordsOfAnotherProcessArriveLive)
{
    Seed(1);
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    // Forked before the module's thread starts.
    const pid_t pid = fork();
    if (pid == 0) {
        close(go[1]);
        char byte = 0;
        int code = read(go[0], &byte, 1) == 1 ? 0 : 1;
        try {
            Journal journal(StoreOpener::Open(Path()));
            journal.Append(Make(KO_REPORT_EXECUTE_SCAN, kTime - 5, "other process"));
        } catch (...) {
            code = 2;
        }
        _exit(code);
    }
    close(go[0]);
    {
        LogModule module(StoreOpener::Open(Path()));
        RecordCollector collector;
        ASSERT_EQ(module.Query(KO_REPORT_EXECUTE_SCAN, INT64_MIN, INT64_MAX,
                               &RecordCollector::Callback, &collector),
                  KO_REPORT_OK);
        ASSERT_EQ(collector.WaitFor(1).size(), 1u);
        ASSERT_EQ(write(go[1], "g", 1), 1);
        const auto records = collector.WaitFor(2);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[1].flags, KO_REPORT_FLAG_LIVE);
        EXPECT_EQ(records[1].fields[0], u"other process");
        module.Stop(&collector);
    }
    close(go[1]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_P(BrokenJournalTest, IsMovedAsideWithAnErrorLineAndAFreshJournalStarts)
{
    Seed(40);
    const Bytes whole = ReadBytes(Path());
    const std::string broken = GetParam().bytes(std::string(whole.begin(), whole.end()));
    WriteBytes(Path(), broken);

    const auto store = StoreOpener::Open(Path());
    std::vector<Report> one{Make(KO_REPORT_EXECUTE_SCAN, kTime)};
    store->Append(one);
    EXPECT_EQ(store->CategoryStats(KO_REPORT_EXECUTE_SCAN).count, 1) << "a fresh journal";

    std::string aside;
    for (const std::string& name : JournalFileNames()) {
        if (name.rfind("journal.db.broken-", 0) == 0 && name.find("-wal") == std::string::npos &&
            name.find("-shm") == std::string::npos) {
            aside = name;
        }
    }
    ASSERT_FALSE(aside.empty()) << "moved aside with a time stamp";
    EXPECT_EQ(aside.size(), std::string("journal.db.broken-20261210T083000Z").size());
    const Bytes kept = ReadBytes(JournalDirectory() / aside);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), broken);
    const std::string log = ReadText(Out());
    EXPECT_NE(log.find("[ERROR] <StoreOpener.cpp>"), std::string::npos) << log;
    EXPECT_NE(log.find("moved aside to " + (JournalDirectory() / aside).string()),
              std::string::npos)
        << log;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenJournalTest,
    testing::Values(
        BrokenFile{"NotADatabase",
                   [](const std::string&) { return std::string(5000, 'x') + "\nnot a journal\n"; }},
        BrokenFile{"CutInHalf",
                   [](const std::string& whole) { return whole.substr(0, whole.size() / 2); }},
        BrokenFile{"CutInsideAPage",
                   [](const std::string& whole) { return whole.substr(0, whole.size() - 100); }},
        BrokenFile{"HeaderOnly", [](const std::string& whole) { return whole.substr(0, 60); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A row whose fields do not decode, as a damaged or foreign file may hold,
// is skipped with an ERROR line: the records around it are read, both in a
// history and when polling for new records.
TEST_F(SqliteJournalTest, ARowThatDoesNotDecodeIsSkippedAndTheOthersAreRead)
{
    Seed(3);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET fields = x'0500000041' WHERE id = 2", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    const auto store = StoreOpener::Open(Path());
    std::vector<std::int64_t> after;
    store->VisitAfter(0, [&](const Report& report) {
        after.push_back(report.id);
        return true;
    });
    EXPECT_EQ(after, (std::vector<std::int64_t>{1, 3}));
    ReportStore::Range range;
    range.category = KO_REPORT_EXECUTE_SCAN;
    std::vector<std::int64_t> newestFirst;
    store->VisitNewestFirst(range, [&](const Report& report) {
        newestFirst.push_back(report.id);
        return true;
    });
    EXPECT_EQ(newestFirst, (std::vector<std::int64_t>{3, 1}));
    const std::string log = ReadText(Out());
    EXPECT_NE(log.find("the stored record 2 is skipped: a stored record is cut short"),
              std::string::npos)
        << log;
}

TEST_F(SqliteJournalTest, AWriterKilledWhileAppendingLeavesEveryReturnedRecord)
{
    Seed(0);
    int ids[2];
    ASSERT_EQ(pipe(ids), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        close(ids[0]);
        Journal journal(StoreOpener::Open(Path()));
        for (std::int64_t i = 0;; ++i) {
            const std::int64_t id =
                journal.Append(Make(KO_REPORT_RANSOMWARE_FOUND, kTime + i, std::string(300, 'k')));
            if (write(ids[1], &id, sizeof id) != sizeof id) {
                _exit(1);
            }
        }
    }
    close(ids[1]);
    std::vector<std::int64_t> returned;
    std::int64_t id = 0;
    while (returned.size() < 400 && read(ids[0], &id, sizeof id) == sizeof id) {
        returned.push_back(id);
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(ids[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(returned.size(), 400u);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_stmt* find = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db, "SELECT count(*) FROM records WHERE id = ?1", -1, &find, nullptr),
        SQLITE_OK);
    for (const std::int64_t kept : returned) {
        sqlite3_bind_int64(find, 1, kept);
        ASSERT_EQ(sqlite3_step(find), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int64(find, 0), 1) << kept;
        sqlite3_reset(find);
    }
    sqlite3_finalize(find);
    sqlite3_close(db);

    EXPECT_GE(Count(KO_REPORT_RANSOMWARE_FOUND), 400) << "opened again, not moved aside";
    for (const std::string& name : JournalFileNames()) {
        EXPECT_EQ(name.find("broken"), std::string::npos) << name;
    }
}

TEST_F(SqliteJournalTest, InAReadOnlyDirectoryAppendsFailAndReadingWorks)
{
    Seed(3);
    ASSERT_EQ(chmod(Path().c_str(), 0444), 0);
    ASSERT_EQ(chmod(JournalDirectory().c_str(), 0555), 0);
    // The child's log lines land in the test's log, whoever it runs as.
    LOG_TRACE << "the journal's directory is read-only";
    ASSERT_EQ(chmod(m_dir.Path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(Out().c_str(), 0666), 0);
    const int code = RunChild([&] {
        // Root writes anywhere: the child gives up its rights first.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 1;
        }
        const auto store = StoreOpener::Open(Path());
        Journal journal(store);
        try {
            journal.Append(Make(KO_REPORT_EXECUTE_SCAN, kTime));
            return 2;
        } catch (const ReportError& error) {
            if (error.kind() != ReportError::Kind::Storage) {
                return 3;
            }
        }
        return store->CategoryStats(KO_REPORT_EXECUTE_SCAN).count == 3 ? 0 : 4;
    });
    chmod(JournalDirectory().c_str(), 0755);
    chmod(Path().c_str(), 0644);
    EXPECT_EQ(code, 0) << "1: no other user, 2: appended, 3: wrong error, 4: reading fails";
    EXPECT_NE(ReadText(Out()).find("the journal cannot be written, reading only"),
              std::string::npos);
}

TEST_F(SqliteJournalTest, OnAFullDiskAppendsFailAndReadingWorks)
{
    Seed(5);
    const int code = RunChild([&] {
        const auto store = StoreOpener::Open(Path());
        Journal journal(store);
        // Files may grow by 64 KiB more: the disk is then full.
        struct stat journalFile = {};
        stat(Path().c_str(), &journalFile);
        const rlimit limit{static_cast<rlim_t>(journalFile.st_size + 65536),
                           static_cast<rlim_t>(journalFile.st_size + 65536)};
        std::signal(SIGXFSZ, SIG_IGN);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 1;
        }
        std::int64_t appended = 0;
        try {
            for (; appended < 1000; ++appended) {
                journal.Append(Make(KO_REPORT_UPDATE_PACKAGE, kTime, std::string(8000, 'u')));
            }
            return 2;
        } catch (const ReportError& error) {
            if (error.kind() != ReportError::Kind::Storage) {
                return 3;
            }
        }
        const bool kept = store->CategoryStats(KO_REPORT_UPDATE_PACKAGE).count == appended &&
                          store->CategoryStats(KO_REPORT_EXECUTE_SCAN).count == 5;
        return kept ? 0 : 4;
    });
    EXPECT_EQ(code, 0) << "1: no limit, 2: never full, 3: wrong error, 4: reading fails";
}
