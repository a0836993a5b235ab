// How reports are encoded: UTF-16 on the interface, UTF-8 in the journal,
// fields as one length-prefixed byte string, the interface's record layout,
// and times as UTC milliseconds.

#include "FieldCodec.h"
#include "InterfaceRecord.h"
#include "ReportError.h"
#include "ReportTime.h"
#include "Utf16.h"

#include "RecordBuilder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

// "病毒 ✓ 😀": CJK, a BMP symbol and a character beyond the BMP.
const std::string kMixedUtf8 = "\xE7\x97\x85\xE6\xAF\x92 \xE2\x9C\x93 \xF0\x9F\x98\x80";
const std::u16string kMixedUtf16 = u"\u75C5\u6BD2 \u2713 \U0001F600";

std::vector<std::uint16_t> Units(const std::u16string& text)
{
    std::vector<std::uint16_t> units(text.begin(), text.end());
    units.push_back(0);
    return units;
}

} // namespace

TEST(Utf16Test, TextsSurviveTheWayThereAndBack)
{
    EXPECT_EQ(Utf16::FromUtf8(kMixedUtf8), Units(kMixedUtf16));
    EXPECT_EQ(Utf16::ToUtf8(Units(kMixedUtf16).data()), kMixedUtf8);
    EXPECT_EQ(Utf16::FromUtf8(""), std::vector<std::uint16_t>{0});
}

TEST(Utf16Test, MalformedTextsAreRefused)
{
    for (const char* bad :
         {"\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"}) {
        EXPECT_THROW(Utf16::FromUtf8(bad), ReportError);
        EXPECT_FALSE(Utf16::IsValidUtf8(bad));
    }
    // The interface's texts end at their first NUL: a NUL would cut the text.
    for (const std::string& nul : {std::string(1, '\0'), std::string("scan\0ned", 8)}) {
        EXPECT_THROW(Utf16::FromUtf8(nul), ReportError);
        EXPECT_FALSE(Utf16::IsValidUtf8(nul));
    }
    for (const std::u16string& bad : {std::u16string(u"a\xD800"), std::u16string(u"\xDC00z"),
                                      std::u16string(u"\xD800\x0041")}) {
        EXPECT_THROW(Utf16::ToUtf8(Units(bad).data()), ReportError);
    }
}

TEST(FieldCodecTest, FieldsSurviveEncoding)
{
    const std::vector<std::string> fields{"", kMixedUtf8, std::string("a\0b", 3),
                                          std::string(70000, 'x')};
    const std::string bytes = FieldCodec::Encode(fields);
    EXPECT_EQ(FieldCodec::Decode(bytes.data(), bytes.size()), fields);
    EXPECT_TRUE(FieldCodec::Decode(nullptr, 0).empty());
}

TEST(FieldCodecTest, BytesCutShortAreBroken)
{
    const std::string bytes = FieldCodec::Encode({"abc", "def"});
    for (std::size_t size : {std::size_t{1}, std::size_t{5}, bytes.size() - 1}) {
        try {
            FieldCodec::Decode(bytes.data(), size);
            FAIL() << size;
        } catch (const ReportError& error) {
            EXPECT_EQ(error.kind(), ReportError::Kind::Broken);
        }
    }
}

TEST(InterfaceRecordTest, AReportBecomesARecordOfTheInterfaceLayout)
{
    Report report;
    report.id = 42;
    report.category = KO_REPORT_RANSOMWARE_FOUND;
    report.time = 1700000000123;
    report.fields = {kMixedUtf8, "quarantined"};
    const InterfaceRecord converted(report, KO_REPORT_FLAG_LIVE);
    const KoReportRecord& record = converted.record();
    EXPECT_EQ(record.size, sizeof(KoReportRecord));
    EXPECT_EQ(record.category, KO_REPORT_RANSOMWARE_FOUND);
    EXPECT_EQ(record.id, 42);
    EXPECT_EQ(record.time, 1700000000123);
    EXPECT_EQ(record.flags, KO_REPORT_FLAG_LIVE);
    ASSERT_EQ(record.fieldCount, 2u);
    EXPECT_EQ(RecordBuilder::Text(record.fields[0]), kMixedUtf16);
    EXPECT_EQ(RecordBuilder::Text(record.fields[1]), u"quarantined");
    EXPECT_EQ(offsetof(KoReportRecord, size), 0u) << "the size comes first";
}

