#include "base/ProcessQuery.h"

#include "PipeTestSupport.h"
#include "ProbeProcess.h"

#include "base/FilePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

using KO::ProcessQuery;

namespace {

// The file name of this test program as the system lists it.
std::wstring OwnExecutable()
{
    return std::wstring(L"ProcessQueryTest") + KoTest::kExecutableSuffix;
}

std::wstring Uppercase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return text;
}

ProcessQuery::Entry FindEntry(std::uint32_t processId)
{
    for (const auto& entry : ProcessQuery::Snapshot()) {
        if (entry.processId == processId) {
            return entry;
        }
    }
    return {};
}

// No process has this id on either system (Windows ids are multiples of 4,
// Linux ids stay below 2^22).
constexpr std::uint32_t kNoProcess = 0x7FFFFFFE;

// Windows knows its privileges by name; POSIX has none to enable and agrees
// to any.
#ifdef _WIN32
constexpr bool kUnknownPrivilegeEnables = false;
#else
constexpr bool kUnknownPrivilegeEnables = true;
#endif

} // namespace

TEST(ProcessQueryTest, SnapshotListsTheCurrentProcessByExecutableName)
{
    const ProcessQuery::Entry own = FindEntry(KoTest::CurrentProcessId());
    EXPECT_EQ(own.processId, KoTest::CurrentProcessId());
    EXPECT_EQ(own.executable, OwnExecutable());
    EXPECT_NE(own.parentProcessId, own.processId);
}

TEST(ProcessQueryTest, ExecutableFileNameIsTheNameTheSystemLists)
{
    EXPECT_EQ(ProcessQuery::ExecutableFileName(L"ProcessQueryTest"), OwnExecutable());
    const std::uint32_t found = ProcessQuery::FindProcessId(
        ProcessQuery::ExecutableFileName(L"ProcessQueryTest"), kNoProcess);
    EXPECT_NE(found, 0u);
}

TEST(ProcessQueryTest, FindsAProcessByNameIgnoringCase)
{
    // A child under a name no other process has, alive until the test ends:
    // the answer is that child and no other.
    const std::wstring executable = ProcessQuery::ExecutableFileName(KoTest::UniqueName(L"probe"));
    const ProbeProcess probe(
        std::filesystem::path(KO::FilePath::ExecutableDirectory()) / KO_PROCESS_PROBE, executable);
    EXPECT_EQ(ProcessQuery::FindProcessId(Uppercase(executable), kNoProcess), probe.ProcessId());
    EXPECT_EQ(FindEntry(probe.ProcessId()).executable, executable);
}

TEST(ProcessQueryTest, SkipsProcessesOfTheExcludedParent)
{
    const ProcessQuery::Entry own = FindEntry(KoTest::CurrentProcessId());
    const std::uint32_t found = ProcessQuery::FindProcessId(OwnExecutable(), own.parentProcessId);
    EXPECT_NE(found, own.processId);
    if (found != 0) {
        EXPECT_NE(FindEntry(found).parentProcessId, own.parentProcessId);
    }
}

TEST(ProcessQueryTest, ANameNoProcessHasIsNotFound)
{
    const std::wstring name = KoTest::UniqueName(L"no-such-process") + L".exe";
    EXPECT_EQ(ProcessQuery::FindProcessId(name, kNoProcess), 0u);
}

TEST(ProcessQueryTest, SessionOfTheCurrentProcessIsKnownAndStable)
{
    const auto session = ProcessQuery::SessionIdOf(KoTest::CurrentProcessId());
    ASSERT_TRUE(session.has_value());
    EXPECT_EQ(ProcessQuery::SessionIdOf(KoTest::CurrentProcessId()), session);
}

TEST(ProcessQueryTest, SessionOfAMissingProcessIsUnknown)
{
    EXPECT_FALSE(ProcessQuery::SessionIdOf(kNoProcess).has_value());
}

TEST(ProcessQueryTest, EnablingAPrivilegeTheProcessHoldsSucceeds)
{
    EXPECT_TRUE(ProcessQuery::EnablePrivilege(L"SeDebugPrivilege"));
}

TEST(ProcessQueryTest, EnablingAnUnknownOrNoPrivilege)
{
    EXPECT_EQ(ProcessQuery::EnablePrivilege(L"SeNoSuchPrivilege"), kUnknownPrivilegeEnables);
    EXPECT_FALSE(ProcessQuery::EnablePrivilege(nullptr));
}
