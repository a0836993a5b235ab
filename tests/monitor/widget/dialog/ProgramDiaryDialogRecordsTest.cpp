// The diary dialog with the log module beside this program, over a journal
// of the test's own: the scan and update package diaries receive the
// module's records on its own thread as TRACE lines, the other diaries ask
// for nothing, and a diary that goes away while records arrive receives none
// after it is gone.

#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base/Logging.h"
#include "base/Process.h"
#include "base_ui/controls/CTableWidget.h"
#include "monitor/lib/CLogModuleLib.h"

#include "LogCapture.h"
#include "PageResources.h"

#include "lib/RecordLog.h"
#include "lib/TestJournal.h"

#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// What the test journal holds per category.
constexpr std::size_t kRecordsPerQuery = TestJournal::kPerCategory;

const std::string kDiaryTrace = "[TRACE] <CProgramDiaryDialog.cpp> <CProgramDiaryDialog::loadData>";

// One "get data" line of the diary: its message, the writing thread and
// where it starts in the log.
struct DataLine
{
    std::string message;
    std::string thread;
    std::size_t offset;
};

// The diary's "get data" lines, in order. A line reads
// "[time][pid:tid][TRACE] <file> <function> <line:N> message".
std::vector<DataLine> DataLines(const LogCapture& log)
{
    std::vector<DataLine> lines;
    const std::string text = log.Text();
    std::size_t begin = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         begin = end + 2, end = text.find("\r\n", begin)) {
        const std::string line = text.substr(begin, end - begin);
        const std::size_t header = line.find(kDiaryTrace);
        const std::size_t message = line.find("> get data");
        if (header == std::string::npos || message == std::string::npos) {
            continue;
        }
        const std::size_t idOpen = line.find("][") + 2;
        const std::size_t colon = line.find(':', idOpen);
        const std::size_t idClose = line.find(']', colon);
        lines.push_back(
            {line.substr(message + 2), line.substr(colon + 1, idClose - colon - 1), begin});
    }
    return lines;
}

class ProgramDiaryDialogRecordsTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override { ASSERT_TRUE(m_loader.LoadSdk()); }

    // Waits until the diary wrote `count` "get data" lines.
    std::vector<DataLine> WaitForLines(std::size_t count) const
    {
        WaitFor([&] { return DataLines(m_log).size() >= count; });
        return DataLines(m_log);
    }

    const LogCapture m_log;
    const TestJournal m_journal;
    CLogModuleLib m_loader;
    QWidget m_host;
};

TEST_F(ProgramDiaryDialogRecordsTest, ScanAndUpdateDiariesLogTheRecordsOnTheModulesThread)
{
    const std::string guiThread = std::to_string(KO::Process::CurrentThreadId());
    std::size_t expected = 0;
    for (int category : {CProgramDiaryDialog::kExecuteScan, CProgramDiaryDialog::kUpdatePackage}) {
        SCOPED_TRACE(category);
        const QPointer<CProgramDiaryDialog> dialog = CProgramDiaryDialog::create(category, &m_host);
        ASSERT_TRUE(dialog);
        expected += kRecordsPerQuery;
        const std::vector<DataLine> lines = WaitForLines(expected);
        ASSERT_EQ(lines.size(), expected);
        for (std::size_t i = 0; i < kRecordsPerQuery; ++i) {
            const DataLine& line = lines[expected - kRecordsPerQuery + i];
            EXPECT_EQ(line.message,
                      "get data" + std::to_string(i + 1) + ":" + std::to_string(category));
            EXPECT_NE(line.thread, guiThread);
        }
        EXPECT_EQ(dialog->findChild<CTableWidget*>()->rowCount(),
                  CProgramDiaryDialog::kSampleRowCount)
            << "records add no row";
        delete dialog.data();
    }
}

TEST_F(ProgramDiaryDialogRecordsTest, OtherDiariesAskForNothing)
{
    std::vector<std::unique_ptr<CProgramDiaryDialog>> idle;
    for (int category : {CProgramDiaryDialog::kHeartbeat, CProgramDiaryDialog::kRansomwareFound,
                         CProgramDiaryDialog::kProgramStart}) {
        idle.emplace_back(CProgramDiaryDialog::create(category));
        ASSERT_NE(idle.back(), nullptr);
    }
    // The module delivers in query order: once the witness has its records,
    // anything the diaries above asked for would have arrived.
    RecordLog witness;
    ASSERT_TRUE(m_loader.queryRecords(CProgramDiaryDialog::kExecuteScan, &witness));
    ASSERT_EQ(witness.WaitFor(kRecordsPerQuery).size(), kRecordsPerQuery);
    EXPECT_TRUE(DataLines(m_log).empty());
}

TEST_F(ProgramDiaryDialogRecordsTest, ADeletedDiaryReceivesNothingMore)
{
    // Keep the module's thread busy, so that most diaries below are gone
    // before their records come.
    std::vector<std::unique_ptr<RecordLog>> earlier(50);
    for (auto& handler : earlier) {
        handler = std::make_unique<RecordLog>();
        ASSERT_TRUE(m_loader.queryRecords(CProgramDiaryDialog::kUpdatePackage, handler.get()));
    }
    for (int round = 0; round < 10; ++round) {
        delete CProgramDiaryDialog::create(CProgramDiaryDialog::kExecuteScan);
    }
    const std::string marker = "diaries deleted";
    LOG_TRACE << marker;

    // Deliveries keep query order: once the witness has its records, every
    // record for the diaries has been dealt with.
    RecordLog witness;
    ASSERT_TRUE(m_loader.queryRecords(CProgramDiaryDialog::kExecuteScan, &witness));
    ASSERT_EQ(witness.WaitFor(kRecordsPerQuery).size(), kRecordsPerQuery);
    const std::size_t deleted = m_log.Text().find(marker);
    ASSERT_NE(deleted, std::string::npos);
    for (const DataLine& line : DataLines(m_log)) {
        EXPECT_LT(line.offset, deleted) << line.message;
    }
}

} // namespace
