// The loader with the log module beside this program, over a journal of the
// test's own.

#include "monitor/lib/CLogModuleLib.h"

#include "LoaderLogTest.h"
#include "RecordLog.h"
#include "TestJournal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr int kScanCategory = 100218;
constexpr int kUpdatePackageCategory = 100220;
// What the test journal holds per category.
constexpr std::size_t kRecordsPerQuery = TestJournal::kPerCategory;

const std::string kTraceHeader = "[TRACE] <RecordLog.h> <RecordLog::loadData>";
const std::string kClearError = "[ERROR] <CLogModuleLib.cpp> <CLogModuleLib::clearRecords>";

class CLogModuleLibTest : public LoaderLogTest
{
protected:
    // Expects `records` to be the history of `category` in the test journal,
    // newest first, numbered from 1, made on a thread other than the test's,
    // each logged as the diary dialog logs it.
    void ExpectDelivery(const std::vector<RecordLog::Record>& records, int category) const
    {
        ASSERT_EQ(records.size(), kRecordsPerQuery);
        for (std::size_t i = 0; i < records.size(); ++i) {
            const auto number = static_cast<std::uint32_t>(i + 1);
            EXPECT_EQ(records[i].category, category);
            EXPECT_EQ(records[i].flags, 0u) << "stored records are history";
            if (i > 0) {
                EXPECT_LT(records[i].time, records[i - 1].time) << "newest first";
            }
            EXPECT_EQ(records[i].value1, number);
            EXPECT_EQ(records[i].value2, static_cast<std::uint32_t>(category));
            EXPECT_NE(records[i].thread, std::this_thread::get_id());
            EXPECT_TRUE(HasLine(kTraceHeader, "get data" + std::to_string(number) + ":" +
                                                  std::to_string(category)));
        }
    }

    TestJournal m_journal;
};

class CLogModuleLibRecordsTest : public CLogModuleLibTest, public ::testing::WithParamInterface<int>
{};

} // namespace

TEST(LogModuleInterfaceTest, TheIdentifierHasTheGuidLayout)
{
    const unsigned char expected[16] = {0x48, 0x85, 0x6C, 0x05, 0xF7, 0xF8, 0xCC, 0x41,
                                        0xBA, 0x83, 0x2C, 0xA8, 0x4F, 0xB4, 0x55, 0x5E};
    EXPECT_EQ(std::memcmp(&kLogModuleInterfaceId, expected, sizeof expected), 0);
}

TEST(CLogModuleLibInstanceTest, TheLastLoaderConstructedIsTheInstanceWhileItLives)
{
    auto first = std::make_unique<CLogModuleLib>();
    EXPECT_EQ(CLogModuleLib::instance(), first.get());
    {
        const CLogModuleLib second;
        EXPECT_EQ(CLogModuleLib::instance(), &second);
        first.reset();
        EXPECT_EQ(CLogModuleLib::instance(), &second);
    }
    EXPECT_EQ(CLogModuleLib::instance(), nullptr);
}

TEST_F(CLogModuleLibTest, LoadSdkObtainsTheModuleObject)
{
    CLogModuleLib loader;
    EXPECT_TRUE(loader.LoadSdk());
    EXPECT_TRUE(HasLine(LoadSdkHeader("DEBUG"), "LoadSdk."));
    EXPECT_EQ(CountLines("ERROR"), 0u);
}

TEST_P(CLogModuleLibRecordsTest, RecordsReachTheHandlerFromTheModulesThread)
{
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    RecordLog handler;
    ASSERT_TRUE(loader.queryRecords(GetParam(), &handler));
    ExpectDelivery(handler.WaitFor(kRecordsPerQuery), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Categories, CLogModuleLibRecordsTest,
                         ::testing::Values(100221, kScanCategory, 100219, 100217,
                                           kUpdatePackageCategory));

TEST_F(CLogModuleLibTest, ARangedQueryDeliversTheRecordsInItsRange)
{
    CLogModuleLib loader;
    RecordLog handler;
    EXPECT_FALSE(loader.queryRange(kScanCategory, 0, 1, &handler)) << "no module object yet";
    ASSERT_TRUE(loader.LoadSdk());
    EXPECT_FALSE(loader.queryRange(kScanCategory, 0, 1, nullptr));
    EXPECT_FALSE(loader.queryRange(100216, 0, 1, &handler)) << "the module refuses";

    // The two older seeded records, both ends of the range included.
    ASSERT_TRUE(
        loader.queryRange(kScanCategory, m_journal.SeedTime(0), m_journal.SeedTime(1), &handler));
    const std::vector<RecordLog::Record> records = handler.WaitFor(2);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].time, m_journal.SeedTime(1));
    EXPECT_EQ(records[1].time, m_journal.SeedTime(0));
    EXPECT_EQ(records[0].category, kScanCategory);
}

