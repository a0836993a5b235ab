// The loader with a module beside it that counts the calls of its stop
// entry: ending a handler's records asks the module to stop each query made
// for it, and only those; a module already released is asked nothing.

#include "monitor/lib/CLogModuleLib.h"

#include "base/Library.h"

#include "RecordLog.h"
#include "TestJournal.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class CLogModuleLibStopTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_loader.emplace().LoadSdk());
        // Loaded by the loader first: the same module, whose count this reads.
        ASSERT_TRUE(m_module.Load()) << m_module.GetErrMsg();
        m_stopCalls = reinterpret_cast<StopCalls>(m_module.Resolve("StopQueryCalls"));
        ASSERT_NE(m_stopCalls, nullptr);
    }

    using StopCalls = std::int32_t (*)();

    const TestJournal m_journal;
    std::optional<CLogModuleLib> m_loader;
    KO::Library m_module{CLogModuleLib::kModulePath};
    StopCalls m_stopCalls = nullptr;
};

TEST_F(CLogModuleLibStopTest, StoppingAHandlerStopsEachOfItsQueries)
{
    RecordLog stopped;
    RecordLog other;
    ASSERT_TRUE(m_loader->queryRecords(100218, &stopped));
    ASSERT_TRUE(m_loader->queryRange(100221, 0, m_journal.SeedTime(0), &stopped));
    ASSERT_TRUE(m_loader->queryRecords(100218, &other));
    const std::int32_t before = m_stopCalls();

    CLogModuleLib::stopRecords(&stopped);
    EXPECT_EQ(m_stopCalls() - before, 2);
    CLogModuleLib::stopRecords(&stopped);
    EXPECT_EQ(m_stopCalls() - before, 2) << "nothing left to stop";

    // The other handler's query still delivers.
    EXPECT_EQ(other.WaitFor(TestJournal::kPerCategory).size(), TestJournal::kPerCategory);
}

TEST_F(CLogModuleLibStopTest, AReleasedModuleIsAskedNothing)
{
    RecordLog handler;
    ASSERT_TRUE(m_loader->queryRecords(100218, &handler));
    const std::int32_t before = m_stopCalls();
    m_loader.reset();
    CLogModuleLib::stopRecords(&handler);
    EXPECT_EQ(m_stopCalls(), before);
}

} // namespace
