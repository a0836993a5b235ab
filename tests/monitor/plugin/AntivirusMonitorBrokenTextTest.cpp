// A page whose text file cannot be loaded: the program registers an
// unparsable ":/xml/AMtext.xml" before it loads the plug-in, which hides the
// bundle's file. Loading stops at the first step with its FATAL line.

#include "PluginHost.h"

#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace PluginHost;

namespace {

TEST(AntivirusMonitorBrokenTextTest, PageHasNoStyleSheetAndNoLaterResources)
{
    ASSERT_NE(GetInterface(), nullptr) << Plugin().errorString().toStdString();
    const int logStart = static_cast<int>(LogLines().size());
    Host host;
    QWidget& page = host.page();

    EXPECT_EQ(CountLogLines(LogLinePattern("FATAL", "AntivirusMonitorWidget.cpp",
                                           "AntivirusMonitorWidget::initxml",
                                           " load AMtext\\.xml fails,ErrNum:\\d+"),
                            logStart),
              1);
    EXPECT_EQ(CountLogLines(LogLinePattern("FATAL", ".*", ".*", ".*"), logStart), 1)
        << "loading stops at the first failure";
    EXPECT_TRUE(page.styleSheet().isEmpty());

    // The page still builds, with empty texts and without the catalogue.
    auto* isolation = page.findChild<QLabel*>("btntextStyle");
    ASSERT_NE(isolation, nullptr);
    EXPECT_TRUE(isolation->text().isEmpty());
    Click(page.findChild<QRadioButton*>("AntivirusMonitorViewByType"));
    QWidget* byType = FindOne(&page, "ControlByClassWidget");
    ASSERT_NE(byType, nullptr);
    EXPECT_TRUE(Find(byType, "CIconButton").isEmpty()) << "the catalogue was never loaded";
}

} // namespace
