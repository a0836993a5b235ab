// The page's resource loading, linked directly: the bundle comes from a
// binary resource file registered at run time, and a file registered before
// it turns one bundle file at a time into a directory, which reads as empty,
// so each step that parses its file fails in turn. (The style-sheet step
// takes any text, empty too; only a file that cannot be opened fails it.)

#include "monitor/AntivirusMonitorWidget.h"

#include "PluginHost.h"

#include <QFile>
#include <QResource>

#include <gtest/gtest.h>

using namespace PluginHost;

namespace {

// Registers the binary resource files `names` (from the build's resource
// directory) in order, the first found first, for as long as it lives.
class RegisteredResources
{
public:
    explicit RegisteredResources(const QStringList& names)
    {
        for (const QString& name : names) {
            const QString path = QString(KO_PAGE_RESOURCES) + "/" + name + ".rcc";
            if (QResource::registerResource(path)) {
                m_paths.prepend(path);
            } else {
                ADD_FAILURE() << "cannot register " << path.toStdString();
            }
        }
    }

    ~RegisteredResources()
    {
        for (const QString& path : m_paths) {
            QResource::unregisterResource(path);
        }
    }

    Q_DISABLE_COPY_MOVE(RegisteredResources)

private:
    QStringList m_paths;
};

QRegularExpression InitxmlFatal(const QString& message)
{
    return LogLinePattern("FATAL", "AntivirusMonitorWidget\\.cpp",
                          "AntivirusMonitorWidget::initxml", message);
}

QString ResourceText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(AntivirusMonitorWidgetTest, StyleSheetIsThePageSheetThenTheSubstitutedBaseSheet)
{
    const RegisteredResources resources({"bundle"});
    const int logStart = static_cast<int>(LogLines().size());
    AntivirusMonitorWidget first;
    AntivirusMonitorWidget second;

    const QString pageSheet = ResourceText(":/xml/AMstyle.css");
    ASSERT_FALSE(pageSheet.isEmpty());
    ASSERT_TRUE(first.styleSheet().startsWith(pageSheet));
    const QString baseSheet = first.styleSheet().mid(pageSheet.size());
    EXPECT_TRUE(baseSheet.contains("QLabel#ListItemLabelState"));
    EXPECT_FALSE(baseSheet.contains(QRegularExpression("%baseStyle\\w+%")));
    EXPECT_EQ(second.styleSheet(), first.styleSheet()) << "each page holds one copy of each sheet";
    EXPECT_TRUE(first.initxml());
    EXPECT_EQ(CountLogLines(InitxmlFatal(".*"), logStart), 0);
}

struct FailingStep
{
    const char* blocker;
    const char* message;
};

void PrintTo(const FailingStep& step, std::ostream* out)
{
    *out << step.blocker;
}

class InitxmlFailureTest : public testing::TestWithParam<FailingStep>
{};

TEST_P(InitxmlFailureTest, StopsAtTheStepWithItsFatalLineAndLeavesNoStyleSheet)
{
    const RegisteredResources resources({GetParam().blocker, "bundle"});
    const int logStart = static_cast<int>(LogLines().size());
    AntivirusMonitorWidget page;

    EXPECT_EQ(CountLogLines(InitxmlFatal(QString(GetParam().message) + "\\d+"), logStart), 1);
    EXPECT_EQ(CountLogLines(LogLinePattern("FATAL", ".*", ".*", ".*"), logStart), 1)
        << "the steps after the failing one are skipped";
    EXPECT_TRUE(page.styleSheet().isEmpty());
    EXPECT_FALSE(page.initxml());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InitxmlFailureTest,
    testing::Values(FailingStep{"blocked_AMtext", " load AMtext\\.xml fails,ErrNum:"},
                    FailingStep{"blocked_base_ui_style", " load base_ui\\.css fails, ErrNum:"},
                    FailingStep{"blocked_base_ui_text", " load base_ui_text\\.xml fails,ErrNum:"},
                    FailingStep{"blocked_safe_tools", " load safe_tools\\.xml fails,ErrNum:"},
                    FailingStep{"blocked_AMImage", " load AMImage\\.xml fails,ErrNum:"},
                    FailingStep{"blocked_base_ui_pixmap",
                                " load base_ui_pixmap\\.xml fails,ErrNum:"}),
    [](const testing::TestParamInfo<FailingStep>& info) {
        return std::string(info.param.blocker);
    });

} // namespace
