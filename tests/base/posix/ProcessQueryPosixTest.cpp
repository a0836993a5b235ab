// The POSIX sources of the process answers: /proc and the session calls.
#include "base/ProcessQuery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <unistd.h>

using KO::ProcessQuery;

TEST(ProcessQueryPosixTest, ParentOfTheCurrentProcessIsItsSystemParent)
{
    const auto processes = ProcessQuery::Snapshot();
    const auto own = std::find_if(processes.begin(), processes.end(), [](const auto& entry) {
        return entry.processId == static_cast<std::uint32_t>(getpid());
    });
    ASSERT_NE(own, processes.end());
    EXPECT_EQ(own->parentProcessId, static_cast<std::uint32_t>(getppid()));
}

TEST(ProcessQueryPosixTest, SessionIsTheLoginSessionElseThePosixSession)
{
    std::uint32_t audit = 0xFFFFFFFF;
    std::ifstream("/proc/self/sessionid") >> audit;
    const std::uint32_t expected =
        audit != 0xFFFFFFFF ? audit : static_cast<std::uint32_t>(getsid(0));
    EXPECT_EQ(ProcessQuery::SessionIdOf(static_cast<std::uint32_t>(getpid())), expected);
}
