#include "base/ScopedLock.h"

#include "base/SystemException.h"

namespace KO {

ScopedLock::ScopedLock(Mutex& mutex) : m_mutex(&mutex)
{
    m_mutex->Lock();
}

ScopedLock::~ScopedLock()
{
    try {
        m_mutex->Unlock();
    } catch (const SystemException&) {
        // A destructor cannot report; the lock is left as the system left it.
    }
}

} // namespace KO
