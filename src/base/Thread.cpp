#include "base/Thread.h"

#include "base/Error.h"

namespace KO {

void Thread::Start(THREAD_PROC_PTR procedure, void* argument)
{
    if (procedure == nullptr) {
        throw Error(L"Thread::Start(THREAD_PROC_PTR, void*)#Parameter fails.");
    }
    // Claiming the state before the thread exists makes a second Start that
    // comes before the new thread runs a no-op as well.
    const int previous = m_shared->state.exchange(Running);
    if (previous == Running) {
        return;
    }
    m_shared->procedure = procedure;
    m_shared->argument = argument;
    auto run = std::make_unique<SharedRef>(m_shared);
    try {
        StartNative(run);
    } catch (...) {
        m_shared->state = previous;
        throw;
    }
}

// static
std::uint32_t Thread::Run(void* run)
{
    if (run == nullptr) {
        return 0;
    }
    const std::unique_ptr<SharedRef> reference(static_cast<SharedRef*>(run));
    Shared& shared = **reference;
    shared.state = Running;
    shared.procedure(shared.argument);
    shared.state = Finished;
    return 0;
}

} // namespace KO
