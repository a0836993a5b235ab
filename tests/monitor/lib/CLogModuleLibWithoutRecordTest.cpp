// The loader with a module beside it that has no entry for single records:
// a fetch says so and reads nothing, while queries work as before.

#include "monitor/lib/CLogModuleLib.h"

#include "RecordLog.h"
#include "TestJournal.h"

#include <gtest/gtest.h>

TEST(CLogModuleLibWithoutRecordTest, AFetchIsNotServedAndQueriesStillWork)
{
    const TestJournal journal;
    CLogModuleLib loader;
    ASSERT_TRUE(loader.LoadSdk());
    RecordLog history;
    ASSERT_TRUE(loader.queryRecords(100221, &history));
    const std::vector<RecordLog::Record> stored = history.WaitFor(TestJournal::kPerCategory);
    ASSERT_EQ(stored.size(), TestJournal::kPerCategory);
    bool read = false;
    EXPECT_EQ(loader.fetchRecord(stored[0].id, [&read](const void*) { read = true; }),
              CLogModuleLib::Fetch::NotServed);
    EXPECT_FALSE(read);
}
