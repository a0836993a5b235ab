#include "base/StringConversion.h"

#include "base/Error.h"
#include "base/Unicode.h"

#include <cstring>

namespace KO::String {

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the UTF-8 sequence at index, which moves past it. A sequence that
// is invalid (overlong, a surrogate, beyond U+10FFFF, cut short) yields
// U+FFFD for its longest valid-looking prefix, at least one byte.
wchar_t NextCharacter(const unsigned char* text, std::size_t length, std::size_t& index)
{
    const unsigned char lead = text[index++];
    if (lead < 0x80) {
        return static_cast<wchar_t>(lead);
    }
    std::size_t trailing = 0;
    char32_t c = 0;
    unsigned char low = 0x80; // the range of the first continuation byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        c = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlongs
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        c = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;  // no overlongs
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    } else {
        return static_cast<wchar_t>(Unicode::kReplacement);
    }
    for (std::size_t i = 0; i < trailing; ++i) {
        if (index >= length) {
            return static_cast<wchar_t>(Unicode::kReplacement);
        }
        const unsigned char byte = text[index];
        const bool valid = i == 0 ? byte >= low && byte <= high : IsContinuation(byte);
        if (!valid) {
            return static_cast<wchar_t>(Unicode::kReplacement);
        }
        c = (c << 6) | (byte & 0x3F);
        ++index;
    }
    return static_cast<wchar_t>(c);
}

} // namespace

std::wstring ToWide(const char* text)
{
    if (text == nullptr) {
        throw Error(L"String::WCharToAchar(const wchar_t* char*)#Invalid Parameters.");
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t length = std::strlen(text);
    std::wstring wide;
    wide.reserve(length);
    std::size_t index = 0;
    while (index < length) {
        wide += NextCharacter(bytes, length, index);
    }
    return wide;
}

std::string ToNarrow(const wchar_t* text, std::size_t length)
{
    if (text == nullptr && length != 0) {
        throw Error(L"String::ToNarrow(const wchar_t*, std::size_t)#Invalid Parameters.");
    }
    std::string narrow;
    narrow.reserve(length);
    Unicode::AppendUtf8(text, length, narrow);
    return narrow;
}

} // namespace KO::String
