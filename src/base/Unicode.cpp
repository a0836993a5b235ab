#include "base/Unicode.h"

#include <cstdint>
#include <type_traits>

namespace KO::Unicode {

namespace {

constexpr char32_t kMaximum = 0x10FFFF;

bool IsHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

char32_t UnitAt(const wchar_t* text, std::size_t index)
{
    // Through the unsigned type of the same width: a negative 32-bit
    // wchar_t becomes a value beyond U+10FFFF instead of a small one.
    using Unit = std::conditional_t<sizeof(wchar_t) == 2, std::uint16_t, std::uint32_t>;
    return static_cast<char32_t>(static_cast<Unit>(text[index]));
}

// The character that starts at index, which moves past it. Values beyond
// U+10FFFF are replaced; lone surrogates are returned as they are.
char32_t NextCharacter(const wchar_t* text, std::size_t length, std::size_t& index)
{
    const char32_t unit = UnitAt(text, index++);
    if (IsHighSurrogate(unit) && index < length && IsLowSurrogate(UnitAt(text, index))) {
        const char32_t low = UnitAt(text, index++);
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    return unit > kMaximum ? kReplacement : unit;
}

// A wide unit never needs more than four bytes: a UTF-32 character takes up
// to four in either encoding, a UTF-16 unit up to three in UTF-8.
constexpr std::size_t kMaximumBytesPerUnit = 4;

// Makes room for the longest encoding of length units after the current end
// of out; returns where the bytes go. The caller trims with Finish.
char* Reserve(std::string& out, std::size_t length)
{
    const std::size_t used = out.size();
    out.resize(used + length * kMaximumBytesPerUnit);
    return out.data() + used;
}

void Finish(std::string& out, const char* end)
{
    out.resize(static_cast<std::size_t>(end - out.data()));
}

char* PutUnitLe(char32_t unit, char* p)
{
    *p++ = static_cast<char>(unit & 0xFF);
    *p++ = static_cast<char>((unit >> 8) & 0xFF);
    return p;
}

} // namespace

void AppendUtf8(const wchar_t* text, std::size_t length, std::string& out)
{
    char* p = Reserve(out, length);
    std::size_t index = 0;
    while (index < length) {
        // ASCII, most of any log line, is copied without decoding.
        if (UnitAt(text, index) < 0x80) {
            *p++ = static_cast<char>(text[index++]);
            continue;
        }
        char32_t c = NextCharacter(text, length, index);
        if (IsSurrogate(c)) {
            c = kReplacement;
        }
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (c >> 18));
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    Finish(out, p);
}

void AppendUtf16Le(const wchar_t* text, std::size_t length, std::string& out)
{
    char* p = Reserve(out, length);
    std::size_t index = 0;
    while (index < length) {
        // Below the surrogates, most of any text, a unit is its own character.
        if (UnitAt(text, index) < 0xD800) {
            p = PutUnitLe(UnitAt(text, index++), p);
            continue;
        }
        const char32_t c = NextCharacter(text, length, index);
        if (c < 0x10000) {
            p = PutUnitLe(c, p);
        } else {
            const char32_t offset = c - 0x10000;
            p = PutUnitLe(0xD800 + (offset >> 10), p);
            p = PutUnitLe(0xDC00 + (offset & 0x3FF), p);
        }
    }
    Finish(out, p);
}

} // namespace KO::Unicode
