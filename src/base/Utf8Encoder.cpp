#include "base/Utf8Encoder.h"

#include "base/Error.h"
#include "base/Unicode.h"

namespace KO {

std::size_t Utf8Encoder::Write(const wchar_t* text, std::size_t length)
{
    if (text == nullptr) {
        throw Error(L"Utf8Encoder::Write(wchar_t*, const std::size_t)#Invalid Parameters.");
    }
    m_bytes.clear();
    Unicode::AppendUtf8(text, length, m_bytes);
    Stream()->Write(m_bytes.data(), m_bytes.size());
    return length;
}

} // namespace KO
