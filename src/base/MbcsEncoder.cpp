#include "base/MbcsEncoder.h"

#include "base/Error.h"
#include "base/StringConversion.h"
#include "base/SystemException.h"

#include <algorithm>
#include <string>

namespace KO {

std::size_t MbcsEncoder::Write(const wchar_t* text, std::size_t length)
{
    if (text == nullptr) {
        throw Error(L"MbcsEncoder::WriteString(const char *,std::size_t)#Invalid Parameters.");
    }
    std::string bytes;
    try {
        bytes = String::ToNarrow(text, length);
    } catch (const SystemException& failure) {
        throw SystemException(
            L"MbcsEncoder::WriteString(const char *,std::size_t)#WideCharToMultiByte fails.",
            failure.GetErrNum());
    }
    Stream()->Write(bytes.data(), bytes.size());
    return std::min(length, bytes.size());
}

} // namespace KO
