// The page's language: chosen by the settings file, else by the locale; the
// English text files over the Chinese ones, missing entries kept Chinese.

#include "base_ui/utils/UiLanguage.h"
#include "base_ui/tools/CKoStringPool.h"
#include "base_ui/utils/CommonUtils.h"

#include "LogCapture.h"
#include "TestDirectory.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct Choice
{
    const char* name;
    const char* setting; // null: no Language key
    QLocale::Language locale;
    UiLanguage::Language expected;
};

void PrintTo(const Choice& choice, std::ostream* out)
{
    *out << choice.name;
}

class UiLanguageChoiceTest : public ::testing::TestWithParam<Choice>
{};

TEST_P(UiLanguageChoiceTest, SettingFirstThenLocale)
{
    const Choice& choice = GetParam();
    TestDirectory dir;
    const QString settings = dir.FilePath("UiCommonSetting.ini");
    if (choice.setting != nullptr) {
        ASSERT_TRUE(CommonUtils::WriteIniString(settings, "General", "Language", choice.setting));
    }
    EXPECT_EQ(UiLanguage::choose(settings, QLocale(choice.locale)), choice.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, UiLanguageChoiceTest,
    ::testing::Values(Choice{"chinese_locale", nullptr, QLocale::Chinese, UiLanguage::Chinese},
                      Choice{"english_locale", nullptr, QLocale::English, UiLanguage::English},
                      Choice{"c_locale", nullptr, QLocale::C, UiLanguage::English},
                      Choice{"german_locale", nullptr, QLocale::German, UiLanguage::English},
                      Choice{"en_over_chinese_locale", "en", QLocale::Chinese, UiLanguage::English},
                      Choice{"zh_over_english_locale", "zh", QLocale::English, UiLanguage::Chinese},
                      Choice{"zh_over_c_locale", "zh", QLocale::C, UiLanguage::Chinese},
                      Choice{"unknown_value_leaves_it_to_the_locale", "fr", QLocale::Chinese,
                             UiLanguage::Chinese},
                      Choice{"empty_value_leaves_it_to_the_locale", "", QLocale::English,
                             UiLanguage::English}),
    [](const ::testing::TestParamInfo<Choice>& info) { return info.param.name; });

TEST(UiLanguageTest, DefaultLocaleOfTheTestsIsChinese)
{
    TestDirectory dir;
    EXPECT_EQ(UiLanguage::choose(dir.FilePath("none.ini")), UiLanguage::Chinese);
}

TEST(UiLanguageTest, EnglishPathIsInTheEnDirectoryBesideTheFile)
{
    EXPECT_EQ(UiLanguage::englishPath(":/xml/AMtext.xml"), ":/xml/en/AMtext.xml");
    EXPECT_EQ(UiLanguage::englishPath("AMtext.xml"), "en/AMtext.xml");
}

// A Chinese text file of three entries and an English one that lacks 2.
class UiLanguageLoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.FilePath("")).mkpath("en"));
        m_path = m_dir.Write("texts.xml", "<string><s id=\"1\">一</s><s id=\"2\">二</s>"
                                          "<s id=\"3\" object=\"third\">三</s></string>");
        m_dir.Write("en/texts.xml", "<string><s id=\"1\">one</s>"
                                    "<s id=\"3\" object=\"third\">three</s></string>");
    }

    std::string Text(int id) const
    {
        ResourceEntry entry;
        m_pool.Lookup(id, entry);
        return entry.text;
    }

    int Load(UiLanguage::Language language)
    {
        return UiLanguage::load(m_path, language, "s",
                                [this](const QString& path) { return m_pool.Load(path); });
    }

    TestDirectory m_dir;
    QString m_path;
    CKoStringPool m_pool;
};

TEST_F(UiLanguageLoadTest, EnglishOverChineseWithOneWarningForTheMissingEntry)
{
    LogCapture log;
    EXPECT_EQ(Load(UiLanguage::English), 0);
    EXPECT_EQ(Text(1), "one");
    EXPECT_EQ(Text(2), "二");
    EXPECT_EQ(Text(3), "three");
    EXPECT_TRUE(log.HasLine("WARN", "no English text in texts.xml for 2; the Chinese text stays."));
    EXPECT_EQ(UiLanguage::missingEnglish(m_path, "s"), QStringList{"2"});
}

