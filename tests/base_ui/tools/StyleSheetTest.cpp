// The style-sheet pool and the style variables.

#include "base_ui/tools/CKoQssPool.h"
#include "base_ui/tools/CLoadStyle.h"

#include "EncodedText.h"
#include "LogCapture.h"
#include "TestDirectory.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kVariables = R"(<?xml version="1.0" encoding="utf-8"?>
<string>
    <!-- variables -->
    <s name="baseStyleRed1" value="red">ignored text</s>
    <s name="baseStyleBlue1" value="#0c1b36"/>
    <s name="alpha" value="%beta%"/>
    <s name="beta" value="resolved"/>
    <s name="wide" value="宽"/>
    <s name="novalue"/>
    <other name="baseStyleBlue1" value="not a variable"/>
    <s name="baseStyleBlue1" value="#498dfa"/>
</string>
)";

TEST(QssPoolTest, LoadingASheetTwiceDoublesItsText)
{
    const TestDirectory dir;
    const QString path = dir.Write("page.css", "QLabel { color: red; }\n");
    const std::string before = CKoQssPool::Get().Text();

    ASSERT_EQ(CKoQssPool::LoadQss(path), 0);
    EXPECT_EQ(CKoQssPool::Get().Text(), before + "QLabel { color: red; }\n");
    ASSERT_EQ(CKoQssPool::LoadQss(path), 0);
    EXPECT_EQ(CKoQssPool::Get().Text(),
              before + "QLabel { color: red; }\nQLabel { color: red; }\n");
}

TEST(QssPoolTest, AnUnreadableSheetAppendsNothing)
{
    const LogCapture log;
    const TestDirectory dir;
    const QString missing = dir.FilePath("missing.css");
    const std::string before = CKoQssPool::Get().Text();

    EXPECT_EQ(CKoQssPool::LoadQss(missing), -1);
    EXPECT_TRUE(log.HasLine("ERROR", "Open " + missing.toStdString() + " failed.")) << log.Text();
    EXPECT_EQ(CKoQssPool::LoadQss(QString()), -1);
    EXPECT_EQ(CKoQssPool::Get().Text(), before);
}

class LoadStyleTest : public testing::Test
{
protected:
    QString Substitute(const QByteArray& sheet)
    {
        QString result;
        EXPECT_TRUE(CLoadStyle::replaceStyle(dir.Write("sheet.css", sheet), result));
        return result;
    }

    const TestDirectory dir;
};

TEST_F(LoadStyleTest, SubstitutesEveryUseOfAVariable)
{
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", kVariables)));
    EXPECT_EQ(Substitute("a { color: %baseStyleRed1%; } b { color: %baseStyleRed1%; }"),
              "a { color: red; } b { color: red; }");
}

TEST_F(LoadStyleTest, LeavesUndefinedNamesAsWritten)
{
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", kVariables)));
    EXPECT_EQ(Substitute("a { color: %undefinedName%; border: %baseStyleBlue1%; }"),
              "a { color: %undefinedName%; border: #498dfa; }"); // the later definition wins
}

TEST_F(LoadStyleTest, SubstitutesInAscendingOrderOfName)
{
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", kVariables)));
    // "alpha" comes first and yields "%beta%", which "beta" then replaces.
    EXPECT_EQ(Substitute("%alpha%"), "resolved");
}

TEST_F(LoadStyleTest, WritesValuesAsUtf8AndMissingValuesAsEmpty)
{
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", kVariables)));
    EXPECT_EQ(Substitute("[%wide%][%novalue%]"), QString::fromUtf8("[宽][]"));
}

TEST_F(LoadStyleTest, AFileWithoutVariablesFailsTheWholeLoad)
{
    const QString sheet = dir.Write("sheet.css", "a { color: %baseStyleRed1%; }");
    const QString empty =
        dir.Write("empty.xml", "<string><other name=\"x\" value=\"y\"/></string>");

    EXPECT_TRUE(CLoadStyle::loadXml(empty));
    QString result = "unchanged";
    EXPECT_FALSE(CLoadStyle::replaceStyle(sheet, result));
    EXPECT_FALSE(CLoadStyle::loadStyleSheet(empty, sheet, result));
    EXPECT_EQ(result, "unchanged");
}

