#pragma once

#include "base/CharEncoder.h"

namespace KO {

// Writes text in the thread's ANSI code page (UTF-8 on POSIX) with one stream
// write, and returns the smaller of the text's length and the number of bytes
// written, so that a caller comparing it with the length sees a conversion
// that lost characters. Empty text writes nothing and returns 0. Null text
// throws Error; a failed conversion throws SystemException.
class MbcsEncoder : public CharEncoder
{
public:
    using CharEncoder::CharEncoder;

    std::size_t Write(const wchar_t* text, std::size_t length) override;
};

} // namespace KO
