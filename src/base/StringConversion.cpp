#include "base/StringConversion.h"

namespace KO::String {

std::string ToNarrow(const std::wstring& text)
{
    return ToNarrow(text.data(), text.size());
}

} // namespace KO::String
