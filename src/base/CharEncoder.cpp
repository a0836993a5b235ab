#include "base/CharEncoder.h"

#include "base/Error.h"

namespace KO {

CharEncoder::CharEncoder(IStream* stream) : m_stream(stream)
{
    if (stream == nullptr) {
        throw Error(L"CharEncoder::CharEncoder(MemoryStream *)#Invalid Parameters.");
    }
}

} // namespace KO
