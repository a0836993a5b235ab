#pragma once

#include "base/CharEncoder.h"

#include <string>

namespace KO {

// Writes text as UTF-16LE code units (no terminator). Windows text passes
// unchanged; on POSIX, where wchar_t holds UTF-32, characters beyond the BMP
// become surrogate pairs. Each Write converts into a buffer that the encoder
// reuses and writes it with one stream write; it returns the number of wide
// characters given. Null text throws Error.
class Utf16Encoder : public CharEncoder
{
public:
    using CharEncoder::CharEncoder;

    std::size_t Write(const wchar_t* text, std::size_t length) override;

private:
    std::string m_bytes;
};

} // namespace KO
