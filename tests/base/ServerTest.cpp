#include "base/Server.h"
#include "base/Error.h"
#include "base/SystemException.h"

#include "PipeTestSupport.h"
#include "StdoutCapture.h"

#include "base/Console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <set>
#include <stdexcept>
#include <vector>

using KO::LOCALSOCKET::NamedPipe;
using KO::LocalSocket::Server;
using KoTest::Eventually;
using KoTest::UniqueName;

namespace {

constexpr unsigned int kGenerousMs = 10000;

// What the handlers saw. Handlers are plain functions, so their record is
// global; each test starts it afresh.
struct Record
{
    std::mutex lock;
    std::multiset<std::uint32_t> clients;
    std::atomic<int> calls{0};

    void Reset()
    {
        std::lock_guard<std::mutex> guard(lock);
        clients.clear();
        calls = 0;
    }
};
Record g_record;

// Reads the client's number, answers with the number plus one, and is done.
bool Echo(NamedPipe* client)
{
    std::uint32_t number = 0;
    auto* bytes = reinterpret_cast<char*>(&number);
    for (std::size_t got = 0; got < sizeof(number);) {
        got += client->Read(bytes + got, sizeof(number) - got);
    }
    {
        std::lock_guard<std::mutex> guard(g_record.lock);
        g_record.clients.insert(number);
    }
    ++number;
    client->Write(&number, sizeof(number));
    ++g_record.calls;
    return true;
}

// Keeps every client open.
bool Retain(NamedPipe*)
{
    ++g_record.calls;
    return false;
}

bool Throw(NamedPipe*)
{
    ++g_record.calls;
    throw std::runtime_error("handler failed");
}

// Sends the number and returns the server's answer.
std::uint32_t Ask(const std::wstring& name, std::uint32_t number)
{
    NamedPipe client(name.c_str());
    if (client.Connect(kGenerousMs) != 0) {
        ADD_FAILURE() << "client " << number << " timed out";
        return 0;
    }
    client.Write(&number, sizeof(number));
    std::uint32_t answer = 0;
    auto* bytes = reinterpret_cast<char*>(&answer);
    for (std::size_t got = 0; got < sizeof(answer);) {
        got += client.Read(bytes + got, sizeof(answer) - got);
    }
    return answer;
}

// Whether the server closed this client: a read then fails.
bool ClosedByServer(NamedPipe& client)
{
    char byte = 0;
    try {
        client.Read(&byte, 1);
        return false;
    } catch (const KO::SystemException&) {
        return true;
    }
}

std::chrono::steady_clock::duration TimeToDestroy(std::unique_ptr<Server>& server)
{
    const auto start = std::chrono::steady_clock::now();
    server.reset();
    return std::chrono::steady_clock::now() - start;
}

class ServerTest : public testing::Test
{
protected:
    void SetUp() override { g_record.Reset(); }
};

} // namespace

TEST_F(ServerTest, InvalidArgumentsThrowError)
{
    try {
        Server server(nullptr, 1);
        FAIL() << "no Error for a null name";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"Server::Server(const wchar_t*, const std::size_t)#Invalid Parameters.");
    }
    Server server(UniqueName(L"args").c_str(), 1);
    try {
        server.Listen(nullptr);
        FAIL() << "no Error for a null handler";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"LocalSocket::Listen(PFUNC_CLIENT_HANDLE)#Invalid Parameters.");
    }
}

TEST_F(ServerTest, FourWorkersServeTwoHundredClientsWithoutLosingOne)
{
    const std::wstring name = UniqueName(L"many");
    auto server = std::make_unique<Server>(name.c_str(), 4);
    server->Listen(Echo);

    constexpr std::uint32_t kClientThreads = 4;
    constexpr std::uint32_t kClientsPerThread = 50;
    std::vector<std::future<void>> clients;
    for (std::uint32_t t = 0; t < kClientThreads; ++t) {
        clients.push_back(std::async(std::launch::async, [&name, t] {
            for (std::uint32_t i = 0; i < kClientsPerThread; ++i) {
                const std::uint32_t number = t * kClientsPerThread + i;
                EXPECT_EQ(Ask(name, number), number + 1);
            }
        }));
    }
    for (auto& client : clients) {
        client.get();
    }

    ASSERT_TRUE(Eventually([] { return g_record.calls == 200; }));
    std::multiset<std::uint32_t> everyClientOnce;
    for (std::uint32_t number = 0; number < 200; ++number) {
        everyClientOnce.insert(number);
    }
    std::lock_guard<std::mutex> guard(g_record.lock);
    EXPECT_EQ(g_record.clients, everyClientOnce);
    EXPECT_EQ(server->GetPendingCount(), 0u);
}

