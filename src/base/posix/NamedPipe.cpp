#include "base/NamedPipe.h"

#include "base/Error.h"
#include "base/StringConversion.h"
#include "base/SystemException.h"
#include "base/posix/Sha256.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <linux/sockios.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace KO::LOCALSOCKET {

namespace {

using Clock = std::chrono::steady_clock;

const wchar_t* const kOpenFailure = L"LOCALSOCKET::NamedPipe::Open()#CreateNamedPipe fails.";
const wchar_t* const kWaitFailure = L"LOCALSOCKET::NamedPipe::Connect()#WaitNamedPipe fails.";

// Closes a descriptor, keeping errno for the caller's report.
void CloseKeepingErrno(int fd)
{
    const int saved = errno;
    close(fd);
    errno = saved;
}

// The directory of the sockets, the same for every user and environment so
// that a client and a service always meet: $KO_PIPE_DIR when it holds an
// absolute path, else /tmp/ko-pipe.
std::string SocketDirectory()
{
    const char* configured = std::getenv("KO_PIPE_DIR");
    if (configured != nullptr && configured[0] == '/') {
        return configured;
    }
    return "/tmp/ko-pipe";
}

// Opens the socket directory if it can be trusted: a real directory (not a
// symbolic link) that group and others may write only with the sticky bit
// set, as on /tmp, so that nobody but a socket's owner can remove or replace
// it. A server (`create`) also needs the directory to belong to root or to
// its own user, whose directory is the only other one able to replace its
// socket; it makes a missing directory shared (mode 01777) and gives a
// directory of its own that others may write the sticky bit. The descriptor,
// or -1 with errno set.
int OpenDirectory(const std::string& directory, bool create)
{
    const bool made = create && mkdir(directory.c_str(), 0700) == 0;
    if (create && !made && errno != EEXIST) {
        return -1;
    }
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat status
    {};
    int error = fstat(fd, &status) == 0 ? 0 : errno;
    const bool own = status.st_uid == geteuid();
    if (error == 0 && create && !own && status.st_uid != 0) {
        error = EACCES;
    }
    const bool othersWrite = (status.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    if (error == 0 && (made || (othersWrite && (status.st_mode & S_ISVTX) == 0))) {
        if (!create || !own) {
            error = EACCES;
        } else if (fchmod(fd, made ? 01777 : (status.st_mode & 07777) | S_ISVTX) != 0) {
            error = errno;
        }
    }
    if (error != 0) {
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// A name encoded longer than this becomes a digest, so that every name fits
// the address of a socket.
constexpr std::size_t kLongestPlainFileName = 64;

// The file name of a pipe inside the directory: the name after the prefix
// in UTF-8, with '/', '%', control bytes and a leading '.' written as %XX,
// so that no name reaches outside the directory. An encoding longer than
// kLongestPlainFileName is replaced by ".." and the hexadecimal SHA-256 of
// the encoding. Plain names never begin with '.', lock files ("." + a plain
// name) never with "..", and digests ("..", lock "...") are distinct for
// distinct names, so no two pipes share a file. Empty for a name that has
// nothing after the prefix.
std::string FileName(const std::wstring& shortName)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : String::ToNarrow(shortName)) {
        const auto byte = static_cast<unsigned char>(c);
        const bool escape = byte == '/' || byte == '%' || byte < 0x20 || byte == 0x7F ||
                            (encoded.empty() && c == '.');
        if (escape) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        } else {
            encoded += c;
        }
    }
    if (encoded.size() <= kLongestPlainFileName) {
        return encoded;
    }
    std::string digest = "..";
    for (const std::uint8_t byte : Posix::Sha256(encoded)) {
        digest += kHex[byte >> 4];
        digest += kHex[byte & 0xF];
    }
    return digest;
}

// The trusted socket directory, held open, and the file names of one pipe in
// it: the socket and the lock that claims its name.
struct Location
{
    int directory = -1;
    std::string directoryPath;
    std::string file;

    Location() = default;
    Location(const Location&) = delete;
    Location& operator=(const Location&) = delete;
    ~Location()
    {
        if (directory >= 0) {
            close(directory);
        }
    }

