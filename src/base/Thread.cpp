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
    const int previous = m_state.exchange(Running);
    if (previous == Running) {
        return;
    }
    m_procedure = procedure;
    m_argument = argument;
    try {
        StartNative();
    } catch (...) {
        m_state = previous;
        throw;
    }
}

// static
std::uint32_t Thread::Run(void* thread)
{
    if (thread == nullptr) {
        return 0;
    }
    auto* self = static_cast<Thread*>(thread);
    self->m_state = Running;
    self->m_procedure(self->m_argument);
    self->m_state = Finished;
    return 0;
}

} // namespace KO