// Stored records that do not fit their category, as a damaged or foreign
// journal may hold them, never reach a client.
TEST(InterfaceRecordTest, StoredRecordsThatDoNotFitTheirCategoryAreRefused)
{
    struct Case
    {
        std::int32_t category;
        std::vector<std::string> fields;
        const char* what;
    };
    const Case cases[] = {
        {KO_REPORT_UPDATE_PACKAGE, {}, "no fields"},
        {KO_REPORT_UPDATE_PACKAGE, {"2.1.0"}, "one field short"},
        {KO_REPORT_UPDATE_PACKAGE, {"2.1.0", "notes", "extra"}, "one field too many"},
        {KO_REPORT_HEARTBEAT, {"beat"}, "a field where the category has none"},
        {7, {}, "an unknown category"},
        {KO_REPORT_UPDATE_PACKAGE, {"2.1.0", "\xC3"}, "malformed UTF-8"},
    };
    for (const Case& c : cases) {
        Report report;
        report.category = c.category;
        report.fields = c.fields;
        try {
            const InterfaceRecord record(report, 0);
            ADD_FAILURE() << c.what << " reached the interface";
        } catch (const ReportError& error) {
            EXPECT_EQ(error.kind(), ReportError::Kind::Invalid) << c.what;
        }
    }
}

TEST(InterfaceRecordTest, AClientsRecordBecomesAReport)
{
    const RecordBuilder record(KO_REPORT_UPDATE_PACKAGE, 99, {u"2.1.0", kMixedUtf16});
    const Report report = InterfaceRecord::ToReport(record.get());
    EXPECT_EQ(report.category, KO_REPORT_UPDATE_PACKAGE);
    EXPECT_EQ(report.time, 99);
    EXPECT_EQ(report.fields, (std::vector<std::string>{"2.1.0", kMixedUtf8}));
}

TEST(InterfaceRecordTest, MalformedClientRecordsAreRefused)
{
    EXPECT_THROW(InterfaceRecord::ToReport(nullptr), ReportError);
    {
        RecordBuilder record(KO_REPORT_UPDATE_PACKAGE, 1, {u"1.0", u"notes"});
        record.record().size = 8;
        EXPECT_THROW(InterfaceRecord::ToReport(record.get()), ReportError) << "too small";
    }
    {
        RecordBuilder record(KO_REPORT_UPDATE_PACKAGE, 1, {u"1.0"});
        EXPECT_THROW(InterfaceRecord::ToReport(record.get()), ReportError) << "one field short";
    }
    {
        RecordBuilder record(KO_REPORT_UPDATE_PACKAGE, 1, {u"1.0", u"notes"});
        const KoReportChar* const fields[] = {record.get()->fields[0], nullptr};
        record.record().fields = fields;
        EXPECT_THROW(InterfaceRecord::ToReport(record.get()), ReportError) << "null text";
    }
    {
        RecordBuilder record(KO_REPORT_UPDATE_PACKAGE, 1, {u"1.0", u"\xD800"});
        EXPECT_THROW(InterfaceRecord::ToReport(record.get()), ReportError) << "lone surrogate";
    }
}

TEST(ReportTimeTest, TimesFormatAsUtcAndParseBack)
{
    struct Case
    {
        std::int64_t time;
        const char* text;
    };
    for (const Case& c :
         {Case{0, "1970-01-01T00:00:00.000Z"}, Case{951782400000, "2000-02-29T00:00:00.000Z"},
          Case{1700000000123, "2023-11-14T22:13:20.123Z"},
          Case{4102444799999, "2099-12-31T23:59:59.999Z"}}) {
        EXPECT_EQ(ReportTime::FormatUtc(c.time), c.text);
        EXPECT_EQ(ReportTime::Parse(c.text), c.time) << c.text;
    }
    EXPECT_EQ(ReportTime::Parse("2023-11-14 22:13Z"), 1700000000000 - 20000);
}

TEST(ReportTimeTest, LocalTimesParseToTheSameInstantAsTheirUtcOffset)
{
    const std::int64_t local = ReportTime::Parse("2023-11-14 22:13:20");
    const std::int64_t utc = ReportTime::Parse("2023-11-14 22:13:20Z");
    EXPECT_LE(std::abs(local - utc), 14 * 3600 * 1000) << "at most a time zone apart";
}

TEST(ReportTimeTest, TimesThatDoNotParseAreRefused)
{
    for (const char* text : {"", "yesterday", "2023-11-14", "2023-13-01 00:00", "2023-02-29 00:00",
                             "2023-11-14 24:00", "2023-11-14 12:60", "1969-12-31 23:59Z",
                             "2023-11-14 12:00:00.1", "2023-11-14 12:00Zx", "2023/11/14 12:00"}) {
        EXPECT_THROW(ReportTime::Parse(text), ReportError) << text;
    }
}
