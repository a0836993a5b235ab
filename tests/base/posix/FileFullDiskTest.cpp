// File::AppendLines on a file system that fills up: a child process may grow
// files only to a limit (RLIMIT_FSIZE, with SIGXFSZ ignored, so that a write
// past it fails with EFBIG, as on a full disk). An append cut short must leave
// the file as it was: an existing file keeps its bytes, even when the limit
// falls inside a UTF-16LE unit, and a file the append created is gone.
#include "../TemporaryDirectory.h"

#include "base/File.h"
#include "base/SystemException.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <ostream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::string_literals;

struct FullDiskCase
{
    const char* name;
    std::string before; // the file's bytes; empty: no file
    rlim_t limit;
    KO::ENUM_ENCODING encoding;
};

const FullDiskCase kCases[] = {
    {"Utf8LineCutShort", "keep\r\n", 10, KO::ENCODING_UTF8},
    {"Utf16LeCutInsideAUnit", "k\0\r\0\n\0"s, 9, KO::ENCODING_UTF16LE},
    {"NewUtf8FileWithOnlyTheMarkFitting", "", 3, KO::ENCODING_UTF8},
    {"NewUtf16LeFileCutShort", "", 5, KO::ENCODING_UTF16LE},
};

void PrintTo(const FullDiskCase& c, std::ostream* out)
{
    *out << c.name;
}

// Exit codes of the child.
constexpr int kThrewEfbig = 0;
constexpr int kReturned = 1;
constexpr int kThrewOther = 2;
constexpr int kNoLimit = 3;

[[noreturn]] void AppendInChild(const KO::File& file, const FullDiskCase& c)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) {
        _exit(kNoLimit);
    }
    limit.rlim_cur = c.limit;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        _exit(kNoLimit);
    }
    try {
        file.AppendLines({L"a line far longer than the room that is left"}, true, c.encoding);
        _exit(kReturned);
    } catch (const KO::SystemException& exception) {
        _exit(exception.GetErrNum() == EFBIG ? kThrewEfbig : kThrewOther);
    } catch (...) {
        _exit(kThrewOther);
    }
}

class FileFullDiskTest : public ::testing::TestWithParam<FullDiskCase>
{
protected:
    TemporaryDirectory directory;
};

TEST_P(FileFullDiskTest, AnAppendCutShortLeavesTheFileAsItWas)
{
    const FullDiskCase& c = GetParam();
    const std::wstring path = directory.Name(L"full.log");
    if (!c.before.empty()) {
        WriteBytes(path, c.before);
    }
    const KO::File file{KO::FilePath(path.c_str())};
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AppendInChild(file, c);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), kThrewEfbig);
    if (c.before.empty()) {
        EXPECT_FALSE(file.Exists());
    } else {
        EXPECT_EQ(ReadBytes(path), Bytes(c.before.begin(), c.before.end()));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileFullDiskTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FullDiskCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
