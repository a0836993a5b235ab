#include "base/StringConversion.h"
#include "base/Error.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Conversion
{
    const char* narrow;
    const wchar_t* wide;
};

} // namespace

TEST(StringConversionTest, ToWideOfNullThrowsError)
{
    try {
        KO::String::ToWide(nullptr);
        FAIL() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"String::WCharToAchar(const wchar_t* char*)#Invalid Parameters.");
    }
}

TEST(StringConversionTest, ToNarrowOfNullWithLengthThrowsError)
{
    EXPECT_EQ(KO::String::ToNarrow(nullptr, 0), "");
    try {
        KO::String::ToNarrow(nullptr, 1);
        FAIL() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"String::ToNarrow(const wchar_t*, std::size_t)#Invalid Parameters.");
    }
}

TEST(StringConversionTest, AsciiConvertsBothWays)
{
    const Conversion cases[] = {{"", L""}, {"Log.out", L"Log.out"}, {"a\r\nb", L"a\r\nb"}};
    for (const Conversion& c : cases) {
        EXPECT_EQ(KO::String::ToWide(c.narrow), c.wide) << c.narrow;
        EXPECT_EQ(KO::String::ToNarrow(c.wide), c.narrow) << c.narrow;
    }
}

#ifdef _WIN32

TEST(StringConversionTest, UsesTheAnsiCodePage)
{
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the case is written for code page 1252";
    }
    EXPECT_EQ(KO::String::ToWide("caf\xE9"), L"caf\u00E9");
    EXPECT_EQ(KO::String::ToNarrow(L"caf\u00E9"), "caf\xE9");
    EXPECT_EQ(KO::String::ToNarrow(L"\u4F60"), "?"); // not in the code page
}

#else

TEST(StringConversionTest, ValidUtf8ConvertsBothWays)
{
    const Conversion cases[] = {
        {"caf\xC3\xA9", L"caf\u00E9"},
        {"\xE4\xBD\xA0\xE5\xA5\xBD", L"\u4F60\u597D"},
        {"\xF0\x9F\x98\x80", L"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(KO::String::ToWide(c.narrow), c.wide) << c.narrow;
        EXPECT_EQ(KO::String::ToNarrow(c.wide), c.narrow) << c.narrow;
    }
}

TEST(StringConversionTest, InvalidUtf8BecomesReplacementCharacters)
{
    const Conversion cases[] = {
        {"a\xFF"
         "b",
         L"a\uFFFDb"},
        {"\xE4\xBD"
         "A",
         L"\uFFFDA"},                                      // cut short: one for the sequence
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                     // overlong
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},           // a surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
        {"\xE4\xBD\xA0\xF0\x9F", L"\u4F60\uFFFD"},         // cut short at the end
        {"\x80", L"\uFFFD"},                               // a lone continuation byte
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(KO::String::ToWide(c.narrow), c.wide) << c.narrow;
    }
}

TEST(StringConversionTest, Utf8DoesNotDependOnTheLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    const std::wstring wide = KO::String::ToWide("\xE4\xBD\xA0");
    const std::string narrow = KO::String::ToNarrow(L"\u4F60");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(wide, L"\u4F60");
    EXPECT_EQ(narrow, "\xE4\xBD\xA0");
}

TEST(StringConversionTest, UnencodableWideCharactersBecomeReplacementCharacters)
{
    const std::wstring loneSurrogate(1, static_cast<wchar_t>(0xD800));
    const std::wstring beyondUnicode(1, static_cast<wchar_t>(0x110000));
    EXPECT_EQ(KO::String::ToNarrow(loneSurrogate), "\xEF\xBF\xBD");
    EXPECT_EQ(KO::String::ToNarrow(beyondUnicode), "\xEF\xBF\xBD");
}

#endif
