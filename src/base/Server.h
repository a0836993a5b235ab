#pragma once

#include "base/Mutex.h"
#include "base/NamedPipe.h"
#include "base/NotCopyable.h"
#include "base/Semaphore.h"
#include "base/Thread.h"

#include <atomic>
#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace KO {
class SystemException;
} // namespace KO

namespace KO::LocalSocket {

// Serves one connected client on a worker thread. True when the handler is
// done with the client: the server closes and deletes it. False to keep the
// connection: the server retains the client until it is destroyed.
using PFUNC_CLIENT_HANDLE = bool (*)(LOCALSOCKET::NamedPipe* client);

// A small multi-threaded server on a named pipe. Listen claims the name and
// starts one listener thread, which accepts clients (waiting at most
// kAcceptTimeoutMs at a time, so that it notices the stop) and queues them,
// and the worker threads, each of which takes one queued client at a time
// and passes it to the handler. With no workers, clients are accepted and
// queued but never handled.
//
// Destruction stops the listener within about one accept time-out and the
// workers once their current handler returns (a handler that never returns
// blocks it), then closes and deletes every client still queued and every
// retained client: pointers that handlers kept must not be used after the
// server is gone. A handler that throws has its client closed and deleted.
//
// Listen and the destructor are called from one thread; the counts may be
// read from any thread.
class Server : private NotCopyable
{
public:
    static constexpr unsigned int kAcceptTimeoutMs = 100;

    // Throws Error for a null name. Starts nothing.
    Server(const wchar_t* name, std::size_t workerCount);
    ~Server();

    // Opens the pipe (claiming the name: SystemException when another server
    // serves it), then starts workerCount workers and, on the first call, the
    // listener. Throws Error for a null handler, SystemException when the pipe
    // cannot be opened or a thread cannot start.
    void Listen(PFUNC_CLIENT_HANDLE handler);

    // Clients accepted and waiting for a worker.
    std::size_t GetPendingCount() const;
    // Clients whose handler returned false.
    std::size_t GetRetainedCount() const;

    // Writes the report of a failed wake-up of the workers at shutdown (the
    // destructor goes on after it) to standard output through Console, like
    // every console report of the library.
    static void ReportWakeUpFailure(const SystemException& failure) noexcept;

private:
    static std::uint32_t ListenerProcedure(void* server);
    static std::uint32_t WorkerProcedure(void* server);

    void AcceptClients();
    void ServeClients();
    void Enqueue(std::unique_ptr<LOCALSOCKET::NamedPipe> client);
    std::unique_ptr<LOCALSOCKET::NamedPipe> Dequeue();
    void Serve(std::unique_ptr<LOCALSOCKET::NamedPipe> client);
    void WakeWorkersToStop();

    const std::wstring m_name;
    const std::size_t m_workerCount;
    std::unique_ptr<LOCALSOCKET::NamedPipe> m_listeningPipe;

    std::deque<std::unique_ptr<LOCALSOCKET::NamedPipe>> m_pending;
    mutable Mutex m_pendingLock;
    std::vector<std::unique_ptr<LOCALSOCKET::NamedPipe>> m_retained;
    mutable Mutex m_retainedLock;

    std::vector<std::unique_ptr<Thread>> m_workers;
    std::unique_ptr<Thread> m_listener;
    std::atomic<PFUNC_CLIENT_HANDLE> m_handler{nullptr};
    std::atomic<bool> m_running{false};
    Semaphore m_wakeUp; // one count per queued client
};

} // namespace KO::LocalSocket
