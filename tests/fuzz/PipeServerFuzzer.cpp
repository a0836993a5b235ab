// KO::LocalSocket::Server serving one client per input over a real local
// socket: the client writes the input in the chunks the first bytes choose
// and closes; the handler reads what arrives, in reads of a size the input
// chooses, until the client is gone. The handler must receive exactly the
// bytes sent, and the server must keep serving the next client.
#include "FuzzInput.h"

#include "base/NamedPipe.h"
#include "base/Server.h"
#include "base/SystemException.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using KO::LOCALSOCKET::NamedPipe;

constexpr auto kServeTimeout = std::chrono::seconds(10);

struct Exchange
{
    std::mutex lock;
    std::condition_variable served;
    std::size_t readSize = 1;
    std::string received;
    bool done = false;
};

Exchange& Shared()
{
    static Exchange exchange;
    return exchange;
}

bool Handle(NamedPipe* client)
{
    Exchange& exchange = Shared();
    std::size_t readSize = 0;
    {
        const std::lock_guard<std::mutex> guard(exchange.lock);
        readSize = exchange.readSize;
    }
    std::string received;
    std::vector<char> buffer(readSize);
    try {
        for (;;) {
            const std::size_t count = client->Read(buffer.data(), buffer.size());
            received.append(buffer.data(), count);
        }
    } catch (const KO::SystemException&) {
        // The client closed its end: the message is complete.
    }
    const std::lock_guard<std::mutex> guard(exchange.lock);
    exchange.received = std::move(received);
    exchange.done = true;
    exchange.served.notify_all();
    return true;
}

const std::wstring& PipeName()
{
    static const std::wstring name = L"ko-fuzz-pipe-" + std::to_wstring(getpid());
    return name;
}

KO::LocalSocket::Server& RunningServer()
{
    static const std::unique_ptr<KO::LocalSocket::Server> server = [] {
        auto started = std::make_unique<KO::LocalSocket::Server>(PipeName().c_str(), 2);
        started->Listen(Handle);
        return started;
    }();
    return *server;
}

void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput::Get();
    RunningServer();
    FuzzedDataProvider provider(data, size);
    Exchange& exchange = Shared();
    {
        const std::lock_guard<std::mutex> guard(exchange.lock);
        exchange.readSize = provider.ConsumeIntegralInRange<std::size_t>(1, 8192);
        exchange.received.clear();
        exchange.done = false;
    }
    std::string sent;
    {
        NamedPipe client(PipeName().c_str());
        if (client.Connect(10000) != 0) {
            Fail("no connection within 10 s");
        }
        while (provider.remaining_bytes() > 0) {
            const std::size_t chunk = provider.ConsumeIntegralInRange<std::size_t>(1, 4096);
            const std::string bytes = provider.ConsumeBytesAsString(chunk);
            if (!bytes.empty()) {
                client.Write(bytes.data(), bytes.size());
                sent += bytes;
            }
        }
    }
    std::unique_lock<std::mutex> guard(exchange.lock);
    if (!exchange.served.wait_for(guard, kServeTimeout, [&] { return exchange.done; })) {
        Fail("the server did not serve the client within 10 s");
    }
    if (exchange.received != sent) {
        std::fprintf(stderr, "sent %zu bytes, the handler read %zu\n", sent.size(),
                     exchange.received.size());
        std::abort();
    }
    return 0;
}
