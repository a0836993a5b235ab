// DiaryCsv: the bytes of a diary's CSV file (byte-order mark, CR LF, quoting
// of the fields that need it) and a save that fails without leaving a file.

#include "monitor/widget/dialog/DiaryCsv.h"

#include "TestDirectory.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(DiaryCsvTest, QuotesOnlyTheFieldsThatNeedIt)
{
    struct Case
    {
        std::string field;
        QByteArray written;
    };
    const Case cases[] = {
        {"plain text", "plain text"},
        {"", ""},
        {"中文", "中文"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"cr\rhere", "\"cr\rhere\""},
        {"lf\nhere", "\"lf\nhere\""},
        {" spaces ", " spaces "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(DiaryCsv::Text({"时间", "h,2"}, {{c.field, "x"}}),
                  "\xEF\xBB\xBF时间,\"h,2\"\r\n" + c.written + ",x\r\n");
    }
    EXPECT_EQ(DiaryCsv::Text({"a"}, {}), "\xEF\xBB\xBF"
                                         "a\r\n")
        << "the header alone";
}

TEST(DiaryCsvTest, SaveWritesTheBytesOrNothing)
{
    const TestDirectory directory;
    const QString path = directory.FilePath("out.csv");
    QString error;
    ASSERT_TRUE(DiaryCsv::Save(path, "one\r\n", error)) << error.toStdString();
    ASSERT_TRUE(DiaryCsv::Save(path, "two\r\n", error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "two\r\n") << "replaced whole";

    // A directory in the way: no file, no temporary one left behind.
    ASSERT_TRUE(QDir(directory.FilePath("")).mkdir("taken.csv"));
    EXPECT_FALSE(DiaryCsv::Save(directory.FilePath("taken.csv"), "three\r\n", error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(directory.FilePath("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"out.csv", "taken.csv"}));
}

} // namespace
