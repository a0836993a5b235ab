#pragma once

#include "base/Interface.h"

#include <cstddef>

namespace KO {

// Turns wide text into bytes on a stream.
class IEncoder : public Interface
{
public:
    // Encodes length wide characters of text; returns the number of
    // characters written.
    virtual std::size_t Write(const wchar_t* text, std::size_t length) = 0;
};

} // namespace KO