// Every load warns again, and an English file completed in between is read
// as it is now.
TEST_F(UiLanguageLoadTest, EachLoadWarnsAboutTheFilesAsTheyAre)
{
    for (int load = 0; load < 2; ++load) {
        LogCapture log;
        EXPECT_EQ(Load(UiLanguage::English), 0);
        EXPECT_TRUE(
            log.HasLine("WARN", "no English text in texts.xml for 2; the Chinese text stays."))
            << "load " << load;
    }
    m_dir.Write("en/texts.xml", "<string><s id=\"1\">one</s><s id=\"2\">two</s>"
                                "<s id=\"3\" object=\"third\">three</s></string>");
    LogCapture log;
    EXPECT_EQ(Load(UiLanguage::English), 0);
    EXPECT_EQ(Text(2), "two");
    EXPECT_EQ(log.Text().find("no English text"), std::string::npos) << log.Text();
    EXPECT_EQ(UiLanguage::missingEnglish(m_path, "s"), QStringList());

    m_dir.Write("texts.xml", "<string><s id=\"1\">一</s><s id=\"4\">四</s><t id=\"5\">五</t>"
                             "</string>");
    EXPECT_EQ(UiLanguage::missingEnglish(m_path, "s"), QStringList{"4"});
    EXPECT_EQ(UiLanguage::missingEnglish(m_path, "t"), QStringList{"5"});
}

TEST_F(UiLanguageLoadTest, ChineseLoadsTheChineseFileAlone)
{
    LogCapture log;
    EXPECT_EQ(Load(UiLanguage::Chinese), 0);
    EXPECT_EQ(Text(1), "一");
    EXPECT_EQ(Text(2), "二");
    EXPECT_FALSE(log.Contains("English"));
}

TEST_F(UiLanguageLoadTest, AChineseFileThatFailsLoadsNoEnglish)
{
    const QString broken = m_dir.Write("broken.xml", "<string><s id=\"1\">");
    m_dir.Write("en/broken.xml", "<string><s id=\"1\">one</s></string>");
    EXPECT_EQ(UiLanguage::load(broken, UiLanguage::English, "s",
                               [this](const QString& path) { return m_pool.Load(path); }),
              -1);
    EXPECT_EQ(Text(1), "");
}

// A file that cannot be read or parsed has no identifiers: without an English
// file every identifier is missing, without a Chinese one none is, each pair
// of files as it is.
TEST_F(UiLanguageLoadTest, AFileMissingOrBrokenHasNoIdentifiers)
{
    const QString first = m_dir.Write("first.xml", "<string><s id=\"1\"/><s id=\"2\"/></string>");
    const QString second = m_dir.Write("second.xml", "<string><s id=\"3\"/></string>");
    const QString broken = m_dir.Write("broken.xml", "<string><s id=\"1\">");
    m_dir.Write("en/broken.xml", "<string/>");
    const QString absent = m_dir.FilePath("absent.xml");
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(UiLanguage::missingEnglish(first, "s"), (QStringList{"1", "2"})) << round;
        EXPECT_EQ(UiLanguage::missingEnglish(second, "s"), QStringList{"3"}) << round;
        EXPECT_EQ(UiLanguage::missingEnglish(broken, "s"), QStringList()) << round;
        EXPECT_EQ(UiLanguage::missingEnglish(absent, "s"), QStringList()) << round;
    }
}

// Every entry of the bundle's text files has its English text.
TEST(UiLanguageBundleTest, EveryBundledTextHasItsEnglishVersion)
{
    const struct
    {
        const char* path;
        const char* tag;
    } files[] = {{":/xml/AMtext.xml", "s"},
                 {":/base_ui_xml/base_ui_text.xml", "s"},
                 {":/xml/safe_tools.xml", "item"}};
    for (const auto& file : files) {
        EXPECT_TRUE(QFile::exists(UiLanguage::englishPath(file.path))) << file.path;
        EXPECT_EQ(UiLanguage::missingEnglish(file.path, file.tag), QStringList()) << file.path;
    }
}

} // namespace
