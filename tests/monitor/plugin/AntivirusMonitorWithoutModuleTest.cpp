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

    QList<QRadioButton*> radios = host.page().findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 2);
    Click(radios[0]->x() > radios[1]->x() ? radios[0] : radios[1]);
    QWidget* byType = FindOne(&host.page(), "ControlByClassWidget");
    ASSERT_NE(byType, nullptr);
    EXPECT_TRUE(byType->isVisible());
    EXPECT_EQ(Find(byType, "CIconButton").size(), 5);
}

} // namespace