TEST_F(ServerTest, WithoutWorkersClientsAreQueuedButNeverHandled)
{
    const std::wstring name = UniqueName(L"idle");
    auto server = std::make_unique<Server>(name.c_str(), 0);
    server->Listen(Echo);

    std::array<std::unique_ptr<NamedPipe>, 3> clients;
    for (std::size_t i = 0; i < clients.size(); ++i) {
        clients[i] = std::make_unique<NamedPipe>(name.c_str());
        ASSERT_EQ(clients[i]->Connect(kGenerousMs), 0);
        ASSERT_TRUE(Eventually([&] { return server->GetPendingCount() == i + 1; }));
    }
    EXPECT_EQ(g_record.calls, 0);

    EXPECT_LT(TimeToDestroy(server), std::chrono::seconds(2));
    EXPECT_EQ(g_record.calls, 0);
    for (auto& client : clients) {
        EXPECT_TRUE(ClosedByServer(*client)); // queued clients die with the server
    }
}

TEST_F(ServerTest, RetainedClientsStayOpenUntilTheServerIsDestroyed)
{
    const std::wstring name = UniqueName(L"retain");
    auto server = std::make_unique<Server>(name.c_str(), 2);
    server->Listen(Retain);

    std::array<std::unique_ptr<NamedPipe>, 3> clients;
    for (auto& client : clients) {
        client = std::make_unique<NamedPipe>(name.c_str());
        ASSERT_EQ(client->Connect(kGenerousMs), 0);
    }
    ASSERT_TRUE(Eventually([&] { return server->GetRetainedCount() == clients.size(); }));
    clients[0]->Write("x", 1); // still connected

    EXPECT_LT(TimeToDestroy(server), std::chrono::seconds(2));
    for (auto& client : clients) {
        EXPECT_TRUE(ClosedByServer(*client));
    }
}

TEST_F(ServerTest, AThrowingHandlerLosesOnlyItsClient)
{
    const std::wstring name = UniqueName(L"throw");
    Server server(name.c_str(), 1);
    server.Listen(Throw);
    NamedPipe client(name.c_str());
    ASSERT_EQ(client.Connect(kGenerousMs), 0);
    EXPECT_TRUE(ClosedByServer(client));
    EXPECT_EQ(g_record.calls, 1);
    EXPECT_EQ(server.GetRetainedCount(), 0u);

    NamedPipe next(name.c_str());
    ASSERT_EQ(next.Connect(kGenerousMs), 0);
    EXPECT_TRUE(ClosedByServer(next));
    EXPECT_EQ(g_record.calls, 2);
}

TEST_F(ServerTest, DestructionStopsIdleThreadsWithinAFewAcceptTimeOuts)
{
    auto server = std::make_unique<Server>(UniqueName(L"stop").c_str(), 3);
    server->Listen(Echo);
    EXPECT_LT(TimeToDestroy(server), std::chrono::seconds(2));
}

TEST_F(ServerTest, ASecondServerOnAServedNameFailsToListen)
{
    const std::wstring name = UniqueName(L"twice");
    Server first(name.c_str(), 1);
    first.Listen(Echo);

    Server second(name.c_str(), 1);
    try {
        second.Listen(Echo);
        FAIL() << "a second server shares the name";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(),
                     L"LOCALSOCKET::NamedPipe::Open()#CreateNamedPipe fails.");
        EXPECT_EQ(exception.GetErrNum(), KoTest::kNameTaken);
    }
    EXPECT_EQ(Ask(name, 41), 42u); // the first still serves
}

TEST(ServerReportTest, AWakeUpFailureLeavesLaterConsoleReportsIntact)
{
    StdoutCapture capture;
    Server::ReportWakeUpFailure(
        KO::SystemException(L"KO::Semaphore::Notify()#ReleaseSemaphore fails", 75));
    KO::Console::Out(L"a later report");
    std::string captured = capture.Finish();
    // Text-mode streams on Windows end lines with CR LF.
    captured.erase(std::remove(captured.begin(), captured.end(), '\r'), captured.end());
    EXPECT_EQ(captured, "KO::LocalSocket::Server::~Server#Semaphore::NotifyAll fails, "
                        "errMsg:KO::Semaphore::Notify()#ReleaseSemaphore fails, "
                        "errNum:75\na later report\n");
}
