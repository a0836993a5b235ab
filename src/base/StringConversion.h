#pragma once

#include <cstddef>
#include <string>

// Conversion between wide text and narrow text in the thread's ANSI code
// page. On POSIX the narrow side is always UTF-8, whatever the process
// locale, so that non-ASCII text survives a service started in the C locale.
namespace KO::String {

// Converts a zero-terminated narrow string. Throws Error on null. Bytes that
// are not valid in the code page become a replacement character: the
// system's default on Windows, U+FFFD on POSIX (one per maximal invalid
// sequence); the conversion never stops early.
std::wstring ToWide(const char* text);

// Converts length wide characters. Characters the code page cannot hold
// become its default character on Windows; on POSIX lone surrogates and
// values beyond U+10FFFF become U+FFFD. Throws Error when text is null and
// length is not 0, SystemException when the system conversion fails.
std::string ToNarrow(const wchar_t* text, std::size_t length);
std::string ToNarrow(const std::wstring& text);

} // namespace KO::String
