// Copying the module's records: category, id, time and fields in UTF-8, and
// nothing from a record that is too short, of another category or without
// its fields.

#include "monitor/widget/dialog/DiaryRecord.h"

#include "KoLogModule.h"

#include <gtest/gtest.h>

namespace {

struct ScanRecord
{
    const KoReportChar kind[3] = {u'快', u'扫', 0};
    const KoReportChar result[3] = {u'o', u'k', 0};
    const KoReportChar* fields[2] = {kind, result};
    KoReportRecord record{sizeof(KoReportRecord), KO_REPORT_EXECUTE_SCAN, 7, 1234, 0, 2, fields};
};

TEST(DiaryRecordTest, CopiesTheCategoryIdTimeAndTheFieldsInUtf8)
{
    const ScanRecord scan;
    const auto copy = DiaryRecord::FromModule(&scan.record, KO_REPORT_EXECUTE_SCAN);
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->category, KO_REPORT_EXECUTE_SCAN);
    EXPECT_EQ(copy->id, 7);
    EXPECT_EQ(copy->time, 1234);
    EXPECT_EQ(copy->fields, (std::vector<std::string>{"快扫", "ok"}));
    EXPECT_EQ(copy->field(2), "") << "a missing field reads as empty";
}

TEST(DiaryRecordTest, ANullFieldReadsAsEmpty)
{
    ScanRecord scan;
    scan.fields[1] = nullptr;
    const auto copy = DiaryRecord::FromModule(&scan.record, KO_REPORT_EXECUTE_SCAN);
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->fields, (std::vector<std::string>{"快扫", ""}));
}

TEST(DiaryRecordTest, RefusesWhatIsNoRecordOfTheCategory)
{
    EXPECT_FALSE(DiaryRecord::FromModule(nullptr, KO_REPORT_EXECUTE_SCAN).has_value());
    ScanRecord shortRecord;
    shortRecord.record.size = sizeof(KoReportRecord) - 1;
    EXPECT_FALSE(DiaryRecord::FromModule(&shortRecord.record, KO_REPORT_EXECUTE_SCAN));
    const ScanRecord scan;
    EXPECT_FALSE(DiaryRecord::FromModule(&scan.record, KO_REPORT_HEARTBEAT));
    ScanRecord noFields;
    noFields.record.fields = nullptr;
    EXPECT_FALSE(DiaryRecord::FromModule(&noFields.record, KO_REPORT_EXECUTE_SCAN));
}

} // namespace
