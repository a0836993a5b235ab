#pragma once

#include <cstddef>
#include <string>

// UTF-8 for the POSIX backends, where wchar_t holds UTF-32 code points. Both
// directions never stop early: what cannot be converted becomes U+FFFD.
namespace KO::Posix {

inline void AppendUtf8(char32_t c, std::string& out)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        c = 0xFFFD;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

inline std::string ToUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        AppendUtf8(static_cast<char32_t>(c), out);
    }
    return out;
}

// Length of the sequence that a lead byte starts; 0 for a byte that starts
// none.
inline std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead < 0xC0) {
        return 0;
    }
    if (lead < 0xE0) {
        return 2;
    }
    return lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
}

// Decodes UTF-8; an invalid, overlong or cut-short sequence yields U+FFFD
// for its first byte and decoding goes on with the next.
inline std::wstring FromUtf8(const std::string& text)
{
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = SequenceLength(lead);
        bool valid = length != 0 && i + length <= text.size();
        char32_t c = length == 1 ? lead : lead & (0xFFu >> (length + 1));
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            valid = (byte & 0xC0) == 0x80;
            c = (c << 6) | (byte & 0x3F);
        }
        valid = valid && c >= kMinimum[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        out += static_cast<wchar_t>(valid ? c : 0xFFFD);
        i += valid ? length : 1;
    }
    return out;
}

} // namespace KO::Posix
