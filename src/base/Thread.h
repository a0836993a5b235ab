#pragma once

#include "base/NotCopyable.h"
#include "base/Object.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace KO {

using THREAD_PROC_PTR = std::uint32_t (*)(void*);

// Runs one plain function on a system thread of its own.
//
// Start on an object whose thread is running does nothing; Start after the
// procedure returned starts a new thread. Join waits for the thread without a
// time limit and releases it. The destructor neither joins nor stops the
// thread: it only releases the system handle (a POSIX thread that was never
// joined is detached). Failures throw Error (no procedure) or
// SystemException (the system call and its error number).
class Thread : public Object, private NotCopyable
{
public:
    enum State : int
    {
        NotStarted = 0,
        Running = 1,
        Finished = 2
    };

    Thread();
    ~Thread() override;

    void Start(THREAD_PROC_PTR procedure, void* argument);
    void Join();

    State GetState() const noexcept { return static_cast<State>(m_state.load()); }

    // Entry routine of the new thread: runs the procedure of the Thread that
    // `thread` points to and tracks its state. A null pointer returns 0 at once.
    static std::uint32_t Run(void* thread);

private:
    struct Native;

    void StartNative();

    std::unique_ptr<Native> m_native; // the system thread, or none
    std::atomic<int> m_state{NotStarted};
    THREAD_PROC_PTR m_procedure = nullptr;
    void* m_argument = nullptr;
};

} // namespace KO
