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
    const ModalWatch seen([&](QDialog& diary) {
        QList<QWidget*> buttons = Find(&diary, "PushButton");
        buttons.removeIf([](const QWidget* button) { return !button->isVisible(); });
        rows = static_cast<int>(buttons.size());
        Click(diary.findChild<QWidget*>("ProgramDiaryDialogTitleClose"));
    });
    Click(categories[1]);
    ASSERT_TRUE(seen.seen());
    EXPECT_EQ(rows, 5) << "sample rows with view buttons";
    EXPECT_EQ(CountLogLines(LogLinePattern("TRACE", ".*", ".*", "get data.*"), logStart), 0);
}

} // namespace