TEST_F(CLogModuleLibTest, RecordCountsCountEveryCategoryPerRange)
{
    CLogModuleLib loader;
    const std::vector<std::int64_t> bounds = {m_journal.SeedTime(0), m_journal.SeedTime(1),
                                              m_journal.SeedTime(2) + 1};
    EXPECT_TRUE(loader.recordCounts(bounds).empty()) << "no module object yet";
    ASSERT_TRUE(loader.LoadSdk());
    // Five categories, one seeded record each per second.
    EXPECT_EQ(loader.recordCounts(bounds), (std::vector<std::int64_t>{5, 10}));
    EXPECT_TRUE(loader.recordCounts({bounds[0]}).empty()) << "no range";
    EXPECT_TRUE(loader.recordCounts({bounds[1], bounds[0]}).empty()) << "the module refuses";
}

TEST_F(CLogModuleLibTest, UnknownCategoriesAskTheModuleForNothing)
{
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    RecordLog idle;
    for (const int category : {100216, 100222, 0, -1}) {
        EXPECT_TRUE(loader.queryRecords(category, &idle)) << category;
    }
    // The module delivers in query order: once the witness has its records,
    // anything asked for above would have arrived.
    RecordLog witness;
    ASSERT_TRUE(loader.queryRecords(kScanCategory, &witness));
    EXPECT_EQ(witness.WaitFor(kRecordsPerQuery).size(), kRecordsPerQuery);
    EXPECT_TRUE(idle.Records().empty());
}

TEST_F(CLogModuleLibTest, NothingIsQueriedWithoutAModuleObjectOrAHandler)
{
    CLogModuleLib loader;
    RecordLog handler;
    EXPECT_FALSE(loader.queryRecords(kScanCategory, &handler));
    EXPECT_FALSE(loader.queryRecords(100217, &handler));
    ASSERT_TRUE(loader.LoadSdk());
    EXPECT_FALSE(loader.queryRecords(kScanCategory, nullptr));
    EXPECT_FALSE(loader.queryRecords(100217, nullptr));
}

TEST_F(CLogModuleLibTest, LoadSdkAgainReplacesTheModuleObject)
{
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    RecordLog first;
    ASSERT_TRUE(loader.queryRecords(kUpdatePackageCategory, &first));
    ASSERT_TRUE(loader.LoadSdk());
    RecordLog second;
    ASSERT_TRUE(loader.queryRecords(kScanCategory, &second));
    ExpectDelivery(second.WaitFor(kRecordsPerQuery), kScanCategory);
}

TEST_F(CLogModuleLibTest, ARecordIsFetchedByItsIdOnTheCallersThread)
{
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    RecordLog history;
    ASSERT_TRUE(loader.queryRecords(kScanCategory, &history));
    const std::vector<RecordLog::Record> stored = history.WaitFor(kRecordsPerQuery);
    ASSERT_EQ(stored.size(), kRecordsPerQuery);
    for (const RecordLog::Record& expected : stored) {
        std::vector<std::u16string> fields;
        std::int64_t id = 0;
        std::thread::id thread;
        const auto read = [&](const void* record) {
            const auto& report = *static_cast<const KoReportRecord*>(record);
            id = report.id;
            thread = std::this_thread::get_id();
            for (std::uint32_t i = 0; i < report.fieldCount; ++i) {
                fields.push_back(RecordBuilder::Text(report.fields[i]));
            }
        };
        ASSERT_EQ(loader.fetchRecord(expected.id, read), CLogModuleLib::Fetch::Found);
        EXPECT_EQ(id, expected.id);
        EXPECT_EQ(thread, std::this_thread::get_id());
        EXPECT_EQ(fields, RecordBuilder::Fields(kScanCategory, u"test"));
    }
}

