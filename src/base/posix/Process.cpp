#include "base/Process.h"

#include <unistd.h>

namespace KO {

// static
std::uint32_t Process::CurrentId()
{
    return static_cast<std::uint32_t>(getpid());
}

// static
std::uint32_t Process::CurrentThreadId()
{
    // The kernel's thread id: small, unique in the system, as the tools show it.
    return static_cast<std::uint32_t>(gettid());
}

} // namespace KO
