#include "../LogFixture.h"

#include "base/posix/RenameCalls.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>

namespace {

int Fail(int error)
{
    errno = error;
    return -1;
}

// A file system that knows neither RENAME_NOREPLACE nor hard links, as some
// network and FAT file systems do; `noFlag` and `noLink` are their errors.
template <int noFlag, int noLink>
KO::Posix::RenameCalls WithoutFlagAndLinks()
{
    KO::Posix::RenameCalls calls = KO::Posix::RenameCalls::System();
    calls.renameNoReplace = [](const char*, const char*) { return Fail(noFlag); };
    calls.link = [](const char*, const char*) { return Fail(noLink); };
    return calls;
}

// Puts a table of calls in place for File::Rename while it lives.
class UsedRenameCalls
{
public:
    explicit UsedRenameCalls(const KO::Posix::RenameCalls& calls)
    {
        KO::Posix::RenameCalls::Use(calls);
    }
    ~UsedRenameCalls() { KO::Posix::RenameCalls::Use(KO::Posix::RenameCalls::System()); }

    UsedRenameCalls(const UsedRenameCalls&) = delete;
    UsedRenameCalls& operator=(const UsedRenameCalls&) = delete;
};

using LogRotationPosixTest = LogFixture;

} // namespace

TEST_F(LogRotationPosixTest, RenameWithoutFlagOrLinksMovesButNeverReplaces)
{
    const KO::Posix::RenameCalls tables[] = {
        WithoutFlagAndLinks<EINVAL, EPERM>(),
        WithoutFlagAndLinks<ENOSYS, EPERM>(),
        WithoutFlagAndLinks<EINVAL, ENOSYS>(),
        WithoutFlagAndLinks<EINVAL, EOPNOTSUPP>(),
    };
    const std::string from = (m_dir.Path() / "from").string();
    const std::string to = (m_dir.Path() / "to").string();
    for (const KO::Posix::RenameCalls& calls : tables) {
        WriteBytes(from, "moved");
        ASSERT_TRUE(calls.RenameWithoutReplacing(from.c_str(), to.c_str())) << errno;
        EXPECT_EQ(FileNames(), std::set<std::string>{"to"});
        EXPECT_EQ(ReadText(to), "moved");

        WriteBytes(from, "new");
        EXPECT_FALSE(calls.RenameWithoutReplacing(from.c_str(), to.c_str()));
        EXPECT_EQ(errno, EEXIST);
        EXPECT_EQ(ReadText(from), "new");
        EXPECT_EQ(ReadText(to), "moved");

        // A failed move leaves no reservation behind.
        std::filesystem::remove(to);
        std::filesystem::remove(from);
        EXPECT_FALSE(calls.RenameWithoutReplacing(from.c_str(), to.c_str()));
        EXPECT_EQ(errno, ENOENT);
        EXPECT_TRUE(FileNames().empty());
    }
}

TEST_F(LogRotationPosixTest, RotationWorksOnAFileSystemWithoutHardLinks)
{
    const KO::Posix::RenameCalls calls = WithoutFlagAndLinks<EINVAL, EPERM>();
    const UsedRenameCalls used(calls);
    KO::Log::SetWritePrefix(false);
    KO::Log::SetStageFileCount(2);
    KO::Log::SetMaxFileSize(10);
    testing::internal::CaptureStdout();
    for (const wchar_t* round : {L"round 0", L"round 1", L"round 2"}) {
        for (int i = 0; i < 20; ++i) {
            KO::Log::WriteOutLog(round);
        }
    }
    KO::Log::WriteOutLog(L"round 3");

    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(FileNames(), (std::set<std::string>{"test.out", "test.out.1", "test.out.2"}));
    EXPECT_NE(ReadText(Out(".2")).find("round 1"), std::string::npos);
    EXPECT_NE(ReadText(Out(".1")).find("round 2"), std::string::npos);
    EXPECT_NE(ReadText(Out()).find("round 3"), std::string::npos);
}
