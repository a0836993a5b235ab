// The plug-in's resource bundle is there exactly while the library is loaded.

#include "PluginHost.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(AntivirusMonitorUnloadTest, BundleIsRegisteredWhileTheLibraryIsLoaded)
{
    QLibrary library(QDir(PluginHost::Directory()).filePath("AntivirusMonitor"));
    EXPECT_FALSE(QFile::exists(":/xml/AMtext.xml"));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    for (const char* path : {":/xml/AMtext.xml", ":/xml/AMstyle.css", ":/xml/safe_tools.xml",
                             ":/base_ui_xml/base_ui.css", ":/images/pix_switch.png",
                             ":/base_ui_image/CInfoMessageBox/pix_btn_blue.png"}) {
        EXPECT_TRUE(QFile::exists(path)) << path;
    }
    ASSERT_TRUE(library.unload());
    EXPECT_FALSE(QFile::exists(":/xml/AMtext.xml"));
    EXPECT_FALSE(QFile::exists(":/images/pix_switch.png"));
}

} // namespace
