#pragma once

#include "base/Encoding.h"
#include "base/IEncoder.h"
#include "base/IStream.h"
#include "base/Object.h"

#include <memory>

namespace KO {

// Writes the byte-order mark of an encoding when constructed and then passes
// every Write to the encoder of that encoding: ANSI code page (no mark),
// UTF-8 (EF BB BF), UTF-16LE (FF FE). The stream is not owned.
//
// An encoding without an encoder throws Error from the constructor before
// anything is written, as does a null stream; null text throws Error.
class BomEncoder : public Object, public IEncoder
{
public:
    BomEncoder(ENUM_ENCODING encoding, IStream* stream);
    ~BomEncoder() override;

    std::size_t Write(const wchar_t* text, std::size_t length) override;

    ENUM_ENCODING GetEncoding() const noexcept { return m_encoding; }

private:
    ENUM_ENCODING m_encoding;
    std::unique_ptr<IEncoder> m_encoder;
};

} // namespace KO
