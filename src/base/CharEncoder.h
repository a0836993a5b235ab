#pragma once

#include "base/IEncoder.h"
#include "base/IStream.h"

namespace KO {

// Base of the encoders that write to a stream they do not own.
class CharEncoder : public IEncoder
{
public:
    // Throws Error when stream is null.
    explicit CharEncoder(IStream* stream);

protected:
    IStream* Stream() const noexcept { return m_stream; }

private:
    IStream* m_stream;
};

} // namespace KO