    std::string SocketPath() const { return directoryPath + "/" + file; }
    std::string LockFile() const { return "." + file; }
    // The socket's address through the open directory: short whatever the
    // directory's path, and immune to the path being swapped meanwhile.
    std::string Address() const
    {
        return "/proc/self/fd/" + std::to_string(directory) + "/" + file;
    }
};

// 0 and the location, or the errno value. `create` makes the directory.
int Locate(const std::wstring& shortName, bool create, Location& location)
{
    location.file = FileName(shortName);
    if (location.file.empty()) {
        return EINVAL;
    }
    location.directoryPath = SocketDirectory();
    location.directory = OpenDirectory(location.directoryPath, create);
    return location.directory < 0 ? errno : 0;
}

sockaddr_un SocketAddress(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

int ConnectSocket(int fd, const std::string& path)
{
    const sockaddr_un address = SocketAddress(path);
    return connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
}

// Milliseconds left until the deadline for poll: -1 without a limit.
int PollTimeout(unsigned int timeoutMs, Clock::time_point deadline)
{
    if (timeoutMs == NamedPipe::kInfinite) {
        return -1;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

void SetSendTimeout(int fd, std::chrono::milliseconds timeout)
{
    timeval value{};
    value.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    value.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof(value));
}

} // namespace

// A client or accepted connection holds only `socket`. A server holds the
// listening socket, the lock on the name (kept while it serves, so that a
// second server fails and a socket left by a dead one can be replaced) and
// the socket file it removes when it closes.
struct NamedPipe::Native
{
    int socket = -1;
    int nameLock = -1;
    std::string socketPath;

    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    ~Native()
    {
        if (!socketPath.empty()) {
            unlink(socketPath.c_str());
        }
        if (socket >= 0) {
            close(socket);
        }
        if (nameLock >= 0) {
            close(nameLock);
        }
    }
};

NamedPipe::NamedPipe(const wchar_t* name)
    : m_name(FullName(name)), m_native(std::make_unique<Native>())
{}

NamedPipe::NamedPipe(Handle handle) : m_native(std::make_unique<Native>())
{
    if (handle < 0 || handle > INT_MAX) {
        throw Error(L"LOCALSOCKET::NamedPipe::NamedPipe(HANDLE)#Invalid Parameters.");
    }
    m_native->socket = static_cast<int>(handle);
    m_connected = true;
}

NamedPipe::~NamedPipe() = default;

void NamedPipe::Open()
{
    if (m_native->nameLock >= 0) {
        return; // the listening socket already takes every client
    }
    Location location;
    const int error = Locate(ShortName(m_name), true, location);
    if (error != 0) {
        throw SystemException(kOpenFailure, error);
    }
    auto server = std::make_unique<Native>();
    server->nameLock = openat(location.directory, location.LockFile().c_str(),
                              O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (server->nameLock < 0) {
        throw SystemException(kOpenFailure, errno);
    }
    if (flock(server->nameLock, LOCK_EX | LOCK_NB) != 0) {
        throw SystemException(kOpenFailure, errno == EWOULDBLOCK ? EADDRINUSE : errno);
    }
    // Holding the lock, any socket file left at the path is a dead server's.
    unlinkat(location.directory, location.file.c_str(), 0);
    server->socket = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (server->socket < 0) {
        throw SystemException(kOpenFailure, errno);
    }
    const sockaddr_un address = SocketAddress(location.Address());
    if (bind(server->socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        throw SystemException(kOpenFailure, errno);
    }
    server->socketPath = location.SocketPath();
    // Clients of every user may connect; the directory decides who reaches
    // the socket at all.
    if (fchmodat(location.directory, location.file.c_str(), 0666, 0) != 0) {
        throw SystemException(kOpenFailure, errno);
    }
    // A backlog of 0 admits one waiting client, like the one free instance
    // of a pipe server: further clients wait in Connect.
    if (listen(server->socket, 0) != 0) {
        throw SystemException(kOpenFailure, errno);
    }
    m_native = std::move(server);
}

std::unique_ptr<NamedPipe> NamedPipe::AcceptWithin(unsigned int timeoutMs, const wchar_t* failure)
{
    if (m_native->nameLock < 0) {
        m_connected = false;
        throw SystemException(failure, EINVAL);
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd listening{m_native->socket, POLLIN, 0};
        const int ready = poll(&listening, 1, PollTimeout(timeoutMs, deadline));
        if (ready == 0) {
            m_connected = false;
            return nullptr;
        }
        if (ready < 0 && errno != EINTR) {
            m_connected = false;
            throw SystemException(failure, errno);
        }
        const int client = accept4(m_native->socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            m_connected = true;
            return std::make_unique<NamedPipe>(static_cast<Handle>(client));
        }
        // A client that gave up between poll and accept is no failure.
        if (errno != EAGAIN && errno != ECONNABORTED && errno != EINTR) {
            m_connected = false;
            throw SystemException(failure, errno);
        }
    }
}

int NamedPipe::Connect(unsigned int timeoutMs)
{
    Location location;
    const int error = Locate(ShortName(m_name), false, location);
    if (error != 0) {
        throw SystemException(kWaitFailure, error);
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        throw SystemException(L"LOCALSOCKET::NamedPipe::Connect()#CreateFile fails.", errno);
    }
    // A blocking connect waits for room in the server's backlog for as long
    // as the send time-out allows (0: no limit), then fails with EAGAIN.
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (timeoutMs != 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                close(fd);
                return -1;
            }
            SetSendTimeout(fd, left);
        }
        if (ConnectSocket(fd, location.Address()) == 0) {
            break;
        }
        if (errno == EAGAIN) {
            close(fd);
            return -1;
        }
        if (errno != EINTR) {
            CloseKeepingErrno(fd);
            throw SystemException(kWaitFailure, errno);
        }
    }
    SetSendTimeout(fd, std::chrono::milliseconds(0));
    m_native = std::make_unique<Native>();
    m_native->socket = fd;
    m_connected = true;
    return 0;
}

std::size_t NamedPipe::ReadSome(void* buffer, std::size_t size)
{
    const wchar_t* const failure =
        L"LOCALSOCKET::NamedPipe::Read(void*, std::size_t)#ReadFile fails.";
    for (;;) {
        const ssize_t read = recv(m_native->socket, buffer, size, 0);
        if (read > 0) {
            return static_cast<std::size_t>(read);
        }
        if (read == 0) {
            // The peer closed its end: a broken pipe, as on Windows.
            throw SystemException(failure, EPIPE);
        }
        if (errno != EINTR) {
            throw SystemException(failure, errno);
        }
    }
}

void NamedPipe::WriteAll(const void* buffer, std::size_t size)
{
    // A blocking stream send returns early only when a signal interrupts it;
    // the rest is sent on, so the call still writes all or fails.
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t result = send(m_native->socket, bytes + sent, size - sent, MSG_NOSIGNAL);
        if (result < 0 && errno != EINTR) {
            throw SystemException(
                L"LOCALSOCKET::NamedPipe::Write(const void*, std::size_t)#WriteFile fails.", errno);
        }
        sent += result > 0 ? static_cast<std::size_t>(result) : 0;
    }
}

void NamedPipe::Flush()
{
    const wchar_t* const failure = L"LOCALSOCKET::NamedPipe::Flush()#FlushFileBuffers fails.";
    // The bytes a stream socket has sent stay charged to it until the peer
    // has read them, or until the peer closes and the system drops them; in
    // that case the peer's close leaves ECONNRESET pending on this socket
    // before the bytes are dropped. Nothing signals the moment, so poll:
    // first by giving the reader the processor, then with a growing pause.
    constexpr int kYields = 64;
    auto pause = std::chrono::microseconds(20);
    for (int round = 0;; ++round) {
        int unread = 0;
        if (ioctl(m_native->socket, SIOCOUTQ, &unread) != 0) {
            throw SystemException(failure, errno);
        }
        if (unread == 0) {
            int pending = 0;
            socklen_t length = sizeof(pending);
            if (getsockopt(m_native->socket, SOL_SOCKET, SO_ERROR, &pending, &length) != 0) {
                throw SystemException(failure, errno);
            }
            if (pending != 0) {
                throw SystemException(failure, pending);
            }
            return;
        }
        if (round < kYields) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(2000));
        }
    }
}

} // namespace KO::LOCALSOCKET
