// The settings file access, the log configuration taken from it and the
// named XML paths.

#include "SettingsFileTest.h"

#include "base/Log.h"
#include "base/Logging.h"
#include "base_ui/utils/CommonUtils.h"

#include "LogCapture.h"
#include "TestDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::uint32_t kWriterDefaultMaxSize = 10000000;
const QByteArray kUtf8Mark = "\xEF\xBB\xBF";

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the log writer rotates an output file of `bytes` bytes at its size
// check: points it at a fresh such file (setting the path makes the next
// write check the size) and writes one line. Rotation keeps the old file as
// the first stage file, so the stage count must be at least 1.
bool RotatesFileOf(qint64 bytes)
{
    const TestDirectory dir;
    const QString prefix = dir.FilePath("probe");
    QFile file(prefix + ".out");
    if (!file.open(QIODevice::WriteOnly) || !file.resize(bytes)) {
        ADD_FAILURE() << "cannot make a file of " << bytes << " bytes";
        return false;
    }
    file.close();
    KO::Log::SetPath(prefix.toStdWString());
    LOG_FATAL << "probe";
    return QFileInfo::exists(prefix + ".out.1");
}

// The header of a log line written by the CommonUtils operation `function`.
std::string Header(const std::string& level, const std::string& function)
{
    return "[" + level + "] <CommonUtils.cpp> <CommonUtils::" + function + "> <line:";
}

class CommonUtilsLogTest : public SettingsFileTest
{
protected:
    void TearDown() override
    {
        KO::Log::SetMaxFileSize(kWriterDefaultMaxSize);
        KO::Log::SetStageFileCount(0);
        KO::Log::SetEncoding(1);
        SettingsFileTest::TearDown();
    }

    QString Prefix(const QString& name) const { return m_dir.FilePath(name); }

    TestDirectory m_dir;
};

TEST_F(CommonUtilsLogTest, FreshInstallationGetsTheDefaults)
{
    KO::SetLogLevel(KO::LOG_LEVEL_TRACE);
    const QString prefix = Prefix("fresh");
    CommonUtils::Init_Log(prefix);

    const QByteArray ini = ReadFile(Path());
    EXPECT_TRUE(ini.contains("[Log]")) << ini.toStdString();
    EXPECT_EQ(Stored("Log/Level").toString(), "5");
    EXPECT_EQ(Stored("Log/Size").toString(), "10");
    EXPECT_EQ(KO::GetLogLevel(), KO::LOG_LEVEL_INFO);

    LOG_INFO << "written at level INFO";
    EXPECT_TRUE(ReadFile(prefix + ".out").contains("written at level INFO\r\n"));
    EXPECT_FALSE(RotatesFileOf(10000000));
    EXPECT_TRUE(RotatesFileOf(10000001));
}

