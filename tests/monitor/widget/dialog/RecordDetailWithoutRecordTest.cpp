// The diary's view button with a log module beside this program that has no
// entry for single records: a notice says the details cannot be shown.

#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CDetailMessageBox.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/CTableWidget.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"

#include "ModalWatch.h"
#include "PageResources.h"
#include "WindowMouse.h"

#include "lib/TestJournal.h"

#include <QLabel>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

TEST(RecordDetailWithoutRecordTest, TheViewButtonShowsANoticeInsteadOfTheBox)
{
    LoadPageResources();
    const TestJournal journal;
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    QWidget host;
    host.setGeometry(100, 100, 700, 600);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    for (const int category : {RecordCategory::kProgramStart, RecordCategory::kUpdatePackage}) {
        SCOPED_TRACE(category);
        const QPointer<CProgramDiaryDialog> dialog = CProgramDiaryDialog::create(category, &host);
        ASSERT_TRUE(dialog);
        dialog->show();
        auto* table = dialog->findChild<CTableWidget*>();
        ASSERT_TRUE(WaitFor(
            [&] { return table->rowCount() == static_cast<int>(TestJournal::kPerCategory); }));
        QString notice;
        bool detailBox = false;
        const ModalWatch watch([&](QDialog& modal) {
            detailBox = qobject_cast<CDetailMessageBox*>(&modal) != nullptr;
            for (const QLabel* label : modal.findChildren<QLabel*>()) {
                notice += label->text() + "|";
            }
            if (auto* accept = modal.findChild<CCommonButton*>("InfoMessageBoxAccept")) {
                WindowMouse::Click(accept, QPoint(5, 5));
            } else {
                modal.close();
            }
        });
        QWidget* view = table->cellControl(table->header()->columnCount() - 1, 0);
        ASSERT_NE(view, nullptr);
        QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().center());
        EXPECT_TRUE(watch.seen());
        EXPECT_FALSE(detailBox);
        EXPECT_TRUE(notice.contains("日志模块无法提供该记录的详情。")) << notice.toStdString();
        delete dialog.data();
    }
}
