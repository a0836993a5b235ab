#pragma once

#include "base/Mutex.h"
#include "base/NotCopyable.h"

namespace KO {

// Holds a Mutex locked for the lifetime of the guard. A failure to lock
// propagates from the constructor; a failure to unlock is swallowed.
class ScopedLock : private NotCopyable
{
public:
    explicit ScopedLock(Mutex& mutex);
    ~ScopedLock();

private:
    Mutex* m_mutex;
};

} // namespace KO
