// main of the GUI tests: a QApplication around the GoogleTest run. Tests run
// headless unless the environment names another platform plugin, also when
// the build lists the test cases. The default locale is Chinese, the page's
// own language, whatever the machine's locale; tests of the English texts
// choose theirs.

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
