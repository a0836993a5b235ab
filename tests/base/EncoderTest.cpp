#include "base/BomEncoder.h"
#include "base/Error.h"
#include "base/MbcsEncoder.h"
#include "base/Utf16Encoder.h"
#include "base/Utf8Encoder.h"

#include "MemoryStream.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using EncoderFactory = std::function<std::unique_ptr<KO::IEncoder>(KO::IStream*)>;

template <typename Encoder>
EncoderFactory Factory()
{
    return [](KO::IStream* stream) { return std::make_unique<Encoder>(stream); };
}

EncoderFactory BomFactory(KO::ENUM_ENCODING encoding)
{
    return [encoding](KO::IStream* stream) {
        return std::make_unique<KO::BomEncoder>(encoding, stream);
    };
}

struct Encoded
{
    std::wstring text;
    std::string bytes;
};

// Encodes text with a fresh encoder; returns the written bytes and checks
// that Write reported every character and made a single stream write.
std::string Encode(const EncoderFactory& factory, const std::wstring& text)
{
    MemoryStream stream;
    const auto encoder = factory(&stream);
    EXPECT_EQ(encoder->Write(text.c_str(), text.size()), text.size());
    EXPECT_EQ(stream.writes, 1);
    return stream.bytes;
}

std::wstring Units(std::initializer_list<unsigned> units)
{
    std::wstring text;
    for (unsigned unit : units) {
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

} // namespace

TEST(EncoderTest, NullStreamThrowsError)
{
    const EncoderFactory factories[] = {Factory<KO::Utf8Encoder>(), Factory<KO::Utf16Encoder>(),
                                        Factory<KO::MbcsEncoder>(), BomFactory(KO::ENCODING_UTF8)};
    for (const EncoderFactory& factory : factories) {
        try {
            factory(nullptr);
            ADD_FAILURE() << "no Error thrown";
        } catch (const KO::Error& error) {
            EXPECT_STREQ(error.GetErrMsg(),
                         L"CharEncoder::CharEncoder(MemoryStream *)#Invalid Parameters.");
        }
    }
}

TEST(EncoderTest, NullTextThrowsErrorAndWritesNothing)
{
    const struct
    {
        EncoderFactory factory;
        const wchar_t* message;
    } cases[] = {
        {Factory<KO::Utf8Encoder>(),
         L"Utf8Encoder::Write(wchar_t*, const std::size_t)#Invalid Parameters."},
        {Factory<KO::Utf16Encoder>(),
         L"Utf16Encoder::Write(wchar_t*, const std::size_t)#Invalid Parameters."},
        {Factory<KO::MbcsEncoder>(),
         L"MbcsEncoder::WriteString(const char *,std::size_t)#Invalid Parameters."},
        {BomFactory(KO::ENCODING_ANSI),
         L"BomEncoder::Write(const wchar_t *, const std::size_t)#Invalid Parameters."},
    };
    for (const auto& c : cases) {
        MemoryStream stream;
        const auto encoder = c.factory(&stream);
        try {
            encoder->Write(nullptr, 1);
            ADD_FAILURE() << "no Error thrown";
        } catch (const KO::Error& error) {
            EXPECT_STREQ(error.GetErrMsg(), c.message);
        }
        EXPECT_EQ(stream.bytes, "");
    }
}

TEST(EncoderTest, Utf8EncoderWritesUtf8)
{
    const Encoded cases[] = {
        {L"", ""},
        {L"a\r\n", "a\r\n"},
        {L"caf\u00E9", "caf\xC3\xA9"},
        {L"\u4F60\u597D", "\xE4\xBD\xA0\xE5\xA5\xBD"},
        {L"\U0001F600", "\xF0\x9F\x98\x80"},
        {L"x\U0010FFFF", "x\xF4\x8F\xBF\xBF"},
        {Units({0xD800, 'a'}), "\xEF\xBF\xBD"
                               "a"}, // a lone surrogate
    };
    for (const Encoded& c : cases) {
        EXPECT_EQ(Encode(Factory<KO::Utf8Encoder>(), c.text), c.bytes);
    }
}

TEST(EncoderTest, Utf16EncoderWritesLittleEndianCodeUnits)
{
    using namespace std::string_literals;
    const Encoded cases[] = {
        {L"", ""},
        {L"a\r\n", "a\0\r\0\n\0"s},
        {L"\u4F60", "\x60\x4F"},
        {L"\U0001F600", "\x3D\xD8\x00\xDE"s},
        {L"\U0010FFFF", "\xFF\xDB\xFF\xDF"},
        {Units({0xDC00, 'a'}), "\x00\xDC"
                               "a\0"s}, // a lone surrogate stays
    };
    for (const Encoded& c : cases) {
        EXPECT_EQ(Encode(Factory<KO::Utf16Encoder>(), c.text), c.bytes);
    }
}

#ifndef _WIN32
TEST(EncoderTest, ValuesBeyondUnicodeBecomeReplacementCharacters)
{
    const std::wstring text = Units({0x110000});
    EXPECT_EQ(Encode(Factory<KO::Utf8Encoder>(), text), "\xEF\xBF\xBD");
    EXPECT_EQ(Encode(Factory<KO::Utf16Encoder>(), text), "\xFD\xFF");
}
#endif

TEST(EncoderTest, MbcsEncoderWritesTheAnsiCodePage)
{
    MemoryStream stream;
    KO::MbcsEncoder encoder(&stream);
    EXPECT_EQ(encoder.Write(L"Log 1\r\n", 7), 7u);
    EXPECT_EQ(stream.bytes, "Log 1\r\n");
    EXPECT_EQ(stream.writes, 1);
}

TEST(EncoderTest, MbcsEncoderWritesNothingForEmptyText)
{
    MemoryStream stream;
    KO::MbcsEncoder encoder(&stream);
    EXPECT_EQ(encoder.Write(L"", 0), 0u);
    EXPECT_EQ(stream.bytes, "");
}

#ifndef _WIN32
TEST(EncoderTest, MbcsEncoderIsUtf8OnPosix)
{
    MemoryStream stream;
    KO::MbcsEncoder encoder(&stream);
    // Three bytes for one character: the smaller number is the length.
    EXPECT_EQ(encoder.Write(L"\u4F60", 1), 1u);
    EXPECT_EQ(stream.bytes, "\xE4\xBD\xA0");
}
#endif

TEST(EncoderTest, BomEncoderWritesTheMarkAndThenTheEncodedText)
{
    using namespace std::string_literals;
    const struct
    {
        KO::ENUM_ENCODING encoding;
        std::string bytes;
    } cases[] = {
        {KO::ENCODING_ANSI, "ab"},
        {KO::ENCODING_UTF8, "\xEF\xBB\xBF"
                            "ab"},
        {KO::ENCODING_UTF16LE, "\xFF\xFE"
                               "a\0b\0"s},
    };
    for (const auto& c : cases) {
        MemoryStream stream;
        KO::BomEncoder encoder(c.encoding, &stream);
        EXPECT_EQ(encoder.GetEncoding(), c.encoding);
        EXPECT_EQ(encoder.Write(L"ab", 2), 2u);
        EXPECT_EQ(stream.bytes, c.bytes) << c.encoding;
    }
}

TEST(EncoderTest, BomEncoderRefusesAnEncodingWithoutEncoder)
{
    for (const int encoding : {3, 4, -1}) {
        MemoryStream stream;
        try {
            KO::BomEncoder encoder(static_cast<KO::ENUM_ENCODING>(encoding), &stream);
            ADD_FAILURE() << "no Error thrown for " << encoding;
        } catch (const KO::Error& error) {
            EXPECT_STREQ(error.GetErrMsg(),
                         L"BomEncoder::BomEncoder(ENUM_ENCODING, IStream *)#No encoder for the "
                         L"encoding.");
        }
        EXPECT_EQ(stream.bytes, "");
    }
}
