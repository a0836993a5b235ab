#pragma once

#include "base/Object.h"

namespace KO {

// Thrown for invalid arguments. The message is a string literal that lives for
// the whole program; it is neither copied nor owned, so copying an Error is
// copying a pointer. Unrelated to Exception: a handler for one never catches
// the other.
class Error : public Object
{
public:
    explicit Error(const wchar_t* message) noexcept : m_message(message) {}

    const wchar_t* GetErrMsg() const noexcept { return m_message; }

private:
    const wchar_t* m_message;
};

} // namespace KO
