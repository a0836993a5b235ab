// "清空" in the diary over a log module that does not serve the clear entry:
// once confirmed, the journal and the table stay as they were, a message box
// says so and the log has an ERROR line.

#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CTableWidget.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"

#include "DiaryTestSupport.h"
#include "LogCapture.h"
#include "ModalWatch.h"
#include "PageResources.h"

#include "lib/RecordLog.h"
#include "lib/TestJournal.h"

#include <QLabel>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace DiaryTestSupport;

TEST(ProgramDiaryDialogNoClearTest, AFailedClearKeepsTheRecordsAndSaysSo)
{
    LoadPageResources();
    const LogCapture log;
    const TestJournal journal;
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    QWidget host;
    const int category = RecordCategory::kUpdatePackage;
    const QPointer<CProgramDiaryDialog> dialog = CProgramDiaryDialog::create(category, &host);
    ASSERT_TRUE(dialog);
    dialog->show();
    CTableWidget* table = Table(*dialog);
    const int seeded = static_cast<int>(TestJournal::kPerCategory);
    ASSERT_TRUE(WaitFor([&] { return table->rowCount() == seeded; }));
    std::vector<CTableWidget::Row> before;
    for (int row = 0; row < seeded; ++row) {
        before.push_back(table->rowData(row));
    }

    // The confirmation, then the failure's notice.
    std::optional<ModalWatch> notice;
    QString message;
    const ModalWatch confirmation([&](QDialog& box) {
        notice.emplace([&](QDialog& failure) {
            for (const QLabel* label : failure.findChildren<QLabel*>()) {
                message += label->text();
            }
            Click(failure.findChild<CCommonButton*>("InfoMessageBoxAccept"));
        });
        Click(box.findChild<CCommonButton*>("InfoMessageBoxAccept"));
    });
    ClickButton(*dialog, "ProgramDiaryDialogClear");
    ASSERT_TRUE(WaitFor([&] { return notice && notice->seen(); }));
    ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() == nullptr; }));

    EXPECT_TRUE(message.contains("无法清空记录，记录未更改。")) << message.toStdString();
    EXPECT_TRUE(log.HasLine("ERROR", "clearRecords(100220) fails: -1"));
    EXPECT_TRUE(log.HasLine("ERROR", "the records of category 100220 are not cleared."));
    ASSERT_EQ(table->rowCount(), seeded);
    for (int row = 0; row < seeded; ++row) {
        EXPECT_EQ(table->rowData(row), before[static_cast<std::size_t>(row)]);
    }
    RecordLog records;
    ASSERT_TRUE(loader.queryRecords(category, &records));
    EXPECT_EQ(records.WaitFor(TestJournal::kPerCategory).size(), TestJournal::kPerCategory);
    CLogModuleLib::stopRecords(&records);
    delete dialog.data();
}

} // namespace
