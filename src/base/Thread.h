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
// time limit and releases it. Failures throw Error (no procedure) or
// SystemException (the system call and its error number).
//
// The destructor neither joins nor stops the thread: it releases the system
// handle (a POSIX thread that was never joined is detached) and lets a
// running procedure run on. The thread keeps its own reference to what it
// shares with the object (procedure, argument, state), so it never touches
// the object once the object is gone; the procedure's argument must stay
// valid until the procedure returns.
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

    State GetState() const noexcept { return static_cast<State>(m_shared->state.load()); }

    // Entry routine of the new thread. `run` is the thread's reference to the
    // state it shares with its Thread, which Start hands over; the routine
    // runs the procedure, tracks the state and drops the reference. A null
    // pointer returns 0 at once.
    static std::uint32_t Run(void* run);

private:
    struct Native;

    // What the object and its thread share; it lives until both are done.
    struct Shared
    {
        std::atomic<int> state{NotStarted};
        THREAD_PROC_PTR procedure = nullptr;
        void* argument = nullptr;
    };
    using SharedRef = std::shared_ptr<Shared>;

    // Starts the system thread with `run`, a reference of its own, and takes
    // `run` over when it started.
    void StartNative(std::unique_ptr<SharedRef>& run);

    std::unique_ptr<Native> m_native; // the system thread, or none
    SharedRef m_shared = std::make_shared<Shared>();
};

} // namespace KO
