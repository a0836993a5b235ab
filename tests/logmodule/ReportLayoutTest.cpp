// The rules every report meets before it is written: known category, its
// number of fields, required fields, at most 64 KiB per field, UTF-8, a time
// from 1970 on. A report that breaks one is refused with what is wrong, and
// nothing of its batch is written.

#include "ReportLayout.h"
#include "Journal.h"
#include "MemoryStore.h"
#include "ReportError.h"

#include "monitor/lib/RecordCategory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

Report Valid(std::int32_t category)
{
    Report report;
    report.category = category;
    report.time = 1700000000000;
    report.fields.assign(ReportLayout::FieldCount(category), "text");
    return report;
}

struct BadReport
{
    const char* name;
    Report report;
    const char* message; // a part of the error's text
};

Report With(Report report, std::size_t field, std::string text)
{
    report.fields[field] = std::move(text);
    return report;
}

std::vector<BadReport> BadReports()
{
    Report unknown = Valid(RecordCategory::kExecuteScan);
    unknown.category = 100216;
    Report extraField = Valid(RecordCategory::kUpdatePackage);
    extraField.fields.push_back("extra");
    Report heartbeatWithText = Valid(RecordCategory::kHeartbeat);
    heartbeatWithText.fields.push_back("text");
    Report before1970 = Valid(RecordCategory::kHeartbeat);
    before1970.time = -1;
    return {
        {"UnknownCategory", unknown, "unknown category 100216"},
        {"ExtraField", extraField, "update_package records have 2 fields, not 3"},
        {"HeartbeatWithText", heartbeatWithText, "heartbeat records have 0 fields, not 1"},
        {"MissingThreatName", With(Valid(RecordCategory::kRansomwareFound), 0, ""),
         "ransomware_found records need the field threat_name"},
        {"MissingScanKind", With(Valid(RecordCategory::kExecuteScan), 0, ""),
         "execute_scan records need the field kind"},
        {"MissingDescription", With(Valid(RecordCategory::kProgramStart), 0, ""),
         "program_start records need the field description"},
        {"OversizedNotes", With(Valid(RecordCategory::kUpdatePackage), 1, std::string(65537, 'n')),
         "the field notes has 65537 bytes, more than 65536"},
        {"InvalidUtf8", With(Valid(RecordCategory::kProgramStart), 5, "\xC3\x28"),
         "the field memory is not valid UTF-8"},
        {"NulInField", With(Valid(RecordCategory::kProgramStart), 5, std::string("16\0GB", 5)),
         "the field memory holds a NUL character"},
        {"Before1970", before1970, "the time lies before 1970"},
    };
}

class BadReportTest : public testing::TestWithParam<BadReport>
{};

} // namespace

TEST(ReportLayoutTest, EachCategoryHasTheFieldsOfItsDiary)
{
    EXPECT_EQ(ReportLayout::FieldCount(RecordCategory::kProgramStart), 17u);
    EXPECT_EQ(ReportLayout::FieldCount(RecordCategory::kExecuteScan), 2u);
    EXPECT_EQ(ReportLayout::FieldCount(RecordCategory::kRansomwareFound), 2u);
    EXPECT_EQ(ReportLayout::FieldCount(RecordCategory::kUpdatePackage), 2u);
    EXPECT_EQ(ReportLayout::FieldCount(RecordCategory::kHeartbeat), 0u);
    EXPECT_STREQ(ReportLayout::FieldName(RecordCategory::kProgramStart, 16), "optical_drive");
    EXPECT_EQ(ReportLayout::FieldIndex(RecordCategory::kRansomwareFound, "action"), 1u);
    EXPECT_EQ(ReportLayout::FieldIndex(RecordCategory::kRansomwareFound, "version"), 2u);
    EXPECT_THROW(ReportLayout::FieldCount(0), ReportError);
}

TEST(ReportLayoutTest, CategoriesParseByNameOrId)
{
    EXPECT_EQ(ReportLayout::ParseCategory("heartbeat"), RecordCategory::kHeartbeat);
    EXPECT_EQ(ReportLayout::ParseCategory("100221"), RecordCategory::kProgramStart);
    for (const char* text : {"", "Heartbeat", "100222", "heartbeat "}) {
        EXPECT_THROW(ReportLayout::ParseCategory(text), ReportError) << text;
    }
}

TEST(ReportLayoutTest, AFieldOfExactly64KiBIsAccepted)
{
    Journal journal(std::make_shared<MemoryStore>());
    EXPECT_GT(journal.Append(With(Valid(RecordCategory::kUpdatePackage), 1,
                                  std::string(ReportLayout::kMaxFieldBytes, 'n'))),
              0);
}

TEST_P(BadReportTest, IsRefusedWithWhatIsWrongAndNothingOfItsBatchIsWritten)
{
    const auto store = std::make_shared<MemoryStore>();
    Journal journal(store);
    std::vector<Report> batch{Valid(RecordCategory::kExecuteScan), GetParam().report};
    try {
        journal.Append(batch);
        FAIL() << "accepted";
    } catch (const ReportError& error) {
        EXPECT_EQ(error.kind(), ReportError::Kind::Invalid);
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(store->LastId(), 0);
    EXPECT_EQ(store->CategoryStats(RecordCategory::kExecuteScan).count, 0);
}

INSTANTIATE_TEST_SUITE_P(Reports, BadReportTest, testing::ValuesIn(BadReports()),
                         [](const auto& info) { return std::string(info.param.name); });
