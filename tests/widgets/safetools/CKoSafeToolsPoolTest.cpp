// The category and tool catalogue.

#include "widgets/safetools/CKoSafeToolsPool.h"

#include "EncodedText.h"
#include "LogCapture.h"
#include "TestDirectory.h"

#include <QDomDocument>

#include <gtest/gtest.h>

#include <string>

namespace {

const QByteArray kCatalogue = R"(<?xml version="1.0" encoding="utf-8"?>
<items>
    <!-- categories -->
    <item id="100221" showText="程序启动" FileName="" imgPath=":/icons/start.png"/>
    <item id="100300" showText="Shredder,deletes for good" FileName="shred.exe" imgPath=":/icons/shred.png"/>
    <item showText="no id" FileName="noid.exe"/>
    <item id="100301"/>
    <group>foreign text</group>
    <item id="100302" showText="first" FileName="first.exe" imgPath="first.png"/>
    <item id="100302" showText="second"/>
</items>
)";

void Load(CKoSafeToolsPool& pool, const TestDirectory& dir)
{
    EXPECT_EQ(pool.Load(dir.Write("safe_tools.xml", kCatalogue).toStdString()), 0);
}

TEST(CKoSafeToolsPoolTest, FindsItemsByTheirIdText)
{
    const TestDirectory dir;
    CKoSafeToolsPool pool;
    Load(pool, dir);

    const auto category = pool.Find("100221");
    ASSERT_TRUE(category.has_value());
    EXPECT_EQ(category->id, 100221);
    EXPECT_EQ(category->showText, "程序启动");
    EXPECT_EQ(category->FileName, "");
    EXPECT_EQ(category->imgPath, ":/icons/start.png");

    const auto tool = pool.Find("100300");
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->showText, "Shredder,deletes for good");
    EXPECT_EQ(tool->FileName, "shred.exe");

    EXPECT_FALSE(pool.Find("100222").has_value());
    EXPECT_FALSE(pool.Find("").has_value());
}

TEST(CKoSafeToolsPoolTest, MissingAttributesAreEmptyNotThePreviousItems)
{
    const TestDirectory dir;
    CKoSafeToolsPool pool;
    Load(pool, dir);

    const auto noId = pool.Find("-1");
    ASSERT_TRUE(noId.has_value());
    EXPECT_EQ(noId->id, -1);
    EXPECT_EQ(noId->showText, "no id");
    EXPECT_EQ(noId->imgPath, "");

    const auto bare = pool.Find("100301");
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bare->showText, "");
    EXPECT_EQ(bare->FileName, "");
    EXPECT_EQ(bare->imgPath, "");
}

TEST(CKoSafeToolsPoolTest, ALaterItemReplacesTheEarlierOne)
{
    const TestDirectory dir;
    CKoSafeToolsPool pool;
    Load(pool, dir);

    const auto item = pool.Find("100302");
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->showText, "second");
    EXPECT_EQ(item->FileName, "");
    EXPECT_EQ(item->imgPath, "");
}

TEST(CKoSafeToolsPoolTest, ForeignElementsWriteADebugLine)
{
    const LogCapture log;
    const TestDirectory dir;
    CKoSafeToolsPool pool;
    Load(pool, dir);
    EXPECT_TRUE(log.HasLine("DEBUG", "group:foreign text")) << log.Text();
}

TEST(CKoSafeToolsPoolTest, LoadErrorsFailAndKeepTheCatalogue)
{
    const LogCapture log;
    const TestDirectory dir;
    CKoSafeToolsPool pool;
    Load(pool, dir);

    const std::string missing = dir.FilePath("missing.xml").toStdString();
    EXPECT_EQ(pool.Load(missing), -1);
    EXPECT_TRUE(log.HasLine("ERROR", "Open " + missing + " failed.")) << log.Text();

    const QByteArray brokenXml = "<items>\n<item id=\"1\">\n</items>";
    QDomDocument reference;
    int line = 0;
    int column = 0;
    ASSERT_FALSE(reference.setContent(brokenXml, false, nullptr, &line, &column));
    EXPECT_EQ(pool.Load(dir.Write("broken.xml", brokenXml).toStdString()), -1);
    EXPECT_TRUE(log.HasLine("ERROR", "Parse file failed at line row : " + std::to_string(line) +
                                         " and column : " + std::to_string(column)))
        << log.Text();

    EXPECT_EQ(pool.Load(""), -1);
    EXPECT_TRUE(pool.Find("100221").has_value());
    EXPECT_FALSE(pool.Find("1").has_value());
}

// A catalogue in UTF-16 with CR LF line ends: in UTF-16 both the CR and
// characters such as 不 (U+4E0D) carry a 0x0D byte.
class CKoSafeToolsPoolEncodingTest : public testing::TestWithParam<QStringConverter::Encoding>
{};

TEST_P(CKoSafeToolsPoolEncodingTest, ReadsTheCatalogue)
{
    const QString xml = QString(R"(<?xml version="1.0" encoding="%1"?>
<items>
    <item id="100400" showText="不可信程序" FileName="不.exe" imgPath=":/icons/不.png"/>
</items>
)")
                            .arg(XmlEncodingName(GetParam()));
    const TestDirectory dir;
    CKoSafeToolsPool pool;
    ASSERT_EQ(
        pool.Load(dir.Write("safe_tools.xml", EncodedWithCrLf(xml, GetParam())).toStdString()), 0);
    const auto item = pool.Find("100400");
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->showText, "不可信程序");
    EXPECT_EQ(item->FileName, "不.exe");
    EXPECT_EQ(item->imgPath, ":/icons/不.png");
}

INSTANTIATE_TEST_SUITE_P(Encodings, CKoSafeToolsPoolEncodingTest, ResourceFileEncodings(),
                         EncodingTestName);

TEST(CKoSafeToolsPoolTest, LoadXmlFillsTheProcessWideInstance)
{
    const TestDirectory dir;
    const QString path =
        dir.Write("tools.xml", R"(<items><item id="987654" showText="shared"/></items>)");
    ASSERT_EQ(CKoSafeToolsPool::LoadXml(path.toStdString()), 0);
    const auto item = CKoSafeToolsPool::Get().Find("987654");
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->showText, "shared");
}

} // namespace