TEST_F(CommonUtilsLogTest, StoredLevelIsClampedInMemoryAndKeptInTheFile)
{
    struct Case
    {
        const char* stored;
        int level;
    };
    const Case cases[] = {{"7", 5}, {"-3", 0}, {"2", 2}, {"0", 0}, {"five", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Store("Log/Level", c.stored);
        CommonUtils::Init_Log(Prefix("clamped"));
        EXPECT_EQ(KO::GetLogLevel(), c.level);
        EXPECT_EQ(Stored("Log/Level").toString(), c.stored);
    }
}

TEST_F(CommonUtilsLogTest, StoredSizeIsKeptAndZeroRotatesEveryNonEmptyFile)
{
    Store("Log/Size", 0);
    const QString prefix = Prefix("zero");
    const QString out = prefix + ".out";
    QFile empty(out);
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    // Each Init_Log sets the path again, so the next write checks the size.
    CommonUtils::Init_Log(prefix);
    LOG_FATAL << "first";
    EXPECT_FALSE(QFileInfo::exists(out + ".1")) << "an empty file is not rotated";
    for (const char* text : {"second", "third", "fourth"}) {
        CommonUtils::Init_Log(prefix);
        LOG_FATAL << text;
    }

    EXPECT_EQ(Stored("Log/Size").toString(), "0");
    const QByteArray newest = ReadFile(out);
    EXPECT_TRUE(newest.startsWith(kUtf8Mark));
    EXPECT_TRUE(newest.contains("fourth"));
    EXPECT_TRUE(ReadFile(out + ".1").contains("third"));
    const QByteArray oldest = ReadFile(out + ".2");
    EXPECT_TRUE(oldest.startsWith(kUtf8Mark));
    EXPECT_TRUE(oldest.contains("second"));
    EXPECT_FALSE(QFileInfo::exists(out + ".3"));
}

TEST_F(CommonUtilsLogTest, UnwritableSettingsFileGivesTheDefaults)
{
    ASSERT_TRUE(QDir().mkpath(Path()));
    KO::SetLogLevel(KO::LOG_LEVEL_TRACE);
    const QString prefix = Prefix("unwritable");
    CommonUtils::Init_Log(prefix);

    EXPECT_EQ(KO::GetLogLevel(), KO::LOG_LEVEL_INFO);
    EXPECT_FALSE(RotatesFileOf(10000000));
    EXPECT_TRUE(RotatesFileOf(10000001));
}

TEST_F(CommonUtilsLogTest, UpdateTakesTheStoredLevelClamped)
{
    const LogCapture capture;
    const std::pair<int, int> cases[] = {{2, 2}, {9, 5}, {-1, 0}};
    for (const auto& [stored, level] : cases) {
        SCOPED_TRACE(stored);
        KO::SetLogLevel(KO::LOG_LEVEL_DEBUG);
        Store("Log/Level", stored);
        CommonUtils::Update_Log_ini();
        EXPECT_EQ(KO::GetLogLevel(), level);
    }
    EXPECT_FALSE(capture.Contains("update log level failed !"));
}

TEST_F(CommonUtilsLogTest, UpdateWithoutStoredLevelKeepsTheCurrentLevel)
{
    const LogCapture capture;
    KO::SetLogLevel(KO::LOG_LEVEL_DEBUG);
    CommonUtils::Update_Log_ini();

    EXPECT_EQ(KO::GetLogLevel(), KO::LOG_LEVEL_DEBUG);
    EXPECT_TRUE(capture.Contains("> update log level failed !\r\n"));
    EXPECT_FALSE(QFileInfo::exists(Path()));
}

TEST_F(CommonUtilsLogTest, SetLogLevelClampsAndLogsWhenTheOldLevelAdmitsInfo)
{
    struct Case
    {
        int before;
        int requested;
        int after;
        bool logged;
    };
    const Case cases[] = {
        {5, -3, 0, true}, {4, -3, 0, false}, {5, 9, 5, true}, {0, 3, 3, false}, {3, 5, 5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + " -> " + std::to_string(c.requested));
        const LogCapture capture;
        KO::SetLogLevel(c.before);
        CommonUtils::Set_Log_Level(c.requested);
        EXPECT_EQ(KO::GetLogLevel(), c.after);
        const std::string text = capture.Text();
        EXPECT_EQ(text.find(Header("INFO", "Set_Log_Level")) != std::string::npos, c.logged);
        EXPECT_EQ(text.find("> Set log level: " + std::to_string(c.requested) + "\r\n") !=
                      std::string::npos,
                  c.logged);
    }
}

TEST_F(CommonUtilsLogTest, SetLogSizeLogsAndSetsTheLimitInMegabytes)
{
    const LogCapture capture;
    CommonUtils::Set_Log_Size(3);
    EXPECT_TRUE(capture.Contains(Header("TRACE", "Set_Log_Size")));
    EXPECT_TRUE(capture.Contains("> Set log size: 3MB\r\n"));

    KO::Log::SetStageFileCount(2);
    EXPECT_FALSE(RotatesFileOf(3000000));
    EXPECT_TRUE(RotatesFileOf(3000001));
}

TEST_F(CommonUtilsLogTest, SetLogSizeClampsToTheWritersRange)
{
    KO::SetLogLevel(KO::LOG_LEVEL_FATAL); // the probes move the log away
    KO::Log::SetStageFileCount(2);

    CommonUtils::Set_Log_Size(-1);
    EXPECT_TRUE(RotatesFileOf(1));

    // 5000 MB does not fit 32 bits: the largest size that does is 4294 MB.
    CommonUtils::Set_Log_Size(5000);
    EXPECT_FALSE(RotatesFileOf(4294000000));
    EXPECT_TRUE(RotatesFileOf(4294000001));
}

class CommonUtilsXmlPathTest : public SettingsFileTest
{
protected:
    const LogCapture m_capture;
};

TEST_F(CommonUtilsXmlPathTest, StoredPathsReadBack)
{
    CommonUtils::SetXmlPath("skin", "/opt/ui/skin.xml");
    CommonUtils::SetXmlPath("texts", "/数据/文本.xml");

    EXPECT_EQ(CommonUtils::GetXmlPath("skin"), "/opt/ui/skin.xml");
    EXPECT_EQ(CommonUtils::GetXmlPath("texts"), "/数据/文本.xml");
    EXPECT_EQ(Stored("XmlPath/skin").toString(), "/opt/ui/skin.xml");
    EXPECT_EQ(m_capture.Text(), "");
}

TEST_F(CommonUtilsXmlPathTest, UnknownKeyIsEmptyAndLogsNothing)
{
    CommonUtils::SetXmlPath("skin", "/opt/ui/skin.xml");
    EXPECT_EQ(CommonUtils::GetXmlPath("never written"), "");
    EXPECT_EQ(m_capture.Text(), "");
}

TEST_F(CommonUtilsXmlPathTest, FailedWriteIsLogged)
{
    ASSERT_TRUE(QDir().mkpath(Path()));
    CommonUtils::SetXmlPath("skin", "/opt/ui/skin.xml");
    EXPECT_TRUE(m_capture.Contains("> write xml path failed !\r\n"));
}

// The operations on a file of the caller's choice.
class IniFileTest : public testing::Test
{
protected:
    const TestDirectory m_dir;
    const QString m_file = m_dir.FilePath("settings.ini");
};

TEST_F(IniFileTest, EmptyFileNameFailsAndLeavesTheOutValues)
{
    int number = 42;
    QString text = "kept";
    EXPECT_FALSE(CommonUtils::WriteIniInt("", "Group", "key", 1));
    EXPECT_FALSE(CommonUtils::WriteIniString("", "Group", "key", "value"));
    EXPECT_FALSE(CommonUtils::WriteIniString("", "Group", "key", "value", true));
    EXPECT_FALSE(CommonUtils::ReadIniInt("", "Group", "key", number));
    EXPECT_FALSE(CommonUtils::ReadIniString("", "Group", "key", text));
    EXPECT_EQ(number, 42);
    EXPECT_EQ(text, "kept");
}

TEST_F(IniFileTest, ValuesReadBackFromTheirGroup)
{
    ASSERT_TRUE(CommonUtils::WriteIniInt(m_file, "Numbers", "answer", 42));
    ASSERT_TRUE(CommonUtils::WriteIniString(m_file, "Texts", "greeting", "你好, world"));

    int number = 0;
    QString text;
    EXPECT_TRUE(CommonUtils::ReadIniInt(m_file, "Numbers", "answer", number));
    EXPECT_EQ(number, 42);
    EXPECT_TRUE(CommonUtils::ReadIniString(m_file, "Texts", "greeting", text));
    EXPECT_EQ(text, "你好, world");
    const QByteArray content = ReadFile(m_file);
    EXPECT_TRUE(content.contains("[Numbers]\nanswer=42\n")) << content.toStdString();
}

TEST_F(IniFileTest, AbsentKeysAndTextsThatAreNoNumbers)
{
    ASSERT_TRUE(CommonUtils::WriteIniString(m_file, "Numbers", "word", "many"));

    int number = 42;
    EXPECT_FALSE(CommonUtils::ReadIniInt(m_file, "Numbers", "absent", number));
    EXPECT_EQ(number, 42);
    EXPECT_TRUE(CommonUtils::ReadIniInt(m_file, "Numbers", "word", number));
    EXPECT_EQ(number, 0);

    QString text = "kept";
    EXPECT_TRUE(CommonUtils::ReadIniString(m_file, "Numbers", "absent", text));
    EXPECT_EQ(text, "");
}

TEST_F(IniFileTest, ClearingWriteEmptiesTheFileFirst)
{
    ASSERT_TRUE(CommonUtils::WriteIniString(m_file, "Old", "a", "1"));
    ASSERT_TRUE(CommonUtils::WriteIniString(m_file, "Second", "b", "2", false));
    ASSERT_TRUE(CommonUtils::WriteIniString(m_file, "New", "c", "3", true));

    int number = 0;
    EXPECT_FALSE(CommonUtils::ReadIniInt(m_file, "Old", "a", number));
    EXPECT_FALSE(CommonUtils::ReadIniInt(m_file, "Second", "b", number));
    EXPECT_TRUE(CommonUtils::ReadIniInt(m_file, "New", "c", number));
    EXPECT_EQ(number, 3);
}

} // namespace
