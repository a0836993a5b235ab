#pragma once

#include "base/Object.h"

#include <string>

namespace KO {

// Base of the library's exceptions that carry their own copy of the message.
class Exception : public Object
{
public:
    // Throws Error when message is null.
    explicit Exception(const wchar_t* message);

    const wchar_t* GetErrMsg() const noexcept { return m_message.c_str(); }

private:
    std::wstring m_message;
};

} // namespace KO