TEST_F(CLogModuleLibTest, AFetchWithoutARecordOrAModuleReadsNothing)
{
    CLogModuleLib loader;
    bool read = false;
    const auto reader = [&read](const void*) { read = true; };
    EXPECT_EQ(loader.fetchRecord(1, reader), CLogModuleLib::Fetch::Failed) << "no module yet";
    ASSERT_TRUE(loader.LoadSdk());
    EXPECT_EQ(loader.fetchRecord(1000000, reader), CLogModuleLib::Fetch::NotFound);
    EXPECT_EQ(loader.fetchRecord(0, reader), CLogModuleLib::Fetch::NotFound);
    EXPECT_FALSE(read);
    EXPECT_EQ(loader.fetchRecord(1, nullptr), CLogModuleLib::Fetch::Failed);

    // A reader that throws: the exception stops at the loader.
    const auto throwing = [](const void*) { throw std::runtime_error("unreadable"); };
    EXPECT_EQ(loader.fetchRecord(1, throwing), CLogModuleLib::Fetch::Failed);
    EXPECT_EQ(CountLines("ERROR"), 1u);
}

TEST_F(CLogModuleLibTest, AJournalFileThatIsNoDatabaseLeavesTheModuleWorking)
{
    const std::filesystem::path broken = m_dir.Path() / "broken.db";
    WriteBytes(broken, std::string(4096, 'x'));
    const TestJournal::Variable journal(broken);
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk()) << "the page still gets its module";
    RecordLog handler;
    EXPECT_TRUE(loader.queryRecords(kScanCategory, &handler));
#if !defined(_WIN32)
    // A fresh journal replaced the file, which was moved aside.
    bool movedAside = false;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
        movedAside =
            movedAside || entry.path().filename().string().rfind("broken.db.broken-", 0) == 0;
    }
    EXPECT_TRUE(movedAside);
    EXPECT_EQ(ReadText(broken).substr(0, 15), "SQLite format 3");
#endif
}

#if !defined(_WIN32)
// A journal that cannot be opened: the module refuses to clear it, and the
// loader's ERROR line carries the module's own reason.
TEST_F(CLogModuleLibTest, AFailedClearLogsTheModulesReason)
{
    const std::filesystem::path unreachable = m_dir.Path() / "missing" / "journal.db";
    const TestJournal::Variable journal(unreachable);
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    EXPECT_FALSE(loader.clearRecords(kScanCategory));
    const std::vector<std::string> lines = Lines();
    const auto failed = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find(kClearError) != std::string::npos &&
               line.find("> clearRecords(100218) fails: -3 (") != std::string::npos;
    });
    ASSERT_NE(failed, lines.end());
    EXPECT_NE(failed->find(unreachable.string()), std::string::npos) << *failed;
}
#endif

TEST_F(CLogModuleLibTest, ClearRecordsDeletesOneCategoryInTheJournal)
{
    CLogModuleLib loader;
    EXPECT_FALSE(loader.clearRecords(kScanCategory)) << "no module yet";
    EXPECT_TRUE(HasLine(kClearError, "clearRecords(100218): no log module."));
    ASSERT_TRUE(loader.LoadSdk());
    EXPECT_FALSE(loader.clearRecords(100222));
    EXPECT_TRUE(HasLine(kClearError, "clearRecords(100222): no such category."));

    ASSERT_TRUE(loader.clearRecords(kScanCategory));
    RecordLog cleared;
    ASSERT_TRUE(loader.queryRecords(kScanCategory, &cleared));
    // Delivered in query order: the witness's records come after the
    // cleared category's (none).
    RecordLog witness;
    ASSERT_TRUE(loader.queryRecords(kUpdatePackageCategory, &witness));
    ExpectDelivery(witness.WaitFor(kRecordsPerQuery), kUpdatePackageCategory);
    EXPECT_TRUE(cleared.Records().empty());
}
