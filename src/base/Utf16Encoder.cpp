#include "base/Utf16Encoder.h"

#include "base/Error.h"
#include "base/Unicode.h"

namespace KO {

std::size_t Utf16Encoder::Write(const wchar_t* text, std::size_t length)
{
    if (text == nullptr) {
        throw Error(L"Utf16Encoder::Write(wchar_t*, const std::size_t)#Invalid Parameters.");
    }
    m_bytes.clear();
    Unicode::AppendUtf16Le(text, length, m_bytes);
    Stream()->Write(m_bytes.data(), m_bytes.size());
    return length;
}

} // namespace KO
