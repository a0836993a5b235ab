#pragma once

#include "base/Exception.h"

#include <cstdint>

namespace KO {

// A failed operating-system call: the message names the operation and the
// call, the number is the system error (GetLastError on Windows, errno on
// POSIX), a structured-exception code, or -1 where the call gives none.
class SystemException : public Exception
{
public:
    SystemException(const wchar_t* message, std::int32_t errorNumber)
        : Exception(message), m_errorNumber(errorNumber)
    {}

    std::int32_t GetErrNum() const noexcept { return m_errorNumber; }

private:
    std::int32_t m_errorNumber;
};

} // namespace KO
