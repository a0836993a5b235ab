#pragma once

#include <cstddef>
#include <string>

// Encoding of wide text as UTF-8 and UTF-16LE bytes, for both widths of
// wchar_t: a high surrogate followed by a low one is read as one character
// (UTF-16 on Windows), any other unit as a code point of its own (UTF-32 on
// POSIX). Values beyond U+10FFFF become U+FFFD.
namespace KO::Unicode {

constexpr char32_t kReplacement = 0xFFFD;

// Appends the UTF-8 bytes of length characters of text to out. Lone
// surrogates, which UTF-8 cannot carry, become U+FFFD.
void AppendUtf8(const wchar_t* text, std::size_t length, std::string& out);

// Appends the UTF-16LE bytes of length characters of text to out: characters
// beyond the BMP become surrogate pairs; lone surrogates are kept, so UTF-16
// text passes unchanged.
void AppendUtf16Le(const wchar_t* text, std::size_t length, std::string& out);

} // namespace KO::Unicode
