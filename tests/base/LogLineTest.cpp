#include "LogFixture.h"

#include "base/LogLine.h"

#include <cstdint>
#include <limits>

namespace {

using LogLineTest = LogFixture;

// A record without header, so that Text() holds the operands alone.
struct Operands : KO::LogLine
{
    Operands() : KO::LogLine(nullptr, nullptr, 0, nullptr) {}
};

} // namespace

TEST_F(LogLineTest, EveryOperandTypeHasItsText)
{
    const char* noNarrow = nullptr;
    const wchar_t* noWide = nullptr;
    Operands line;
    line << true << false << static_cast<short>(-2) << 3u << -4L << 5UL
         << std::numeric_limits<std::int64_t>::min() << std::numeric_limits<std::uint64_t>::max()
         << 1.5 << 0.1f << 'c' << L'w' << "narrow" << noNarrow << L"wide" << noWide
         << std::string("str") << std::wstring(L"wstr");
    EXPECT_EQ(line.Text(), L"10-23-45-922337203685477580818446744073709551615"
                           L"1.50.1cwnarrowwidestrwstr");
}

#ifndef _WIN32
// The POSIX ANSI code page is UTF-8; Windows code pages vary by system.
TEST_F(LogLineTest, NarrowTextIsConvertedAsUtf8OnPosix)
{
    Operands line;
    line << "\xE4\xB8\xAD" << std::string("\xE6\x96\x87");
    EXPECT_EQ(line.Text(), L"\u4E2D\u6587");
}
#endif

TEST_F(LogLineTest, PointerUsesTheStreamFormat)
{
    Operands line;
    line << static_cast<const void*>(nullptr);
    EXPECT_FALSE(line.Text().empty());
}

TEST_F(LogLineTest, HeaderNamesLevelFileFunctionAndLine)
{
    const KO::LogLine line("C:/src/dialogs\\programdiarydialog.cpp", "loadData", 42, L"ERROR");
    EXPECT_EQ(line.Text(), L"[ERROR] <programdiarydialog.cpp> <loadData> <line:42> ");
}

TEST(LogLineNameTest, DecoratedFunctionNamesAreReducedToTheQualifiedName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"void CProgramDiaryDialog::loadData()", "CProgramDiaryDialog::loadData"},
        {"CProgramDiaryDialog::CProgramDiaryDialog(QWidget*)",
         "CProgramDiaryDialog::CProgramDiaryDialog"},
        {"virtual bool KO::File::Exists() const", "KO::File::Exists"},
        {"static KO::Log* KO::Log::GetInstance()", "KO::Log::GetInstance"},
        {"std::map<int, std::basic_string<char> > ns::Table<int, 3>::rows(int)",
         "ns::Table<int, 3>::rows"},
        {"const char* {anonymous}::FileNameOf(const char*)", "{anonymous}::FileNameOf"},
        {"CProgramDiaryDialog::loadData", "CProgramDiaryDialog::loadData"},
    };
    for (const auto& [decorated, qualified] : cases) {
        EXPECT_EQ(KO::LogLine::QualifiedFunctionName(decorated), qualified) << decorated;
    }
}
