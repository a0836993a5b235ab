#include "base/FilePath.h"
#include "base/Error.h"
#include "base/SystemException.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace {

#ifdef _WIN32
constexpr wchar_t kExecutableName[] = L"FilePathTest.exe";
constexpr std::int32_t kNameTooLong = 206; // ERROR_FILENAME_EXCED_RANGE
#else
constexpr wchar_t kExecutableName[] = L"FilePathTest";
constexpr std::int32_t kNameTooLong = ENAMETOOLONG;
#endif

// text with every "|" turned into the platform separator.
std::wstring P(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c == L'|') {
            c = KO::FilePath::kSeparator;
        }
    }
    return text;
}

const std::wstring& Exe()
{
    return KO::FilePath::ExecutableDirectory();
}

// The executable's directory without its last component.
std::wstring ParentOfExe()
{
    const std::wstring withoutSeparator = Exe().substr(0, Exe().size() - 1);
    return withoutSeparator.substr(0, withoutSeparator.rfind(KO::FilePath::kSeparator) + 1);
}

struct Resolution
{
    std::wstring given;
    std::wstring expected;
};

void ExpectResolutions(const std::vector<Resolution>& cases)
{
    for (const Resolution& c : cases) {
        EXPECT_EQ(KO::FilePath(c.given.c_str()).GetPath(), c.expected) << c.given;
    }
}

} // namespace

TEST(FilePathTest, NullPathsThrowError)
{
    try {
        KO::FilePath path(nullptr);
        ADD_FAILURE() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"FilePath::FilePath(const wchar_t *) fails#Invalid Parameters.");
    }
    try {
        KO::FilePath::RelativeToAbsolutePath(nullptr);
        ADD_FAILURE() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(
            error.GetErrMsg(),
            L"FilePath::RelativeToAbsolutePath(const wchar_t *) fails#Invalid Parameters.");
    }
    KO::FilePath path(L"a");
    try {
        path.SetPath(nullptr);
        ADD_FAILURE() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"FilePath::SetPath(const wchar_t *) fails#Invalid Parameters.");
    }
    EXPECT_EQ(path.GetPath(), Exe() + L"a");
}

TEST(FilePathTest, ExecutableDirectoryHoldsTheRunningExecutable)
{
    ASSERT_FALSE(Exe().empty());
    EXPECT_EQ(Exe().back(), KO::FilePath::kSeparator);
    EXPECT_TRUE(std::filesystem::is_regular_file(Exe() + kExecutableName)) << Exe();
}

TEST(FilePathTest, RelativePathsResolveAgainstTheExecutableDirectory)
{
    ExpectResolutions({
        {L"./log/x", Exe() + P(L"log|x")},
        {L".\\log\\x", Exe() + P(L"log|x")},
        {L"log/AntivirusMonitor.out", Exe() + P(L"log|AntivirusMonitor.out")},
        {L"a", Exe() + L"a"},
        {L"../x", ParentOfExe() + L"x"},
        {L"log/./a/../b", Exe() + P(L"log|b")},
        {L"", L""},
    });
}

TEST(FilePathTest, InputPathKeepsTheGivenPathWithNormalisedSeparators)
{
    KO::FilePath path(L"./log\\x");
    EXPECT_EQ(path.GetInputPath(), P(L".|log|x"));
    path.SetPath(L"other/y");
    EXPECT_EQ(path.GetPath(), Exe() + P(L"other|y"));
    EXPECT_EQ(path.GetInputPath(), P(L".|log|x"));
}

TEST(FilePathTest, FileNameAndDirectorySplitAtTheLastSeparator)
{
    const KO::FilePath path(L"log/AntivirusMonitor.out");
    EXPECT_EQ(path.GetFileName(), L"AntivirusMonitor.out");
    EXPECT_EQ(path.GetDirectory(), Exe() + P(L"log|"));

    const KO::FilePath empty(L"");
    EXPECT_EQ(empty.GetFileName(), L"");
    EXPECT_EQ(empty.GetDirectory(), L"");
}

TEST(FilePathTest, CopiesAreIndependent)
{
    KO::FilePath path(L"a");
    const KO::FilePath copy = path;
    path.SetPath(L"b");
    EXPECT_EQ(copy.GetPath(), Exe() + L"a");
    EXPECT_EQ(path.GetPath(), Exe() + L"b");
}

#ifdef _WIN32

TEST(FilePathTest, DrivePathsAreKept)
{
    ExpectResolutions({
        {L"C:/tmp/a", L"C:\\tmp\\a"},
        {L"C:\\tmp\\a", L"C:\\tmp\\a"},
        {L"C:/tmp/../App/./log/x", L"C:\\App\\log\\x"},
        {L"D:\\", L"D:\\"},
    });
    const KO::FilePath path(L"C:/tmp/a");
    EXPECT_EQ(path.GetFileName(), L"a");
    EXPECT_EQ(path.GetDirectory(), L"C:\\tmp\\");
}

TEST(FilePathTest, UncAndRootedPathsArePutAfterTheExecutableDirectory)
{
    ExpectResolutions({
        {L"\\\\server\\share\\f", Exe() + L"server\\share\\f"},
        {L"/tmp/a", Exe() + L"tmp\\a"},
    });
}

#else

TEST(FilePathTest, AbsolutePathsAreKeptAndNormalised)
{
    ExpectResolutions({
        {L"/tmp/a", L"/tmp/a"},
        {L"\\tmp\\a", L"/tmp/a"},
        {L"/tmp//a/./b/../c", L"/tmp/a/c"},
        {L"/tmp/a/", L"/tmp/a/"},
        {L"/../x", L"/x"},
        {L"/", L"/"},
        {L"/tmp/..", L"/"},
    });
    const KO::FilePath path(L"/tmp/a");
    EXPECT_EQ(path.GetFileName(), L"a");
    EXPECT_EQ(path.GetDirectory(), L"/tmp/");
}

TEST(FilePathTest, DriveLikePathsAreRelativeOnPosix)
{
    ExpectResolutions({{L"C:/tmp/a", Exe() + L"C:/tmp/a"}});
}

#endif

TEST(FilePathTest, OverlongPathsThrowSystemException)
{
    const std::wstring longName(5000, L'a');
    const std::wstring candidates[] = {longName, P(L"C:|") + longName, P(L"|") + longName};
    for (const std::wstring& candidate : candidates) {
        try {
            KO::FilePath path(candidate.c_str());
            ADD_FAILURE() << "no SystemException thrown";
        } catch (const KO::SystemException& exception) {
            EXPECT_STREQ(
                exception.GetErrMsg(),
                L"FilePath::RelativeToAbsolutePath(const wchar_t *)::GetFullPathName fails.");
            EXPECT_EQ(exception.GetErrNum(), kNameTooLong);
        }
    }
}
