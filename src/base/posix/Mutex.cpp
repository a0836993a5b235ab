#include "base/Mutex.h"

#include "base/SystemException.h"

#include <pthread.h>

namespace KO {

struct Mutex::Native
{
    pthread_mutex_t mutex{};
};

Mutex::Mutex() : m_native(std::make_unique<Native>())
{
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&m_native->mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

Mutex::~Mutex()
{
    pthread_mutex_destroy(&m_native->mutex);
}

void Mutex::Lock()
{
    const int result = pthread_mutex_lock(&m_native->mutex);
    if (result != 0) {
        throw SystemException(
            L"KO::Mutex::Lock()#EnterCriticalSection(LPCRITICAL_SECTION) throw exception. )",
            result);
    }
}

void Mutex::Unlock()
{
    const int result = pthread_mutex_unlock(&m_native->mutex);
    if (result != 0) {
        throw SystemException(
            L"KO::Mutex::Unlock()#LeaveCriticalSection(LPCRITICAL_SECTION) throw exception. )",
            result);
    }
}

} // namespace KO
