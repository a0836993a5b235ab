#include "base/Process.h"

#include <windows.h>

namespace KO {

// static
std::uint32_t Process::CurrentId()
{
    return GetCurrentProcessId();
}

// static
std::uint32_t Process::CurrentThreadId()
{
    return GetCurrentThreadId();
}

} // namespace KO
