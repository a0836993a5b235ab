#include "base/Semaphore.h"

#include "base/SystemException.h"

#include <windows.h>

namespace KO {

struct Semaphore::Native
{
    HANDLE handle = nullptr;
};

namespace {

std::int32_t LastError()
{
    return static_cast<std::int32_t>(GetLastError());
}

} // namespace

Semaphore::Semaphore() : m_native(std::make_unique<Native>())
{
    Init();
}

Semaphore::~Semaphore()
{
    CloseHandle(m_native->handle);
}

void Semaphore::Init()
{
    m_native->handle = CreateSemaphoreW(nullptr, 0, kMaximumCount, nullptr);
    if (m_native->handle == nullptr) {
        throw SystemException(L"KO::Semaphore::Init(...)#CreateSemaphore fails.", LastError());
    }
}

void Semaphore::Notify()
{
    if (!ReleaseSemaphore(m_native->handle, 1, nullptr)) {
        throw SystemException(L"KO::Semaphore::Notify()#ReleaseSemaphore fails", LastError());
    }
}

bool Semaphore::WaitNative(std::uint32_t timeoutMs)
{
    switch (WaitForSingleObject(m_native->handle, timeoutMs)) {
    case WAIT_OBJECT_0:
        return true;
    case WAIT_TIMEOUT:
        return false;
    default:
        throw SystemException(L"KO::Semaphore::Wait(...)#WaitForSingleObject fails.", LastError());
    }
}

} // namespace KO
