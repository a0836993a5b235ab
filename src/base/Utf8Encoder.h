#pragma once

#include "base/CharEncoder.h"

#include <string>

namespace KO {

// Writes text as UTF-8 bytes (no terminator). Each Write converts into a
// buffer that the encoder reuses and writes it with one stream write; it
// returns the number of wide characters given. Null text throws Error.
class Utf8Encoder : public CharEncoder
{
public:
    using CharEncoder::CharEncoder;

    std::size_t Write(const wchar_t* text, std::size_t length) override;

private:
    std::string m_bytes;
};

} // namespace KO