TEST_F(LoadStyleTest, LoadStyleSheetLoadsThenSubstitutes)
{
    const QString variables = dir.Write("style.xml", kVariables);
    const QString sheet = dir.Write("sheet.css", "a { color: %baseStyleRed1%; }");
    QString result;
    ASSERT_TRUE(CLoadStyle::loadStyleSheet(variables, sheet, result));
    EXPECT_EQ(result, "a { color: red; }");

    EXPECT_FALSE(CLoadStyle::loadStyleSheet(dir.FilePath("missing.xml"), sheet, result));
    EXPECT_FALSE(CLoadStyle::loadStyleSheet(variables, dir.FilePath("missing.css"), result));
}

TEST_F(LoadStyleTest, AFailedLoadKeepsTheVariables)
{
    const LogCapture log;
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", kVariables)));

    EXPECT_FALSE(CLoadStyle::loadXml(dir.FilePath("missing.xml")));
    EXPECT_TRUE(log.HasLine("ERROR", "open file failed")) << log.Text();
    EXPECT_FALSE(CLoadStyle::loadXml(dir.Write("broken.xml", "<string><s name=\"a\">")));
    EXPECT_TRUE(log.HasLine("ERROR", "set document failed")) << log.Text();

    EXPECT_EQ(Substitute("%baseStyleRed1%"), "red");
}

TEST_F(LoadStyleTest, AMissingSheetFailsWithoutALogLine)
{
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", kVariables)));
    const LogCapture log;
    QString result = "unchanged";
    EXPECT_FALSE(CLoadStyle::replaceStyle(dir.FilePath("missing.css"), result));
    EXPECT_EQ(result, "unchanged");
    EXPECT_EQ(log.Text(), "");
}

class LoadStyleEncodingTest : public LoadStyleTest,
                              public testing::WithParamInterface<QStringConverter::Encoding>
{};

TEST_P(LoadStyleEncodingTest, ReadsVariablesInTheFilesEncoding)
{
    const QString xml = QString(R"(<?xml version="1.0" encoding="%1"?>
<string>
    <s name="wide" value="不"/>
    <s name="baseStyleRed1" value="red"/>
</string>
)")
                            .arg(XmlEncodingName(GetParam()));
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", EncodedWithCrLf(xml, GetParam()))));
    EXPECT_EQ(Substitute("a { content: \"%wide%\"; color: %baseStyleRed1%; }"),
              QString::fromUtf8("a { content: \"不\"; color: red; }"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, LoadStyleEncodingTest, ResourceFileEncodings(),
                         EncodingTestName);

TEST_F(LoadStyleTest, RefusesAnExpansionThatGrowsWithoutBound)
{
    // v01 names v02 twice, v02 names v03 twice, ...: under 1 KB of variables
    // that would turn "%v01%" into 2^23 copies of "x".
    QByteArray xml = "<string>";
    for (int i = 1; i < 24; ++i) {
        xml += QString(R"(<s name="v%1" value="%v%2%%v%2%"/>)")
                   .arg(i, 2, 10, QLatin1Char('0'))
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .toUtf8();
    }
    xml += R"(<s name="v24" value="x"/></string>)";
    ASSERT_TRUE(CLoadStyle::loadXml(dir.Write("style.xml", xml)));

    const LogCapture log;
    const QString sheet = dir.Write("sheet.css", "a { content: %v01%; }");
    QString result = "unchanged";
    EXPECT_FALSE(CLoadStyle::replaceStyle(sheet, result));
    EXPECT_EQ(result, "unchanged");
    EXPECT_TRUE(log.HasLine("ERROR", "Style variables expand " + sheet.toStdString() +
                                         " beyond 1048597 bytes; not substituted."))
        << log.Text();

    // A chain that stays small still expands through later variables.
    EXPECT_EQ(Substitute("%v20%"), QString(16, QLatin1Char('x')));
}

} // namespace
