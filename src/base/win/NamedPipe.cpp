#include "base/NamedPipe.h"

#include "base/Error.h"
#include "base/SystemException.h"
#include "base/win/UniqueHandle.h"

#include <algorithm>
#include <chrono>

#include <windows.h>

namespace KO::LOCALSOCKET {

using Win::UniqueHandle;

namespace {

constexpr DWORD kBufferSize = 40960;

std::int32_t LastError()
{
    return static_cast<std::int32_t>(GetLastError());
}

// A new server instance. Only the first instance of a name may claim it:
// with `first` the call fails while any instance of the name exists, so that
// no other process can have created the pipe this server believes it owns.
// The flag alone is not enough where the system ignores it, so the new
// instance must also be the only one.
UniqueHandle CreateInstance(const std::wstring& name, bool first)
{
    const wchar_t* const failure = L"LOCALSOCKET::NamedPipe::Open()#CreateNamedPipe fails.";
    const DWORD openMode =
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    const DWORD pipeMode =
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS;
    UniqueHandle instance = Win::AdoptFileHandle(
        CreateNamedPipeW(name.c_str(), openMode, pipeMode, PIPE_UNLIMITED_INSTANCES, kBufferSize,
                         kBufferSize, 0, nullptr));
    if (!instance) {
        throw SystemException(failure, LastError());
    }
    DWORD instances = 0;
    if (first && !GetNamedPipeHandleStateW(instance.get(), nullptr, &instances, nullptr, nullptr,
                                           nullptr, 0)) {
        throw SystemException(failure, LastError());
    }
    if (first && instances != 1) {
        throw SystemException(failure, ERROR_ACCESS_DENIED);
    }
    return instance;
}

// A manual-reset event, not signalled, for one overlapped operation at a time.
UniqueHandle CreateIoEvent(const wchar_t* failure)
{
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) {
        throw SystemException(failure, LastError());
    }
    return event;
}

// Runs one ReadFile or WriteFile through an overlapped record and waits for
// it. Server instances are opened for overlapped I/O, where a call without a
// record may report completion too early; on a handle opened without it the
// call simply completes before returning. False with GetLastError set on
// failure.
template <typename Call>
bool TransferAndWait(HANDLE pipe, HANDLE event, DWORD& transferred, Call call)
{
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    if (!call(&overlapped) && GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &transferred, TRUE) != FALSE;
}

} // namespace

struct NamedPipe::Native
{
    UniqueHandle pipe;    // the current instance, or none
    UniqueHandle ioEvent; // made on the first Read or Write

    HANDLE IoEvent(const wchar_t* failure)
    {
        if (!ioEvent) {
            ioEvent = CreateIoEvent(failure);
        }
        return ioEvent.get();
    }
};

NamedPipe::NamedPipe(const wchar_t* name)
    : m_name(FullName(name)), m_native(std::make_unique<Native>())
{}

NamedPipe::NamedPipe(Handle handle) : m_native(std::make_unique<Native>())
{
    const auto native = reinterpret_cast<HANDLE>(handle);
    if (native == nullptr || native == INVALID_HANDLE_VALUE) {
        throw Error(L"LOCALSOCKET::NamedPipe::NamedPipe(HANDLE)#Invalid Parameters.");
    }
    m_native->pipe.reset(native);
    m_connected = true;
}

NamedPipe::~NamedPipe() = default;

void NamedPipe::Open()
{
    // An object that holds an instance owns the name already.
    m_native->pipe = CreateInstance(m_name, !m_native->pipe);
}

