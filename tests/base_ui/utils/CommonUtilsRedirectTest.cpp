// Redirection of the standard streams. The redirection is undone inside each
// test (the descriptors are saved and put back), so the runner's own output
// stays where it was.

#include "base_ui/utils/CommonUtils.h"

#include "TestDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void AppendFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(content);
}

QString Root(const TestDirectory& dir)
{
    return QDir::cleanPath(dir.FilePath("."));
}

// Makes `dir` the current directory while it lives.
class CurrentDirectory
{
public:
    explicit CurrentDirectory(const QString& dir) : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(dir);
    }
    ~CurrentDirectory() { QDir::setCurrent(m_previous); }

private:
    const QString m_previous;
};

// Points the standard output and error descriptors at two files while it
// lives, then puts the original ones back, undoing any reopening of the
// streams in between.
class StdStreamCapture
{
public:
    StdStreamCapture(const QString& outPath, const QString& errPath)
    {
        Flush();
        m_savedOut = dup(fileno(stdout));
        m_savedErr = dup(fileno(stderr));
        PointAt(stdout, outPath);
        PointAt(stderr, errPath);
    }

    ~StdStreamCapture()
    {
        Flush();
        dup2(m_savedOut, fileno(stdout));
        dup2(m_savedErr, fileno(stderr));
        close(m_savedOut);
        close(m_savedErr);
    }

    StdStreamCapture(const StdStreamCapture&) = delete;
    StdStreamCapture& operator=(const StdStreamCapture&) = delete;

private:
    static void Flush()
    {
        std::fflush(stdout);
        std::fflush(stderr);
    }

    static void PointAt(std::FILE* stream, const QString& path)
    {
        if (std::FILE* const file = std::fopen(QFile::encodeName(path).constData(), "a")) {
            dup2(fileno(file), fileno(stream));
            std::fclose(file);
        }
    }

    int m_savedOut = -1;
    int m_savedErr = -1;
};

// Calls Redirect_Std_Output in `dir` as the current directory, writes one
// text to each stream and undoes the redirection. What still reached the
// original streams lands in dir/captured.out and dir/captured.err.
void RedirectAndWrite(const TestDirectory& dir, const QString& moduleName)
{
    const CurrentDirectory current(Root(dir));
    const StdStreamCapture capture(dir.FilePath("captured.out"), dir.FilePath("captured.err"));
    CommonUtils::Redirect_Std_Output(moduleName);
    std::fputs("text to stdout\n", stdout);
    std::fputs("text to stderr\n", stderr);
}

struct RedirectCase
{
    const char* module;
    const char* directory;
    const char* otherDirectory;
};

class RedirectStdOutputPathTest : public testing::TestWithParam<RedirectCase>
{};

TEST_P(RedirectStdOutputPathTest, StreamsAppendToTheModulesFiles)
{
    const RedirectCase& c = GetParam();
    const TestDirectory dir;
    const QString base = QString(c.directory) + "/" + c.module;
    ASSERT_TRUE(QDir(Root(dir)).mkdir(c.directory));
    ASSERT_TRUE(QDir(Root(dir)).mkdir(c.otherDirectory));
    AppendFile(dir.FilePath(base + ".stderr"), "earlier error\n");

    RedirectAndWrite(dir, c.module);

    // Both start lines carry the same prefix: this process, a time without
    // leading zeros.
    const QString prefix =
        QStringLiteral(R"(\[\d{4}-[1-9]\d?-[1-9]\d? \d{1,2}:\d{1,2}:\d{1,2}\.\d{1,3}\])"
                       R"(\[%1:\d+\])")
            .arg(QCoreApplication::applicationPid());
    const QRegularExpression errPattern("^earlier error\n(" + prefix +
                                        ") stderr start\ntext to stderr\n$");
    const QRegularExpression outPattern("^(" + prefix + ") stdout start\\.\ntext to stdout\n$");
    const QString errText = QString::fromUtf8(ReadFile(dir.FilePath(base + ".stderr")));
    const QString outText = QString::fromUtf8(ReadFile(dir.FilePath(base + ".stdout")));
    const QRegularExpressionMatch err = errPattern.match(errText);
    const QRegularExpressionMatch out = outPattern.match(outText);
    ASSERT_TRUE(err.hasMatch()) << errText.toStdString();
    ASSERT_TRUE(out.hasMatch()) << outText.toStdString();
    EXPECT_EQ(err.captured(1), out.captured(1));

    EXPECT_EQ(ReadFile(dir.FilePath("captured.out")), "");
    EXPECT_EQ(ReadFile(dir.FilePath("captured.err")), "");
    EXPECT_TRUE(QDir(dir.FilePath(c.otherDirectory)).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ModuleNames, RedirectStdOutputPathTest,
                         testing::Values(RedirectCase{"bastion_ui", "Log", "log"},
                                         RedirectCase{"monitor", "log", "Log"},
                                         RedirectCase{"Bastion_ui", "log", "Log"},
                                         RedirectCase{"bastion_ui2", "log", "Log"}));

TEST(RedirectStdOutputTest, MissingDirectoryKeepsTheStreamsAndSaysSoOnce)
{
    const TestDirectory dir;
    RedirectAndWrite(dir, "monitor");

    EXPECT_EQ(ReadFile(dir.FilePath("captured.err")),
              "Redirect_Std_Output: cannot open ./log/monitor.stderr and ./log/monitor.stdout; "
              "standard output and error are kept.\n"
              "text to stderr\n");
    EXPECT_EQ(ReadFile(dir.FilePath("captured.out")), "text to stdout\n");
    EXPECT_FALSE(QDir(dir.FilePath("log")).exists());
}

TEST(RedirectStdOutputTest, EmptyNameDoesNothing)
{
    const TestDirectory dir;
    ASSERT_TRUE(QDir(Root(dir)).mkdir("log"));
    RedirectAndWrite(dir, "");

    EXPECT_EQ(ReadFile(dir.FilePath("captured.err")), "text to stderr\n");
    EXPECT_EQ(ReadFile(dir.FilePath("captured.out")), "text to stdout\n");
    EXPECT_TRUE(QDir(dir.FilePath("log")).isEmpty());
}

} // namespace
