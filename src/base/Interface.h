#pragma once

#include "base/NotCopyable.h"

namespace KO {

// Root of the library's interfaces: not copyable, destroyed through the base.
class Interface : private NotCopyable
{
public:
    virtual ~Interface() = default;
};

} // namespace KO
