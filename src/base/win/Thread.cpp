#include "base/Thread.h"

#include "base/SystemException.h"

#include <windows.h>

namespace KO {

// A started thread's handle, closed on release.
struct Thread::Native
{
    HANDLE handle = nullptr;

    ~Native() { CloseHandle(handle); }
};

namespace {

DWORD WINAPI EntryPoint(LPVOID run)
{
    return Thread::Run(run);
}

} // namespace

Thread::Thread() = default;

Thread::~Thread() = default;

void Thread::StartNative(std::unique_ptr<SharedRef>& run)
{
    HANDLE handle = CreateThread(nullptr, 0, EntryPoint, run.get(), 0, nullptr);
    if (handle == nullptr) {
        throw SystemException(L"Thread::Start(THREAD_PRCO_PTR, void*)#CreateThread fails.",
                              static_cast<std::int32_t>(GetLastError()));
    }
    run.release(); // the thread's now
    m_native = std::make_unique<Native>();
    m_native->handle = handle;
}

void Thread::Join()
{
    if (!m_native) {
        return;
    }
    if (WaitForSingleObject(m_native->handle, INFINITE) == WAIT_FAILED) {
        throw SystemException(L"Thread::Join()#WaitForSingleObject fails.",
                              static_cast<std::int32_t>(GetLastError()));
    }
    m_native.reset();
}

} // namespace KO
