// Starting a tool program of the application directory. The tool is the
// argument writer built beside this test (KO_ARGUMENT_WRITER names it): it
// writes its arguments into the file that its first argument names.

#include "base_ui/utils/CommonUtils.h"

#include "LogCapture.h"
#include "TestDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kTool = QStringLiteral(KO_ARGUMENT_WRITER);
constexpr int kStartTimeoutMs = 30000;

QString AppDir()
{
    return QCoreApplication::applicationDirPath();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the tool wrote `argument` as its only argument into the file
// `argument` names before the deadline.
bool ToolRanWith(const QString& argument)
{
    const QByteArray expected = argument.toUtf8() + "\n";
    return QTest::qWaitFor([&] { return ReadFile(argument) == expected; }, kStartTimeoutMs);
}

class StartDetachedToolTest : public testing::Test
{
protected:
    const LogCapture m_capture; // refusals are logged
    const TestDirectory m_dir;
};

TEST_F(StartDetachedToolTest, StartsTheToolWithItsOneArgument)
{
    const QString output = m_dir.FilePath("one argument with blanks.txt");
    ASSERT_TRUE(CommonUtils::startDetachedTool(kTool, output));
    EXPECT_TRUE(ToolRanWith(output));
}

TEST_F(StartDetachedToolTest, OnlyExecutableFilesInsideTheApplicationDirectoryStart)
{
    // A copy of the tool outside the application directory, and inside it a
    // directory holding a copy without execute permission.
    const QString tool = AppDir() + "/" + kTool;
    const QString outsideTool = m_dir.FilePath(kTool);
    ASSERT_TRUE(QFile::copy(tool, outsideTool));
    ASSERT_TRUE(QFileInfo(outsideTool).isExecutable());
    const QTemporaryDir inside(AppDir() + "/tool-test-XXXXXX");
    ASSERT_TRUE(inside.isValid());
    const QString subdirectory = QFileInfo(inside.path()).fileName();
    ASSERT_TRUE(QFile::copy(tool, inside.filePath(kTool)));
    ASSERT_TRUE(
        QFile::setPermissions(inside.filePath(kTool), QFile::ReadOwner | QFile::WriteOwner));

    const QString climbing = QDir(AppDir()).relativeFilePath(outsideTool);
    ASSERT_TRUE(climbing.startsWith("../"));
    const QString refusedOutput = m_dir.FilePath("refused.txt");
    const QString names[] = {
        "",       ".",         "..",           subdirectory, subdirectory + "/" + kTool,
        climbing, outsideTool, "no-such-tool",
    };
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(CommonUtils::startDetachedTool(name, refusedOutput));
    }
    EXPECT_TRUE(m_capture.Contains(
        "Not a tool of the application directory: " + climbing.toStdString() + "\r\n"));

    // A refused start would have written its file by the time a later tool has.
    const QString output = m_dir.FilePath("started later.txt");
    ASSERT_TRUE(CommonUtils::startDetachedTool(kTool, output));
    ASSERT_TRUE(ToolRanWith(output));
    EXPECT_FALSE(QFileInfo::exists(refusedOutput));
}

TEST_F(StartDetachedToolTest, LinksLeavingTheApplicationDirectoryStartNothing)
{
    // Inside the application directory: a link to a copy of the tool outside
    // it, a link to the directory of that copy, and a link to the tool itself.
    const QString outsideTool = m_dir.FilePath(kTool);
    ASSERT_TRUE(QFile::copy(AppDir() + "/" + kTool, outsideTool));
    const QTemporaryDir inside(AppDir() + "/tool-link-test-XXXXXX");
    ASSERT_TRUE(inside.isValid());
    const QString subdirectory = QFileInfo(inside.path()).fileName();
    ASSERT_TRUE(QFile::link(outsideTool, inside.filePath("tool-outside")));
    ASSERT_TRUE(
        QFile::link(QFileInfo(outsideTool).absolutePath(), inside.filePath("directory-outside")));
    ASSERT_TRUE(QFile::link(AppDir() + "/" + kTool, inside.filePath("tool-inside")));

    const QString refusedOutput = m_dir.FilePath("refused.txt");
    for (const QString& name :
         {subdirectory + "/tool-outside", subdirectory + "/directory-outside/" + kTool}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(CommonUtils::startDetachedTool(name, refusedOutput));
        EXPECT_TRUE(m_capture.Contains(
            "Not a tool of the application directory: " + name.toStdString() + "\r\n"));
    }

    const QString output = m_dir.FilePath("started through a link.txt");
    ASSERT_TRUE(CommonUtils::startDetachedTool(subdirectory + "/tool-inside", output));
    ASSERT_TRUE(ToolRanWith(output));
    EXPECT_FALSE(QFileInfo::exists(refusedOutput));
}

TEST_F(StartDetachedToolTest, EmptyNameStartsNothingAndLogsNothing)
{
    EXPECT_FALSE(CommonUtils::startDetachedTool("", m_dir.FilePath("never.txt")));
    EXPECT_EQ(m_capture.Text(), "");
}

} // namespace
