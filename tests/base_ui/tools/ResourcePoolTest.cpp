// The string and pixmap pools: parsing of resource XML, merging, lookups and
// the errors of loading.

#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoStringPool.h"

#include "EncodedText.h"
#include "LogCapture.h"
#include "TestDirectory.h"

#include <QDomDocument>

#include <gtest/gtest.h>

#include <string>

namespace {

const QByteArray kEntries = R"(<?xml version="1.0" encoding="utf-8"?>
<string>
    <!-- a comment between entries -->
    <s id="4001" object="">按时间查看</s>
    <s id="4002" object="title" location-x="20">only x</s>
    <s id="4003" location-x="" location-y="7">empty x</s>
    <s object="noId">no id</s>
    <S id="4004">capital</S>
    <s id="4005">two&#x000A;lines</s>
    <s id="4006" object="placed" image=":/images/a.png" location-x="12" location-y="34">placed</s>
    <s id="4007" location-x="abc" location-y="5">not a number</s>
    <other>foreign text</other>
</string>
)";

struct EntryCase
{
    int id;
    const char* text;
    const char* object;
    int x;
    int y;
};

class StringPoolEntryTest : public testing::TestWithParam<EntryCase>
{};

TEST_P(StringPoolEntryTest, ReadsTheEntry)
{
    const EntryCase& expected = GetParam();
    const TestDirectory dir;
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(dir.Write("text.xml", kEntries)), 0);

    ResourceEntry entry;
    EXPECT_EQ(pool.Lookup(expected.id, entry), 0);
    EXPECT_EQ(entry.text, expected.text);
    EXPECT_EQ(entry.object, expected.object);
    EXPECT_EQ(entry.image, "");
    EXPECT_EQ(entry.x, expected.x);
    EXPECT_EQ(entry.y, expected.y);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, StringPoolEntryTest,
    testing::Values(EntryCase{4001, "按时间查看", "", -1, -1},
                    EntryCase{4002, "only x", "title", 20, -1},  // no y: no position
                    EntryCase{4003, "empty x", "", -1, 7},       // empty counts as absent
                    EntryCase{0, "no id", "noId", -1, -1},       // stored under 0
                    EntryCase{4004, "", "", -1, -1},             // `S` is not an entry
                    EntryCase{4005, "two\nlines", "", -1, -1},   // the line-break entity
                    EntryCase{4006, "placed", "placed", 12, 34}, // image not read
                    EntryCase{4007, "not a number", "", 0, 5})); // invalid number gives 0

TEST(PixmapPoolTest, ReadsTheImageAndFindsOnlyStoredIdentifiers)
{
    const TestDirectory dir;
    CKoPixmapPool pool;
    ASSERT_EQ(pool.Load(dir.Write("images.xml", kEntries)), 0);

    ResourceEntry entry;
    ASSERT_EQ(pool.Lookup(4006, entry), 0);
    EXPECT_EQ(entry.image, ":/images/a.png");
    EXPECT_EQ(entry.object, "placed");
    EXPECT_EQ(entry.text, "placed");
    EXPECT_EQ(entry.x, 12);
    EXPECT_EQ(entry.y, 34);

    EXPECT_EQ(pool.Lookup(4004, entry), -1);
    EXPECT_EQ(entry.image, "");
    EXPECT_EQ(entry.x, -1);
}

// Resource files in UTF-16 with CR LF line ends: in UTF-16 both the CR and
// characters such as 不 (U+4E0D) carry a 0x0D byte.
class ResourcePoolEncodingTest : public testing::TestWithParam<QStringConverter::Encoding>
{
protected:
    QString Write(const TestDirectory& dir) const
    {
        const QString xml = QString(R"(<?xml version="1.0" encoding="%1"?>
<string>
    <s id="7001" object="不">不可以</s>
    <s id="7002" image=":/images/不.png" location-x="3" location-y="4">第二</s>
</string>
)")
                                .arg(XmlEncodingName(GetParam()));
        return dir.Write("encoded.xml", EncodedWithCrLf(xml, GetParam()));
    }
};

TEST_P(ResourcePoolEncodingTest, StringPoolReadsTheFile)
{
    const TestDirectory dir;
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(Write(dir)), 0);
    ResourceEntry entry;
    pool.Lookup(7001, entry);
    EXPECT_EQ(entry.text, "不可以");
    EXPECT_EQ(entry.object, "不");
    pool.Lookup(7002, entry);
    EXPECT_EQ(entry.text, "第二");
    EXPECT_EQ(entry.x, 3);
    EXPECT_EQ(entry.y, 4);
}

