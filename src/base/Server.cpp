#include "base/Server.h"

#include "base/Console.h"
#include "base/Error.h"
#include "base/ScopedLock.h"
#include "base/SystemException.h"

#include <chrono>
#include <thread>

namespace KO::LocalSocket {

using LOCALSOCKET::NamedPipe;

namespace {

const wchar_t* NonNullName(const wchar_t* name)
{
    if (name == nullptr) {
        throw Error(L"Server::Server(const wchar_t*, const std::size_t)#Invalid Parameters.");
    }
    return name;
}

} // namespace

Server::Server(const wchar_t* name, std::size_t workerCount)
    : m_name(NonNullName(name)), m_workerCount(workerCount)
{}

Server::~Server()
{
    m_running = false;
    WakeWorkersToStop();
    for (const auto& worker : m_workers) {
        try {
            worker->Join();
        } catch (const SystemException&) {
            // The thread cannot be waited for; nothing else to do for it.
        }
    }
    if (m_listener) {
        try {
            m_listener->Join();
        } catch (const SystemException&) {
        }
    }
    // The members close the listening pipe and the queued and retained clients.
}

void Server::Listen(PFUNC_CLIENT_HANDLE handler)
{
    if (handler == nullptr) {
        throw Error(L"LocalSocket::Listen(PFUNC_CLIENT_HANDLE)#Invalid Parameters.");
    }
    if (!m_listeningPipe) {
        auto pipe = std::make_unique<NamedPipe>(m_name.c_str());
        pipe->Open();
        m_listeningPipe = std::move(pipe);
    }
    m_handler = handler;
    m_running = true;
    for (std::size_t i = 0; i < m_workerCount; ++i) {
        m_workers.push_back(std::make_unique<Thread>());
        m_workers.back()->Start(WorkerProcedure, this);
    }
    if (!m_listener) {
        auto listener = std::make_unique<Thread>();
        listener->Start(ListenerProcedure, this);
        m_listener = std::move(listener);
    }
}

std::size_t Server::GetPendingCount() const
{
    ScopedLock lock(m_pendingLock);
    return m_pending.size();
}

std::size_t Server::GetRetainedCount() const
{
    ScopedLock lock(m_retainedLock);
    return m_retained.size();
}

// static
std::uint32_t Server::ListenerProcedure(void* server)
{
    static_cast<Server*>(server)->AcceptClients();
    return 0;
}

// static
std::uint32_t Server::WorkerProcedure(void* server)
{
    static_cast<Server*>(server)->ServeClients();
    return 0;
}

void Server::AcceptClients()
{
    while (m_running) {
        try {
            auto client = m_listeningPipe->WaitForConnection(kAcceptTimeoutMs);
            if (client) {
                Enqueue(std::move(client));
            }
        } catch (const SystemException&) {
            // A failing instance must not turn the loop into a busy spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(kAcceptTimeoutMs));
        }
    }
}

void Server::ServeClients()
{
    while (m_running) {
        try {
            m_wakeUp.Wait();
        } catch (const SystemException&) {
        }
        if (!m_running) {
            break;
        }
        auto client = Dequeue();
        if (client) {
            Serve(std::move(client));
        }
    }
}

void Server::Enqueue(std::unique_ptr<NamedPipe> client)
{
    ScopedLock lock(m_pendingLock);
    m_pending.push_back(std::move(client));
    m_wakeUp.Notify();
}

std::unique_ptr<NamedPipe> Server::Dequeue()
{
    ScopedLock lock(m_pendingLock);
    if (m_pending.empty()) {
        return nullptr;
    }
    auto client = std::move(m_pending.front());
    m_pending.pop_front();
    return client;
}

void Server::Serve(std::unique_ptr<NamedPipe> client)
{
    bool finished = true;
    try {
        finished = m_handler.load()(client.get());
    } catch (...) {
        // An exception must not end the worker (and with it the process).
    }
    if (!finished) {
        ScopedLock lock(m_retainedLock);
        m_retained.push_back(std::move(client));
    }
}

void Server::WakeWorkersToStop()
{
    // One count per worker: each worker, whether it waits already or is about
    // to, takes at most one count once running is false, and then ends.
    try {
        for (std::size_t i = 0; i < m_workers.size(); ++i) {
            m_wakeUp.Notify();
        }
    } catch (const SystemException& exception) {
        ReportWakeUpFailure(exception);
    }
}

// static
void Server::ReportWakeUpFailure(const SystemException& failure) noexcept
{
    // Through Console, which writes narrow text: a wide write would fix the
    // stream's orientation, and the C library would then drop every narrow
    // report written after it.
    try {
        std::wstring report =
            L"KO::LocalSocket::Server::~Server#Semaphore::NotifyAll fails, errMsg:";
        report += failure.GetErrMsg();
        report += L", errNum:" + std::to_wstring(failure.GetErrNum());
        Console::Out(report);
    } catch (...) {
        // Nowhere is left to report to.
    }
}

} // namespace KO::LocalSocket
