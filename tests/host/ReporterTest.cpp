// The host's reporter: a program-start report with this machine's data and
// heartbeats at its interval, paused and resumed; over a journal of the
// test's own.

#include "Reporter.h"

#include "EndpointInfo.h"
#include "KoLogModule.h"
#include "ReportLayout.h"
#include "SqliteStore.h"

#include "TemporaryDirectory.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ReporterTest : public testing::Test
{
protected:
    void SetUp() override { setenv("KO_REPORT_JOURNAL", Path().c_str(), 1); }

    std::string Path() const { return (m_dir.Path() / "journal.db").string(); }

    std::int64_t Count(std::int32_t category) const
    {
        return SqliteStore(Path(), SqliteStore::Mode::ReadOnly).CategoryStats(category).count;
    }

    TemporaryDirectory m_dir;
};

} // namespace

TEST_F(ReporterTest, ReportsTheStartWithTheMachinesDataAndHeartbeatsAtItsInterval)
{
    Reporter reporter(QCoreApplication::applicationDirPath(), 20);
    ASSERT_TRUE(reporter.start()) << reporter.lastError().toStdString();
    EXPECT_EQ(Count(KO_REPORT_PROGRAM_START), 1);
    EXPECT_GE(Count(KO_REPORT_HEARTBEAT), 1) << "one at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Count(KO_REPORT_HEARTBEAT) >= 3; }, 30000));

    Report start;
    ReportStore::Range range;
    range.category = KO_REPORT_PROGRAM_START;
    SqliteStore(Path(), SqliteStore::Mode::ReadOnly).VisitNewestFirst(range, [&](const Report& r) {
        start = r;
        return false;
    });
    ASSERT_EQ(start.fields.size(), std::size_t{KO_REPORT_PROGRAM_START_FIELDS});
    EXPECT_EQ(start.fields[0], "monitor-host started");
    EXPECT_EQ(start.fields[KO_REPORT_FIELD_SYSTEM_BITS], "64");
    for (const std::string& field : start.fields) {
        EXPECT_FALSE(field.empty()) << "a value or \"unknown\"";
    }
}

TEST_F(ReporterTest, APausedReporterSendsNoHeartbeatUntilResumed)
{
    Reporter reporter(QCoreApplication::applicationDirPath(), 3600 * 1000);
    ASSERT_TRUE(reporter.start());
    const std::int64_t started = Count(KO_REPORT_HEARTBEAT);
    reporter.setPaused(true);
    EXPECT_TRUE(reporter.isPaused());
    reporter.setPaused(true);
    EXPECT_EQ(Count(KO_REPORT_HEARTBEAT), started);
    reporter.setPaused(false);
    EXPECT_FALSE(reporter.isPaused());
    EXPECT_EQ(Count(KO_REPORT_HEARTBEAT), started + 1) << "resuming reports at once";
}

TEST(EndpointInfoTest, TellsSixteenFieldsNoneEmpty)
{
    const QStringList fields = EndpointInfo::Collect();
    ASSERT_EQ(fields.size(), EndpointInfo::kFieldCount);
    for (const QString& field : fields) {
        EXPECT_FALSE(field.isEmpty());
    }
}

TEST(ReporterWithoutModuleTest, StartFailsWithAReason)
{
    Reporter reporter("/nonexistent-directory", 1000);
    EXPECT_FALSE(reporter.start());
    EXPECT_TRUE(reporter.lastError().startsWith("cannot load the log module"));
    EXPECT_FALSE(reporter.reportHeartbeat());
}

TEST_F(ReporterTest, AReporterStartedPausedReportsNothingUntilResumed)
{
    Reporter reporter(QCoreApplication::applicationDirPath(), 3600 * 1000);
    reporter.setPaused(true);
    ASSERT_TRUE(reporter.start()) << reporter.lastError().toStdString();
    EXPECT_EQ(Count(KO_REPORT_PROGRAM_START), 0);
    EXPECT_EQ(Count(KO_REPORT_HEARTBEAT), 0);
    reporter.setPaused(false);
    EXPECT_EQ(Count(KO_REPORT_PROGRAM_START), 1) << "the start is reported once resumed";
    EXPECT_EQ(Count(KO_REPORT_HEARTBEAT), 1);
    reporter.setPaused(true);
    reporter.setPaused(false);
    EXPECT_EQ(Count(KO_REPORT_PROGRAM_START), 1) << "and only once";
    EXPECT_EQ(Count(KO_REPORT_HEARTBEAT), 2);
}
