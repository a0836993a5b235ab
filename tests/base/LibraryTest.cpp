// Loading the test module built beside this program (KO_TEST_MODULE names
// its file) and modules in temporary directories.

#include "base/Library.h"

#include "TemporaryDirectory.h"

#include "base/Error.h"
#include "base/FilePath.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

const std::wstring kModule = fs::path(KO_TEST_MODULE).wstring();
constexpr char kExport[] = "KoLibraryTestAnswer";
constexpr int kAnswer = 42;

// Each backend's own error numbers.
#ifdef _WIN32
constexpr std::int32_t kModuleNotFound = 126; // ERROR_MOD_NOT_FOUND
constexpr std::int32_t kNotAModule = 193;     // ERROR_BAD_EXE_FORMAT
constexpr std::int32_t kExportNotFound = 127; // ERROR_PROC_NOT_FOUND
constexpr std::int32_t kNotLoaded = 6;        // ERROR_INVALID_HANDLE
#else
constexpr std::int32_t kModuleNotFound = ENOENT;
constexpr std::int32_t kNotAModule = ENOEXEC;
constexpr std::int32_t kExportNotFound = ENOENT;
constexpr std::int32_t kNotLoaded = EBADF;
#endif

std::string LoadError(std::int32_t error)
{
    return "KO::Library::Load#ErrNum:" + std::to_string(error);
}

std::string ResolveError(std::int32_t error)
{
    return "KO::Library::Resolve#ErrNum:" + std::to_string(error);
}

fs::path BuiltModule()
{
    return fs::path(KO::FilePath::ExecutableDirectory()) / kModule;
}

// The result of the module's function, or -1 when it cannot be resolved.
int CallExport(KO::Library& library)
{
    using Answer = int (*)();
    const auto answer = reinterpret_cast<Answer>(library.Resolve(kExport));
    return answer == nullptr ? -1 : answer();
}

// Makes a directory the current directory for the object's lifetime.
class CurrentDirectory
{
public:
    explicit CurrentDirectory(const fs::path& directory) : m_previous(fs::current_path())
    {
        fs::current_path(directory);
    }
    ~CurrentDirectory() { fs::current_path(m_previous); }

    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    fs::path m_previous;
};

} // namespace

TEST(LibraryTest, NullArgumentsThrowError)
{
    try {
        KO::Library library(nullptr);
        FAIL() << "no exception";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"Library::LoadLibrary(const wchar_t*)#Invalid Parameters.");
    }
    KO::Library library(kModule.c_str());
    try {
        library.Resolve(nullptr);
        FAIL() << "no exception";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(), L"Library::Resolve(const wchar_t*)#Invalid parameters.");
    }
}

TEST(LibraryTest, ARelativePathLoadsFromTheExecutableDirectoryWhateverTheCurrentDirectory)
{
    const TemporaryDirectory elsewhere;
    const CurrentDirectory current(elsewhere.Path());
    KO::Library library(kModule.c_str());
    ASSERT_TRUE(library.Load()) << library.GetErrMsg();
    EXPECT_EQ(CallExport(library), kAnswer);
    // A second Load frees the module and loads it anew.
    ASSERT_TRUE(library.Load()) << library.GetErrMsg();
    EXPECT_EQ(CallExport(library), kAnswer);
}

TEST(LibraryTest, AModuleOnlyInTheCurrentDirectoryIsNotFoundByName)
{
    const TemporaryDirectory directory;
    const std::wstring name = L"current-directory-module" + BuiltModule().extension().wstring();
    fs::copy_file(BuiltModule(), directory.Path() / name);
    const CurrentDirectory current(directory.Path());

    KO::Library byName(name.c_str());
    EXPECT_FALSE(byName.Load());
    EXPECT_EQ(byName.GetErrMsg(), LoadError(kModuleNotFound));

    // The copy itself is a good module.
    KO::Library byPath(directory.Name(name).c_str());
    ASSERT_TRUE(byPath.Load()) << byPath.GetErrMsg();
    EXPECT_EQ(CallExport(byPath), kAnswer);
}

TEST(LibraryTest, LoadFailuresNameTheSystemError)
{
    struct Case
    {
        const char* what;
        bool fileExists;
        std::int32_t error;
    };
    const Case cases[] = {
        {"missing file", false, kModuleNotFound},
        {"text file", true, kNotAModule},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TemporaryDirectory directory;
        const std::wstring path = directory.Name(L"module" + BuiltModule().extension().wstring());
        if (c.fileExists) {
            WriteBytes(path, "not a module\n");
        }
        KO::Library library(path.c_str());
        EXPECT_FALSE(library.Load());
        EXPECT_EQ(library.GetErrMsg(), LoadError(c.error));
        EXPECT_EQ(library.Resolve(kExport), nullptr);
    }
}

TEST(LibraryTest, ResolveFailuresReturnNullAndNameTheSystemError)
{
    KO::Library library(kModule.c_str());
    EXPECT_EQ(library.Resolve(kExport), nullptr);
    EXPECT_EQ(library.GetErrMsg(), ResolveError(kNotLoaded));

    ASSERT_TRUE(library.Load()) << library.GetErrMsg();
    EXPECT_EQ(library.Resolve("KoNoSuchExport"), nullptr);
    EXPECT_EQ(library.GetErrMsg(), ResolveError(kExportNotFound));
}
