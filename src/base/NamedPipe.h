#pragma once

#include "base/NotCopyable.h"
#include "base/Object.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace KO::LOCALSOCKET {

// One endpoint of a local byte stream between processes of one machine: a
// named pipe "\\.\pipe\NAME" in byte mode on Windows, a Unix-domain stream
// socket in one directory that every user and environment agrees on on POSIX
// ($KO_PIPE_DIR when it is an absolute path, else /tmp/ko-pipe; see
// docs/ARCHITECTURE.md for its permissions). The socket's file name is the
// name, encoded so that it never leaves that directory, or the SHA-256 of a
// name too long for a socket address; names of up to 4095 characters work.
//
// As a server: Open, then WaitForConnection hands each connected client over
// as a new object and leaves a fresh instance behind, so the same object
// accepts again. The first Open of an object claims the name: it fails while
// another server (of any process) serves it. On Windows the instances accept
// no remote clients. As a client: Connect. Either side then Reads, Writes and
// Flushes; the stream carries raw bytes without framing.
//
// The object owns its handle and closes it when destroyed. One thread at a
// time uses an object; Read, Write, Flush and the waits block the caller.
// Invalid arguments throw Error; failed system calls throw SystemException
// with the system's error number (GetLastError on Windows, errno on POSIX).
// Time-outs are results, not exceptions.
class NamedPipe : public Object, private NotCopyable
{
public:
    // The system's handle of a connected pipe, as an integer: a HANDLE on
    // Windows, a socket descriptor on POSIX.
    using Handle = std::intptr_t;

    static constexpr unsigned int kInfinite = 0xFFFFFFFF;

    // Stores the name, with "\\.\pipe\" put in front unless it begins with
    // it. Creates nothing. Throws Error for a null name.
    explicit NamedPipe(const wchar_t* name);

    // Takes ownership of an already connected handle; the name stays empty.
    // Throws Error for a handle that cannot be valid.
    explicit NamedPipe(Handle handle);

    ~NamedPipe() override;

    // Creates a server instance (duplex, byte mode, 40960-byte buffers) that
    // replaces the current one.
    void Open();

    // Waits for a client on the current instance, opens a fresh instance and
    // returns the connected one. A client that connected before the call
    // counts.
    std::unique_ptr<NamedPipe> WaitForConnection();

    // The same within timeoutMs milliseconds (kInfinite: no limit); null when
    // no client came in time, leaving the instance ready for the next call.
    std::unique_ptr<NamedPipe> WaitForConnection(unsigned int timeoutMs);

    // Client side: waits up to timeoutMs milliseconds (0: no limit) for a free
    // instance and opens it. 0 when connected, -1 on time-out. A pipe that no
    // server created throws SystemException at once.
    int Connect(unsigned int timeoutMs);

    // Reads once; returns the number of bytes read, at most size, which is
    // fewer when fewer were waiting. A peer that has closed its end throws.
    std::size_t Read(void* buffer, std::size_t size);

    // Writes the whole buffer in one call; a partial write throws.
    void Write(const void* buffer, std::size_t size);

    // Waits until the peer has read everything written.
    void Flush();

    const std::wstring& GetName() const noexcept { return m_name; }
    bool IsConnected() const noexcept { return m_connected; }

private:
    struct Native;

    // The name with the prefix in front; throws Error for null.
    static std::wstring FullName(const wchar_t* name);
    // The part of a full name after the prefix; empty for a name without it.
    static std::wstring ShortName(const std::wstring& fullName);

    std::unique_ptr<NamedPipe> AcceptWithin(unsigned int timeoutMs, const wchar_t* failure);
    std::size_t ReadSome(void* buffer, std::size_t size);
    void WriteAll(const void* buffer, std::size_t size);

    std::wstring m_name;
    std::unique_ptr<Native> m_native;
    bool m_connected = false;
};

} // namespace KO::LOCALSOCKET
