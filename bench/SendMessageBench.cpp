// Messages per second through CommonUtils::sendMessage to a
// KO::LocalSocket::Server whose handler reads each message to its end,
// against, in the same run:
//   - the same connection made with NamedPipe directly (Connect, Write,
//     Flush, close) to the same server, which is the library's share;
//   - the floor of the raw socket calls (socket, connect, send, SIOCOUTQ
//     until read, close) to a thread that accepts and reads, which is what
//     the system costs.
// sendMessage runs with its log lines suppressed (level ERROR) and written
// to a log file (level INFO, as the page configures it). The argument is
// the message length in characters.
#include "base/Log.h"
#include "base/Logging.h"
#include "base/NamedPipe.h"
#include "base/Server.h"
#include "base/SystemException.h"
#include "base/Unicode.h"
#include "base_ui/utils/CommonUtils.h"

#include <QString>
#include <QTemporaryDir>

#include "RawSocket.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using KO::LOCALSOCKET::NamedPipe;

namespace {

std::atomic<std::int64_t> g_receivedBytes{0};

QString UniqueName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("ko-bench-send-%1-%2").arg(getpid()).arg(++counter);
}

bool ReadToEnd(NamedPipe* client)
{
    char buffer[65536];
    try {
        for (;;) {
            g_receivedBytes += static_cast<std::int64_t>(client->Read(buffer, sizeof(buffer)));
        }
    } catch (const KO::SystemException&) {
    }
    return true;
}

// Whether the server read `bytes` bytes within a few seconds of the last
// message; the count lags the sender only by the handler's bookkeeping.
bool ServerRead(std::int64_t bytes)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (g_receivedBytes < bytes) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return g_receivedBytes == bytes;
}

// A server on a fresh pipe name, reading each client to its end.
class ReadingServer
{
public:
    ReadingServer() : m_name(UniqueName()), m_wideName(m_name.toStdWString())
    {
        g_receivedBytes = 0;
        m_server.Listen(&ReadToEnd);
    }

    const QString& Name() const { return m_name; }
    const std::wstring& WideName() const { return m_wideName; }

private:
    const QString m_name;
    const std::wstring m_wideName;
    KO::LocalSocket::Server m_server{m_wideName.c_str(), 1};
};

QString Message(benchmark::State& state)
{
    return QString(static_cast<qsizetype>(state.range(0)), QLatin1Char('m'));
}

void Finish(benchmark::State& state, std::size_t messageBytes)
{
    const auto bytes = state.iterations() * static_cast<std::int64_t>(messageBytes);
    if (!ServerRead(bytes)) {
        state.SkipWithError("the server did not read every message");
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}

void SendMessages(benchmark::State& state)
{
    const ReadingServer server;
    const QString message = Message(state);
    for (auto _ : state) {
        if (CommonUtils::sendMessage(server.Name(), message) != 0) {
            state.SkipWithError("sendMessage failed");
            break;
        }
    }
    Finish(state, static_cast<std::size_t>(message.size()) * 2);
}

void BM_SendMessageQuiet(benchmark::State& state)
{
    const int level = KO::GetLogLevel();
    KO::SetLogLevel(KO::LOG_LEVEL_ERROR);
    SendMessages(state);
    KO::SetLogLevel(level);
}
BENCHMARK(BM_SendMessageQuiet)->Arg(3)->Arg(2048)->UseRealTime();

void BM_SendMessageLogged(benchmark::State& state)
{
    const QTemporaryDir directory;
    KO::Log::SetPath(directory.filePath(QStringLiteral("bench")).toStdWString());
    KO::Log::SetEncoding(1);
    const int level = KO::GetLogLevel();
    KO::SetLogLevel(KO::LOG_LEVEL_INFO);
    SendMessages(state);
    KO::SetLogLevel(level);
}
BENCHMARK(BM_SendMessageLogged)->Arg(3)->Arg(2048)->UseRealTime();

void BM_NamedPipeConnection(benchmark::State& state)
{
    const ReadingServer server;
    const std::wstring text = Message(state).toStdWString();
    std::string bytes;
    KO::Unicode::AppendUtf16Le(text.data(), text.size(), bytes);
    for (auto _ : state) {
        NamedPipe client(server.WideName().c_str());
        client.Connect(5000);
        client.Write(bytes.data(), bytes.size());
        client.Flush();
    }
    Finish(state, bytes.size());
}
BENCHMARK(BM_NamedPipeConnection)->Arg(3)->Arg(2048)->UseRealTime();

void BM_RawSocketConnection(benchmark::State& state)
{
    char pattern[] = "/tmp/ko-bench-XXXXXX";
    const std::string directory = mkdtemp(pattern);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = directory + "/socket";
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    const auto* socketAddress = reinterpret_cast<const sockaddr*>(&address);

    g_receivedBytes = 0;
    const int listening = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    bind(listening, socketAddress, sizeof(address));
    listen(listening, 0);
    std::thread acceptor([&] {
        char buffer[65536];
        for (;;) {
            const int client = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                return;
            }
            for (ssize_t got; (got = recv(client, buffer, sizeof(buffer), 0)) > 0;) {
                g_receivedBytes += got;
            }
            close(client);
        }
    });

    const std::wstring text = Message(state).toStdWString();
    std::string bytes;
    KO::Unicode::AppendUtf16Le(text.data(), text.size(), bytes);
    for (auto _ : state) {
        const int client = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        connect(client, socketAddress, sizeof(address));
        SendAll(client, bytes.data(), bytes.size());
        WaitUntilRead(client);
        close(client);
    }
    Finish(state, bytes.size());
    shutdown(listening, SHUT_RDWR);
    acceptor.join();
    close(listening);
    unlink(path.c_str());
    rmdir(directory.c_str());
}
BENCHMARK(BM_RawSocketConnection)->Arg(3)->Arg(2048)->UseRealTime();

} // namespace
