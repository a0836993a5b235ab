// The settings functions on a settings file that cannot be used as it should:
// read-only, a directory in its place, or garbage. Each gives a clear result
// (false where nothing can be read or written), nothing crashes, and nothing
// that could be read before is lost.
#include "base_ui/utils/CommonUtils.h"

#include "TestDirectory.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `check` without the privilege to override file permissions: as is for
// an ordinary user, in a child process switched to "nobody" for root.
// Returns what `check` reports (empty when all held).
std::string WithoutPrivilege(const std::function<std::string()>& check)
{
    if (geteuid() != 0) {
        return check();
    }
    int report[2];
    if (pipe(report) != 0) {
        return "pipe failed";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        const std::string failures = (setgid(kNobody) == 0 && setuid(kNobody) == 0)
                                         ? check()
                                         : std::string("cannot become nobody");
        const bool sent = write(report[1], failures.data(), failures.size()) ==
                          static_cast<ssize_t>(failures.size());
        _exit(sent ? 0 : 1);
    }
    close(report[1]);
    std::string failures;
    char buffer[256];
    for (ssize_t count; (count = read(report[0], buffer, sizeof buffer)) > 0;) {
        failures.append(buffer, static_cast<std::size_t>(count));
    }
    close(report[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        failures += " (the checking process failed)";
    }
    return failures;
}

class SettingsFaultTest : public testing::Test
{
protected:
    TestDirectory m_dir;
    const QString m_file = m_dir.FilePath("UiCommonSetting.ini");
};

TEST_F(SettingsFaultTest, ReadOnlyFileIsReadAndRefusesWritesUnchanged)
{
    const QByteArray content = "[Log]\nLevel=3\nSize=7\n\n[XmlPath]\nskin=/opt/ui/skin.xml\n";
    ASSERT_EQ(m_dir.Write("UiCommonSetting.ini", content), m_file);
    ASSERT_TRUE(
        QFile::setPermissions(m_file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(QFileInfo(m_file).path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther));

    const std::string failures = WithoutPrivilege([this] {
        std::string failed;
        int level = 0;
        QString skin;
        if (!CommonUtils::ReadIniInt(m_file, "Log", "Level", level) || level != 3) {
            failed += "level not read; ";
        }
        if (!CommonUtils::ReadIniString(m_file, "XmlPath", "skin", skin) ||
            skin != "/opt/ui/skin.xml") {
            failed += "path not read; ";
        }
        if (CommonUtils::WriteIniInt(m_file, "Log", "Level", 5)) {
            failed += "WriteIniInt reported success; ";
        }
        if (CommonUtils::WriteIniString(m_file, "XmlPath", "skin", "/tmp/other.xml")) {
            failed += "WriteIniString reported success; ";
        }
        if (CommonUtils::WriteIniString(m_file, "XmlPath", "skin", "/tmp/other.xml", true)) {
            failed += "clearing WriteIniString reported success; ";
        }
        return failed;
    });
    EXPECT_EQ(failures, "");
    EXPECT_EQ(ReadFile(m_file), content);
}

TEST_F(SettingsFaultTest, DirectoryInPlaceOfTheFileReadsNothingAndRefusesWrites)
{
    ASSERT_TRUE(QDir().mkpath(m_file));
    int level = 42;
    QString text = "kept";
    EXPECT_FALSE(CommonUtils::ReadIniInt(m_file, "Log", "Level", level));
    EXPECT_EQ(level, 42);
    EXPECT_TRUE(CommonUtils::ReadIniString(m_file, "XmlPath", "skin", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(CommonUtils::WriteIniInt(m_file, "Log", "Level", 5));
    EXPECT_FALSE(CommonUtils::WriteIniString(m_file, "XmlPath", "skin", "/opt/ui/skin.xml"));
    EXPECT_FALSE(CommonUtils::WriteIniString(m_file, "XmlPath", "skin", "/opt/ui/skin.xml", true));
    EXPECT_TRUE(QFileInfo(m_file).isDir());
}

struct Garbage
{
    const char* name;
    QByteArray content;
    bool parses; // false: the settings framework reports a format error
};

void PrintTo(const Garbage& garbage, std::ostream* out)
{
    *out << garbage.name;
}

// A literal with the zero bytes inside it.
template <std::size_t N>
QByteArray Raw(const char (&text)[N])
{
    return QByteArray(text, static_cast<qsizetype>(N - 1));
}

QByteArray RandomBytes(std::size_t size)
{
    std::mt19937 random(20261210);
    QByteArray bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes += static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

class SettingsGarbageTest : public SettingsFaultTest, public testing::WithParamInterface<Garbage>
{};

// Whatever the file holds, the reads give an answer. A file that parses takes
// a write, and every value that could be read before reads the same after
// it; a file that does not parse refuses the write (false) and keeps its
// bytes, instead of being replaced by the little that could be read.
TEST_P(SettingsGarbageTest, ReadsAnswerAndAWriteLosesNothing)
{
    m_dir.Write("UiCommonSetting.ini", GetParam().content);
    int levelBefore = -1;
    const bool hadLevel = CommonUtils::ReadIniInt(m_file, "Log", "Level", levelBefore);
    QString skinBefore;
    ASSERT_TRUE(CommonUtils::ReadIniString(m_file, "XmlPath", "skin", skinBefore));

    const bool written = CommonUtils::WriteIniString(m_file, "LogonUser", "monitor", "operator");
    EXPECT_EQ(written, GetParam().parses);
    if (!written) {
        EXPECT_EQ(ReadFile(m_file), GetParam().content);
    }

    int levelAfter = -1;
    EXPECT_EQ(CommonUtils::ReadIniInt(m_file, "Log", "Level", levelAfter), hadLevel);
    EXPECT_EQ(levelAfter, levelBefore);
    QString skinAfter;
    EXPECT_TRUE(CommonUtils::ReadIniString(m_file, "XmlPath", "skin", skinAfter));
    EXPECT_EQ(skinAfter, skinBefore);
    QString user;
    EXPECT_TRUE(CommonUtils::ReadIniString(m_file, "LogonUser", "monitor", user));
    EXPECT_EQ(user, written ? "operator" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsGarbageTest,
    testing::Values(
        Garbage{"RandomBytes", RandomBytes(4096), false},
        Garbage{"ZeroBytes", Raw("[Log]\nLevel=4\n\0\0\0garbage\n[XmlPath]\nskin=a\n"), true},
        Garbage{"UnclosedGroup", "[Log\nLevel=2\n[XmlPath]\nskin=/a.xml\n", true},
        Garbage{"HugeLine", QByteArray(1 << 20, 'x') + "\n[Log]\nLevel=2\n", false},
        Garbage{"InvalidUtf8", "\xff\xfe\xc3[Log]\nLevel=2\n[XmlPath]\nskin=\xe4\xb8\n", false},
        Garbage{"NumberOutOfRange", "[Log]\nLevel=99999999999999999999\nSize=-1e308\n", true},
        Garbage{"KeysWithoutValues", "[Log]\nLevel\n=5\n[XmlPath]\nskin=\n==\n", true},
        Garbage{"QuotesAndEscapes", "[XmlPath]\nskin=\"unterminated \\x\n[Log]\nLevel=\"3\"\n",
                true}),
    [](const testing::TestParamInfo<Garbage>& info) { return std::string(info.param.name); });

} // namespace
