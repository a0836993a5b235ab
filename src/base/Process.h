#pragma once

#include <cstdint>

namespace KO {

// Identities of the calling process and thread.
class Process
{
public:
    static std::uint32_t CurrentId();
    static std::uint32_t CurrentThreadId();
};

} // namespace KO
