// Messages per second from a client NamedPipe to a server that reads them,
// against the floor of the same socket calls made directly (send, recv,
// connect, accept, SIOCOUTQ), in the same run:
//   - Stream: messages of N bytes on one connection;
//   - PerConnection: one 6-byte message per connection, written, flushed and
//     closed as a sender of text messages does.
#include "base/NamedPipe.h"
#include "base/SystemException.h"

#include "RawSocket.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <string>
#include <thread>

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using KO::LOCALSOCKET::NamedPipe;

namespace {

std::wstring UniqueName()
{
    static std::atomic<int> counter{0};
    return L"ko-bench-" + std::to_wstring(getpid()) + L"-" + std::to_wstring(++counter);
}

// Reads from the pipe until the peer closes it.
void DrainPipe(NamedPipe& pipe)
{
    char buffer[65536];
    try {
        for (;;) {
            pipe.Read(buffer, sizeof(buffer));
        }
    } catch (const KO::SystemException&) {
    }
}

void DrainSocket(int fd)
{
    char buffer[65536];
    while (recv(fd, buffer, sizeof(buffer), 0) > 0) {
    }
}

void Count(benchmark::State& state, std::size_t messageSize)
{
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(messageSize));
}

void BM_NamedPipeStream(benchmark::State& state)
{
    const std::wstring name = UniqueName();
    NamedPipe server(name.c_str());
    server.Open();
    auto client = std::make_unique<NamedPipe>(name.c_str());
    client->Connect(5000);
    const auto connected = server.WaitForConnection(5000);
    std::thread reader([&] { DrainPipe(*connected); });

    const std::string message(static_cast<std::size_t>(state.range(0)), 'm');
    for (auto _ : state) {
        client->Write(message.data(), message.size());
    }
    client->Flush();
    client.reset();
    reader.join();
    Count(state, message.size());
}
BENCHMARK(BM_NamedPipeStream)->Arg(6)->Arg(64)->Arg(4096)->UseRealTime();

void BM_RawSocketStream(benchmark::State& state)
{
    int ends[2];
    socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends);
    std::thread reader([&] { DrainSocket(ends[1]); });

    const std::string message(static_cast<std::size_t>(state.range(0)), 'm');
    for (auto _ : state) {
        SendAll(ends[0], message.data(), message.size());
    }
    WaitUntilRead(ends[0]);
    close(ends[0]);
    reader.join();
    close(ends[1]);
    Count(state, message.size());
}
BENCHMARK(BM_RawSocketStream)->Arg(6)->Arg(64)->Arg(4096)->UseRealTime();

constexpr char kMessage[] = "a\0b\0c\0";
constexpr std::size_t kMessageSize = sizeof(kMessage) - 1;

void BM_NamedPipePerConnection(benchmark::State& state)
{
    const std::wstring name = UniqueName();
    NamedPipe server(name.c_str());
    server.Open();
    std::atomic<bool> running{true};
    std::thread acceptor([&] {
        while (running) {
            if (auto client = server.WaitForConnection(20)) {
                DrainPipe(*client);
            }
        }
    });

    for (auto _ : state) {
        NamedPipe client(name.c_str());
        client.Connect(5000);
        client.Write(kMessage, kMessageSize);
        client.Flush();
    }
    running = false;
    acceptor.join();
    Count(state, kMessageSize);
}
BENCHMARK(BM_NamedPipePerConnection)->UseRealTime();

void BM_RawSocketPerConnection(benchmark::State& state)
{
    char pattern[] = "/tmp/ko-bench-XXXXXX";
    const std::string directory = mkdtemp(pattern);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = directory + "/socket";
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    const auto* socketAddress = reinterpret_cast<const sockaddr*>(&address);

    const int listening = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    bind(listening, socketAddress, sizeof(address));
    listen(listening, 0);
    std::thread acceptor([&] {
        for (;;) {
            const int client = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                return;
            }
            DrainSocket(client);
            close(client);
        }
    });

    for (auto _ : state) {
        const int client = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        connect(client, socketAddress, sizeof(address));
        SendAll(client, kMessage, kMessageSize);
        WaitUntilRead(client);
        close(client);
    }
    shutdown(listening, SHUT_RDWR);
    acceptor.join();
    close(listening);
    unlink(path.c_str());
    rmdir(directory.c_str());
    Count(state, kMessageSize);
}
BENCHMARK(BM_RawSocketPerConnection)->UseRealTime();

} // namespace
