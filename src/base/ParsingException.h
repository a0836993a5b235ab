#pragma once

#include "base/Exception.h"

namespace KO {

// Reports malformed input to a parser.
class ParsingException : public Exception
{
public:
    using Exception::Exception;
};

} // namespace KO