TEST_P(ResourcePoolEncodingTest, PixmapPoolReadsTheFile)
{
    const TestDirectory dir;
    CKoPixmapPool pool;
    ASSERT_EQ(pool.Load(Write(dir)), 0);
    ResourceEntry entry;
    ASSERT_EQ(pool.Lookup(7002, entry), 0);
    EXPECT_EQ(entry.image, ":/images/不.png");
    EXPECT_EQ(entry.text, "第二");
}

INSTANTIATE_TEST_SUITE_P(Encodings, ResourcePoolEncodingTest, ResourceFileEncodings(),
                         EncodingTestName);

TEST(ResourcePoolTest, LookupResetsTheEntry)
{
    const TestDirectory dir;
    CKoStringPool strings;
    CKoPixmapPool pixmaps;
    const QString path = dir.Write("text.xml", kEntries);
    ASSERT_EQ(strings.Load(path), 0);
    ASSERT_EQ(pixmaps.Load(path), 0);

    ResourceEntry entry{"stale", "stale", "stale", 1, 2};
    EXPECT_EQ(strings.Lookup(999, entry), 0); // a missing identifier is not a failure
    EXPECT_EQ(entry.text, "");
    EXPECT_EQ(entry.object, "");
    EXPECT_EQ(entry.image, "");
    EXPECT_EQ(entry.x, -1);
    EXPECT_EQ(entry.y, -1);

    entry = ResourceEntry{"stale", "stale", "stale", 1, 2};
    EXPECT_EQ(pixmaps.Lookup(999, entry), -1);
    EXPECT_EQ(entry.image, "");
    EXPECT_EQ(entry.x, -1);
}

TEST(ResourcePoolTest, AnEmptyPoolFindsNothing)
{
    CKoStringPool strings;
    CKoPixmapPool pixmaps;
    ResourceEntry entry;
    EXPECT_EQ(strings.Lookup(4001, entry), -1);
    EXPECT_EQ(pixmaps.Lookup(4001, entry), -1);
}

TEST(ResourcePoolTest, LaterEntriesReplaceEarlierOnes)
{
    const TestDirectory dir;
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(dir.Write("first.xml", R"(<string>
        <s id="1" object="first" location-x="1" location-y="2">first</s>
        <s id="1" object="second" location-x="3" location-y="4">second</s>
        <s id="2">kept</s>
    </string>)")),
              0);
    ResourceEntry entry;
    pool.Lookup(1, entry);
    EXPECT_EQ(entry.text, "second");
    EXPECT_EQ(entry.x, 3);

    // A later file replaces the whole entry, also object and position.
    ASSERT_EQ(pool.Load(dir.Write("second.xml", R"(<string><s id="1">third</s></string>)")), 0);
    pool.Lookup(1, entry);
    EXPECT_EQ(entry.text, "third");
    EXPECT_EQ(entry.object, "");
    EXPECT_EQ(entry.x, -1);
    EXPECT_EQ(entry.y, -1);
    pool.Lookup(2, entry);
    EXPECT_EQ(entry.text, "kept");
}

TEST(ResourcePoolTest, ForeignElementsWriteADebugLine)
{
    const LogCapture log;
    const TestDirectory dir;
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(dir.Write("text.xml", kEntries)), 0);
    EXPECT_TRUE(log.HasLine("DEBUG", "other:foreign text")) << log.Text();
    EXPECT_TRUE(log.HasLine("DEBUG", "S:capital")) << log.Text();
}

TEST(ResourcePoolTest, AMissingFileIsSkippedByTheStringPoolOnly)
{
    const LogCapture log;
    const TestDirectory dir;
    const QString missing = dir.FilePath("missing.xml");

    CKoStringPool strings;
    EXPECT_EQ(strings.Load(missing), 0);
    EXPECT_EQ(log.Text(), "");

    CKoPixmapPool pixmaps;
    EXPECT_EQ(pixmaps.Load(missing), -1);
    EXPECT_TRUE(log.HasLine("ERROR", "Open " + missing.toStdString() + " failed.")) << log.Text();
}

TEST(ResourcePoolTest, AnEmptyPathFails)
{
    CKoStringPool strings;
    CKoPixmapPool pixmaps;
    EXPECT_EQ(strings.Load(QString()), -1);
    EXPECT_EQ(pixmaps.Load(QString()), -1);
}

