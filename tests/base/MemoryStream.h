#pragma once

#include "base/IStream.h"

#include <cstddef>
#include <string>

// A stream that collects what is written to it and counts the writes.
class MemoryStream : public KO::IStream
{
public:
    std::size_t Read(void*, std::size_t) override { return 0; }

    std::size_t Write(const void* buffer, std::size_t size) override
    {
        ++writes;
        bytes.append(static_cast<const char*>(buffer), size);
        return size;
    }

    std::uint32_t GetSize() const override { return static_cast<std::uint32_t>(bytes.size()); }
    std::uint32_t GetPosition() const override { return GetSize(); }
    void Skip(std::uint32_t) override {}
    void Seek(std::uint32_t) override {}

    std::string bytes;
    int writes = 0;
};
