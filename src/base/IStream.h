#pragma once

#include "base/Interface.h"

#include <cstddef>
#include <cstdint>

namespace KO {

// A byte stream. Sizes and positions are 32-bit; queries return 0 instead of
// failing.
class IStream : public virtual Interface
{
public:
    // Reads up to size bytes into buffer; returns the number read.
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // Writes size bytes from buffer; returns the number written.
    virtual std::size_t Write(const void* buffer, std::size_t size) = 0;
    virtual std::uint32_t GetSize() const = 0;
    virtual std::uint32_t GetPosition() const = 0;
    // Moves forward by count bytes, stopping at the end.
    virtual void Skip(std::uint32_t count) = 0;
    // Moves to an absolute position, or to the end when it lies beyond.
    virtual void Seek(std::uint32_t position) = 0;
};

} // namespace KO