TEST(ResourcePoolTest, AParseErrorFailsAndKeepsEarlierEntries)
{
    const LogCapture log;
    const TestDirectory dir;
    const QString good = dir.Write("good.xml", R"(<string><s id="1">kept</s></string>)");
    const QByteArray brokenXml = "<string>\n<s id=\"2\">lost</string>\n";
    const QString broken = dir.Write("broken.xml", brokenXml);
    QDomDocument reference;
    int line = 0;
    int column = 0;
    ASSERT_FALSE(reference.setContent(brokenXml, false, nullptr, &line, &column));
    const std::string row = std::to_string(line);
    const std::string col = std::to_string(column);

    CKoStringPool strings;
    ASSERT_EQ(strings.Load(good), 0);
    EXPECT_EQ(strings.Load(broken), -1);
    EXPECT_TRUE(
        log.HasLine("ERROR", "Parse file failed at line row :" + row + " and column : " + col))
        << log.Text();
    ResourceEntry entry;
    strings.Lookup(1, entry);
    EXPECT_EQ(entry.text, "kept");
    strings.Lookup(2, entry); // nothing of the broken file is merged
    EXPECT_EQ(entry.text, "");

    CKoPixmapPool pixmaps;
    EXPECT_EQ(pixmaps.Load(broken), -1);
    EXPECT_TRUE(log.HasLine("ERROR",
                            "Parse file failed at line row : " + row + " and column :" + col + "."))
        << log.Text();
    EXPECT_EQ(pixmaps.Lookup(2, entry), -1);
}

TEST(ResourcePoolTest, LoadingAFileTwiceChangesNothing)
{
    const TestDirectory dir;
    const QString path = dir.Write("text.xml", kEntries);
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(path), 0);
    ASSERT_EQ(pool.Load(path), 0);
    ResourceEntry entry;
    pool.Lookup(4002, entry);
    EXPECT_EQ(entry.text, "only x");
    EXPECT_EQ(entry.x, 20);
}

TEST(ResourcePoolTest, LoadXmlFillsTheProcessWideInstance)
{
    const TestDirectory dir;
    const QString path =
        dir.Write("text.xml", R"(<string><s id="987001" image="img">shared</s></string>)");
    ASSERT_EQ(CKoStringPool::LoadXml(path), 0);
    ASSERT_EQ(CKoPixmapPool::LoadXml(path), 0);

    ResourceEntry entry;
    CKoStringPool::Get().Lookup(987001, entry);
    EXPECT_EQ(entry.text, "shared");
    ASSERT_EQ(CKoPixmapPool::Get().Lookup(987001, entry), 0);
    EXPECT_EQ(entry.image, "img");
}

// Entries read before from the same document serve every later merge: each
// pool gets them as its own kind reads them, and merged again over other
// entries they replace those as the first merge did.
TEST(ResourcePoolTest, EntriesReadBeforeMergeAsTheFirstTime)
{
    const TestDirectory dir;
    const QString first = dir.Write(
        "first.xml", R"(<string><s id="1" image="a.png" location-x="3">one</s></string>)");
    const QString second = dir.Write("second.xml", R"(<string><s id="1">other</s></string>)");
    CKoStringPool strings;
    ASSERT_EQ(strings.Load(first), 0);

    CKoPixmapPool pixmaps;
    ASSERT_EQ(pixmaps.Load(first), 0);
    ResourceEntry entry;
    pixmaps.Lookup(1, entry);
    EXPECT_EQ(entry.image, "a.png");

    CKoStringPool again;
    ASSERT_EQ(again.Load(first), 0);
    ASSERT_EQ(again.Load(second), 0);
    again.Lookup(1, entry);
    EXPECT_EQ(entry.text, "other");
    ASSERT_EQ(again.Load(first), 0);
    again.Lookup(1, entry);
    EXPECT_EQ(entry.text, "one");
    EXPECT_EQ(entry.image, "") << "the string pool does not read images";
    EXPECT_EQ(entry.x, 3);
}

} // namespace

// Bytes read before share the document parsed then; a file rewritten between
// two loads is read with its new content, and each load still merges and
// logs as the first did.
TEST(ResourcePoolTest, ARewrittenFileLoadsItsNewContent)
{
    const TestDirectory dir;
    const QString path = dir.Write("text.xml", R"(<string><s id="1">first</s><x>t</x></string>)");
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(path), 0);
    {
        const LogCapture log;
        CKoStringPool again;
        ASSERT_EQ(again.Load(path), 0);
        ResourceEntry entry;
        again.Lookup(1, entry);
        EXPECT_EQ(entry.text, "first");
        EXPECT_TRUE(log.HasLine("DEBUG", "x:t")) << log.Text();
    }
    dir.Write("text.xml", R"(<string><s id="1">second</s></string>)");
    ASSERT_EQ(pool.Load(path), 0);
    ResourceEntry entry;
    pool.Lookup(1, entry);
    EXPECT_EQ(entry.text, "second");
    dir.Write("text.xml", "<string><s id=\"1\">");
    EXPECT_EQ(pool.Load(path), -1);
}
