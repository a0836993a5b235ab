#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Conversion between the UTF-8 texts that the journal stores and the UTF-16
// texts of the module's interface. Malformed input (an invalid UTF-8
// sequence, a lone surrogate) throws ReportError (Invalid), and so does a NUL
// character in UTF-8: the interface's texts end at their first NUL.
namespace Utf16 {

// `text` as UTF-16 code units, followed by a terminating 0.
std::vector<std::uint16_t> FromUtf8(const std::string& text);

// The NUL-terminated UTF-16 `text` as UTF-8.
std::string ToUtf8(const std::uint16_t* text);

// Whether `text` is well-formed UTF-8 without a NUL character.
bool IsValidUtf8(const std::string& text);

} // namespace Utf16
