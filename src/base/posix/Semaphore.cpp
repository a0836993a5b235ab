#include "base/Semaphore.h"

#include "base/SystemException.h"

#include <cerrno>
#include <ctime>
#include <semaphore.h>

namespace KO {

struct Semaphore::Native
{
    sem_t semaphore{};
};

namespace {

// The monotonic clock is immune to wall-clock changes during a wait.
timespec DeadlineAfter(std::uint32_t timeoutMs)
{
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(timeoutMs / 1000);
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        ++deadline.tv_sec;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

// One attempt to take a count: 0 when taken, otherwise the errno value.
int TakeCount(sem_t* semaphore, std::uint32_t timeoutMs, const timespec& deadline)
{
    int result = 0;
    if (timeoutMs == 0) {
        result = sem_trywait(semaphore);
    } else if (timeoutMs == Semaphore::kInfinite) {
        result = sem_wait(semaphore);
    } else {
        result = sem_clockwait(semaphore, CLOCK_MONOTONIC, &deadline);
    }
    return result == 0 ? 0 : errno;
}

} // namespace

Semaphore::Semaphore() : m_native(std::make_unique<Native>())
{
    Init();
}

Semaphore::~Semaphore()
{
    sem_destroy(&m_native->semaphore);
}

void Semaphore::Init()
{
    if (sem_init(&m_native->semaphore, 0, 0) != 0) {
        throw SystemException(L"KO::Semaphore::Init(...)#CreateSemaphore fails.", errno);
    }
}

void Semaphore::Notify()
{
    if (sem_post(&m_native->semaphore) != 0) {
        throw SystemException(L"KO::Semaphore::Notify()#ReleaseSemaphore fails", errno);
    }
}

bool Semaphore::WaitNative(std::uint32_t timeoutMs)
{
    const timespec deadline = DeadlineAfter(timeoutMs);
    for (;;) {
        const int error = TakeCount(&m_native->semaphore, timeoutMs, deadline);
        if (error == 0) {
            return true;
        }
        if (error == EAGAIN || error == ETIMEDOUT) {
            return false;
        }
        if (error != EINTR) {
            throw SystemException(L"KO::Semaphore::Wait(...)#WaitForSingleObject fails.", error);
        }
    }
}

} // namespace KO
