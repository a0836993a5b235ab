// LoadSdk with a module that cannot serve. Each case is its own program with
// its own module variant beside it (or none); KO_LOADER_CASE names the case
// and the test.

#include "monitor/lib/CLogModuleLib.h"

#include "LoaderLogTest.h"
#include "RecordLog.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

enum class Case
{
    MissingModule,   // no module at all
    NoCreateExport,  // exports DestroyDllObject only
    NoDestroyExport, // exports CreateDllObject only
    NoObject,        // CreateDllObject gives no object
};

constexpr Case kCase = Case::KO_LOADER_CASE;

#ifdef _WIN32
constexpr int kModuleNotFound = 126; // ERROR_MOD_NOT_FOUND
#else
constexpr int kModuleNotFound = ENOENT;
#endif

std::string ExpectedError()
{
    switch (kCase) {
    case Case::MissingModule:
        return "Library::Load() fails. errMsg:KO::Library::Load#ErrNum:" +
               std::to_string(kModuleNotFound);
    case Case::NoCreateExport:
        return "get CreateDllObject fails.";
    case Case::NoDestroyExport:
        return "get DestroyDllObject fails.";
    case Case::NoObject:
        return "get ILogModule fails.";
    }
    return std::string();
}

using CLogModuleLibFailureTest = LoaderLogTest;

} // namespace

// LoadSdk fails with its ERROR line and leaves the loader without a module
// object.
TEST_F(CLogModuleLibFailureTest, KO_LOADER_CASE)
{
    CLogModuleLib loader;
    EXPECT_FALSE(loader.LoadSdk());
    EXPECT_TRUE(HasLine(LoadSdkHeader("DEBUG"), "LoadSdk."));
    EXPECT_TRUE(HasLine(LoadSdkHeader("ERROR"), ExpectedError()));
    EXPECT_EQ(CountLines("ERROR"), 1u);

    // The loader stays the instance, but has nothing to ask.
    EXPECT_EQ(CLogModuleLib::instance(), &loader);
    RecordLog handler;
    EXPECT_FALSE(loader.queryRecords(100218, &handler));
    EXPECT_FALSE(loader.queryRecords(100220, &handler));
}
