#include "base/BomEncoder.h"

#include "base/Error.h"
#include "base/MbcsEncoder.h"
#include "base/Utf16Encoder.h"
#include "base/Utf8Encoder.h"

namespace KO {

namespace {

constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
constexpr unsigned char kUtf16LeMark[] = {0xFF, 0xFE};

} // namespace

BomEncoder::BomEncoder(ENUM_ENCODING encoding, IStream* stream) : m_encoding(encoding)
{
    // The inner encoder checks the stream before any mark is written.
    switch (encoding) {
    case ENCODING_ANSI:
        m_encoder = std::make_unique<MbcsEncoder>(stream);
        break;
    case ENCODING_UTF8:
        m_encoder = std::make_unique<Utf8Encoder>(stream);
        stream->Write(kUtf8Mark, sizeof kUtf8Mark);
        break;
    case ENCODING_UTF16LE:
        m_encoder = std::make_unique<Utf16Encoder>(stream);
        stream->Write(kUtf16LeMark, sizeof kUtf16LeMark);
        break;
    default:
        throw Error(L"BomEncoder::BomEncoder(ENUM_ENCODING, IStream *)#No encoder for the "
                    L"encoding.");
    }
}

BomEncoder::~BomEncoder() = default;

std::size_t BomEncoder::Write(const wchar_t* text, std::size_t length)
{
    if (text == nullptr) {
        throw Error(L"BomEncoder::Write(const wchar_t *, const std::size_t)#Invalid Parameters.");
    }
    return m_encoder->Write(text, length);
}

} // namespace KO
