#include "base/Exception.h"

#include "base/Error.h"

namespace KO {

Exception::Exception(const wchar_t* message)
{
    if (message == nullptr) {
        throw Error(L"Exception::Exception(const wchar_t*)#Invalid Parameters.");
    }
    m_message = message;
}

} // namespace KO