std::unique_ptr<NamedPipe> NamedPipe::AcceptWithin(unsigned int timeoutMs, const wchar_t* failure)
{
    const HANDLE pipe = m_native->pipe.get();
    const UniqueHandle event = CreateIoEvent(failure);
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    if (ConnectNamedPipe(pipe, &overlapped)) {
        // An overlapped connect never completes in the call itself.
        m_connected = false;
        throw SystemException(failure, LastError());
    }
    DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) {
        if (WaitForSingleObject(event.get(), timeoutMs) != WAIT_OBJECT_0) {
            CancelIoEx(pipe, &overlapped);
        }
        // Waits for the cancellation too, so the record is no longer in use;
        // a client that came in just before it is still accepted.
        DWORD ignored = 0;
        error =
            GetOverlappedResult(pipe, &overlapped, &ignored, TRUE) ? ERROR_SUCCESS : GetLastError();
    }
    switch (error) {
    case ERROR_SUCCESS:
    case ERROR_PIPE_CONNECTED: // the client came before the call
    case ERROR_NO_DATA:        // and has already closed; its bytes are still readable
        break;
    case ERROR_OPERATION_ABORTED:
        DisconnectNamedPipe(pipe);
        m_connected = false;
        return nullptr;
    default:
        m_connected = false;
        throw SystemException(failure, static_cast<std::int32_t>(error));
    }
    m_connected = true;
    // The fresh instance is created while the connected one still exists, so
    // the name stays claimed throughout.
    UniqueHandle fresh = CreateInstance(m_name, false);
    auto client = std::make_unique<NamedPipe>(reinterpret_cast<Handle>(m_native->pipe.release()));
    m_native->pipe = std::move(fresh);
    return client;
}

int NamedPipe::Connect(unsigned int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        DWORD wait = NMPWAIT_WAIT_FOREVER;
        if (timeoutMs != 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return -1;
            }
            wait = static_cast<DWORD>(left.count());
        }
        if (!WaitNamedPipeW(m_name.c_str(), wait)) {
            const std::int32_t error = LastError();
            if (error == ERROR_SEM_TIMEOUT) {
                return -1;
            }
            throw SystemException(L"LOCALSOCKET::NamedPipe::Connect()#WaitNamedPipe fails.", error);
        }
        // The server may identify this client but not act in its name.
        UniqueHandle pipe = Win::AdoptFileHandle(
            CreateFileW(m_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
        if (pipe) {
            m_native->pipe = std::move(pipe);
            m_connected = true;
            return 0;
        }
        const std::int32_t error = LastError();
        if (error != ERROR_PIPE_BUSY) {
            throw SystemException(L"LOCALSOCKET::NamedPipe::Connect()#CreateFile fails.", error);
        }
        // Another client took the free instance first: wait for the next one.
    }
}

std::size_t NamedPipe::ReadSome(void* buffer, std::size_t size)
{
    const wchar_t* const failure =
        L"LOCALSOCKET::NamedPipe::Read(void*, std::size_t)#ReadFile fails.";
    const HANDLE pipe = m_native->pipe.get();
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
    DWORD read = 0;
    const bool done = TransferAndWait(pipe, m_native->IoEvent(failure), read, [&](OVERLAPPED* o) {
        return ReadFile(pipe, buffer, wanted, nullptr, o);
    });
    if (!done) {
        throw SystemException(failure, LastError());
    }
    return read;
}

void NamedPipe::WriteAll(const void* buffer, std::size_t size)
{
    const wchar_t* const failure =
        L"LOCALSOCKET::NamedPipe::Write(const void*, std::size_t)#WriteFile fails.";
    const HANDLE pipe = m_native->pipe.get();
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
    DWORD written = 0;
    const bool done =
        TransferAndWait(pipe, m_native->IoEvent(failure), written,
                        [&](OVERLAPPED* o) { return WriteFile(pipe, buffer, wanted, nullptr, o); });
    if (!done) {
        throw SystemException(failure, LastError());
    }
    if (written != size) {
        throw SystemException(failure, ERROR_WRITE_FAULT);
    }
}

void NamedPipe::Flush()
{
    if (!FlushFileBuffers(m_native->pipe.get())) {
        throw SystemException(L"LOCALSOCKET::NamedPipe::Flush()#FlushFileBuffers fails.",
                              LastError());
    }
}

} // namespace KO::LOCALSOCKET
