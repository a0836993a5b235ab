#include "base/Thread.h"

#include "base/SystemException.h"

#include <pthread.h>

namespace KO {

// A started pthread; detached on release unless it was joined.
struct Thread::Native
{
    pthread_t id{};
    bool joined = false;

    ~Native()
    {
        if (!joined) {
            pthread_detach(id);
        }
    }
};

namespace {

void* EntryPoint(void* run)
{
    Thread::Run(run);
    return nullptr;
}

} // namespace

Thread::Thread() = default;

Thread::~Thread() = default;

void Thread::StartNative(std::unique_ptr<SharedRef>& run)
{
    auto native = std::make_unique<Native>();
    const int result = pthread_create(&native->id, nullptr, EntryPoint, run.get());
    if (result != 0) {
        native->joined = true; // nothing to detach
        throw SystemException(L"Thread::Start(THREAD_PRCO_PTR, void*)#CreateThread fails.", result);
    }
    run.release(); // the thread's now
    m_native = std::move(native);
}

void Thread::Join()
{
    if (!m_native) {
        return;
    }
    const int result = pthread_join(m_native->id, nullptr);
    if (result != 0) {
        throw SystemException(L"Thread::Join()#WaitForSingleObject fails.", result);
    }
    m_native->joined = true;
    m_native.reset();
}

} // namespace KO
