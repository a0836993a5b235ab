// The diary when its log module goes away in the middle of a long delivery:
// every record that came is shown, the explanation band says that nothing
// more arrives, and the dialog keeps answering its user.

#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base_ui/controls/CTableWidget.h"
#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"

#include "LogCapture.h"
#include "PageResources.h"

#include "lib/TestJournal.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr int kTextRecordsEnded = 110540;
constexpr std::size_t kHistory = 20000;

class ProgramDiaryDialogModuleGoneTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_journal.AppendMany(RecordCategory::kExecuteScan, m_journal.SeedTime(0),
                                         kHistory, u"old"));
        ASSERT_TRUE(m_loader.emplace().LoadSdk());
    }

    static std::size_t Occurrences(const std::string& text, const std::string& part)
    {
        std::size_t count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + part.size())) {
            ++count;
        }
        return count;
    }

    // The label that shows `text`, or null.
    static QLabel* LabelShowing(const QWidget& dialog, const QString& text)
    {
        for (QLabel* const label : dialog.findChildren<QLabel*>()) {
            if (label->text() == text) {
                return label;
            }
        }
        return nullptr;
    }

    const LogCapture m_log;
    const TestJournal m_journal;
    std::optional<CLogModuleLib> m_loader;
    QWidget m_host;
};

TEST_F(ProgramDiaryDialogModuleGoneTest, TheDiarySaysNothingMoreArrivesAndStaysUsable)
{
    const QPointer<CProgramDiaryDialog> dialog =
        CProgramDiaryDialog::create(RecordCategory::kExecuteScan, &m_host);
    ASSERT_TRUE(dialog);
    dialog->show();
    auto* table = dialog->findChild<CTableWidget*>();
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(WaitFor([&] { return table->rowCount() > 0; }));

    // Destroying the loader joins the module's thread: every record it
    // delivered has its "get data" line by now.
    m_loader.reset();
    const std::size_t delivered = Occurrences(m_log.Text(), "<CProgramDiaryDialog::loadData>");
    ASSERT_GT(delivered, 0u);
    RecordProperty("delivered", static_cast<int>(delivered));
    EXPECT_LE(delivered, kHistory + TestJournal::kPerCategory);
    const QString notice = CControlSetting::Text(kTextRecordsEnded);
    ASSERT_FALSE(notice.isEmpty());
    ASSERT_TRUE(WaitFor([&] {
        return LabelShowing(*dialog, notice) != nullptr &&
               table->rowCount() == static_cast<int>(delivered);
    })) << table->rowCount()
        << " rows of " << delivered;
    EXPECT_TRUE(m_log.HasLine("WARN", "the log module stopped; the diary of 100218 receives no "
                                      "more records."));

    QLabel* const label = LabelShowing(*dialog, notice);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(dialog->rect().contains(label->geometry())) << "the notice fits the dialog";
    dialog->grab().save(QDir::temp().filePath("ProgramDiaryDialogModuleGone.png"));

    auto* close = dialog->findChild<QWidget*>("ProgramDiaryDialogClose");
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return dialog.isNull(); }));
}

} // namespace
