// The plug-in without the log module beside the program: loading the module
// fails with its ERROR line and the page goes on working.

#include "PluginHost.h"

#include <QRadioButton>

#include <gtest/gtest.h>

using namespace PluginHost;

namespace {

TEST(AntivirusMonitorWithoutModuleTest, LoadLogModuleFailsAndThePageKeepsWorking)
{
    const int logStart = static_cast<int>(LogLines().size());
    Host host;
    EXPECT_FALSE(host.page().loadLogModule());
    EXPECT_EQ(CountLogLines(
                  LogLinePattern("ERROR", "CLogModuleLib.cpp", "CLogModuleLib::LoadSdk",
                                 "Library::Load\\(\\) fails\\. errMsg:KO::Library::Load#ErrNum:2"),
                  logStart),
              1);

    Click(host.page().findChild<QRadioButton*>("AntivirusMonitorViewByType"));
    QWidget* byType = FindOne(&host.page(), "ControlByClassWidget");
    ASSERT_NE(byType, nullptr);
    EXPECT_TRUE(byType->isVisible());
    const QList<QWidget*> categories = Find(byType, "CIconButton");
    ASSERT_EQ(categories.size(), 5);

    // The scan diary still opens, with its sample rows and no records.
    int rows = 0;
    QList<QStringList> records;
    const ModalWatch seen([&](QDialog& diary) {
        if (QWidget* table = FindOne(&diary, "CTableWidget")) {
            int count = 0;
            QMetaObject::invokeMethod(table, "rowCount", Qt::DirectConnection,
                                      Q_RETURN_ARG(int, count));
            for (int row = 0; row < count; ++row) {
                QStringList texts;
                QMetaObject::invokeMethod(table, "rowTexts", Qt::DirectConnection,
                                          Q_RETURN_ARG(QStringList, texts), Q_ARG(int, row));
                records.append(texts);
            }
        }
        QList<QWidget*> buttons = Find(&diary, "PushButton");
        buttons.removeIf([](const QWidget* button) { return !button->isVisible(); });
        rows = static_cast<int>(buttons.size());
        Click(diary.findChild<QWidget*>("ProgramDiaryDialogTitleClose"));
    });
    Click(categories[1]);
    ASSERT_TRUE(seen.seen());
    EXPECT_EQ(rows, 5) << "sample rows with view buttons";
    const QStringList sample = {"2020-10-27 15:00:00", "快速扫描", "扫描上报基础信息", "查看"};
    EXPECT_EQ(records, QList<QStringList>(10, sample)) << "ten sample rows, as without records";
    EXPECT_EQ(CountLogLines(LogLinePattern("TRACE", ".*", ".*", "get data.*"), logStart), 0);
}

} // namespace
