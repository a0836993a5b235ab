// The pipe server against clients that misbehave: one that dies in the middle
// of its message, a thousand that connect and drop without a byte, and one
// that sends 100 MB. After each, the server is still up and serves the next
// client's message whole.
#include "base/NamedPipe.h"
#include "base/Server.h"
#include "base/SystemException.h"

#include "../PipeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using KO::LOCALSOCKET::NamedPipe;
using KO::LocalSocket::Server;
using KoTest::Eventually;
using KoTest::UniqueName;

namespace {

constexpr unsigned int kGenerousMs = 10000;

// What one handler call read: the byte count, the first bytes, and the error
// number that ended the read (EPIPE for a client that closed its end).
struct Served
{
    std::uint64_t bytes = 0;
    std::string head;
    int endedBy = 0;
};

// The handlers' record; handlers are plain functions, so it is global.
struct Record
{
    std::mutex lock;
    std::vector<Served> served;

    std::vector<Served> Snapshot()
    {
        const std::lock_guard<std::mutex> guard(lock);
        return served;
    }
    std::size_t Count()
    {
        const std::lock_guard<std::mutex> guard(lock);
        return served.size();
    }
};
Record g_record;

constexpr std::size_t kHeadBytes = 64;

// Reads everything the client sends until its end is gone.
bool ReadToTheEnd(NamedPipe* client)
{
    Served served;
    std::vector<char> buffer(64 * 1024);
    try {
        for (;;) {
            const std::size_t count = client->Read(buffer.data(), buffer.size());
            if (served.head.size() < kHeadBytes) {
                served.head.append(buffer.data(), std::min(count, kHeadBytes - served.head.size()));
            }
            served.bytes += count;
        }
    } catch (const KO::SystemException& exception) {
        served.endedBy = exception.GetErrNum();
    }
    const std::lock_guard<std::mutex> guard(g_record.lock);
    g_record.served.push_back(served);
    return true;
}

class ServerFaultTest : public testing::Test
{
protected:
    void SetUp() override
    {
        {
            const std::lock_guard<std::mutex> guard(g_record.lock);
            g_record.served.clear();
        }
        m_server.Listen(ReadToTheEnd);
    }

    // A well-behaved client: sends `message` and closes; true once the
    // handler has read it whole.
    bool SendsWhole(const std::string& message)
    {
        const std::size_t before = g_record.Count();
        {
            NamedPipe client(m_name.c_str());
            if (client.Connect(kGenerousMs) != 0) {
                return false;
            }
            client.Write(message.data(), message.size());
        }
        if (!Eventually([&] { return g_record.Count() > before; })) {
            return false;
        }
        const Served last = g_record.Snapshot().back();
        return last.bytes == message.size() && last.head == message.substr(0, kHeadBytes);
    }

    const std::wstring m_name = UniqueName(L"fault");
    Server m_server{m_name.c_str(), 2};
};

TEST_F(ServerFaultTest, AClientThatDiesMidMessageLosesOnlyItsMessage)
{
    const std::string part(3000, 'p');
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        NamedPipe client(m_name.c_str());
        if (client.Connect(kGenerousMs) != 0) {
            _exit(1);
        }
        client.Write(part.data(), part.size());
        raise(SIGKILL); // gone without closing anything itself
        _exit(2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    ASSERT_TRUE(Eventually([] { return g_record.Count() == 1; }));
    const Served dead = g_record.Snapshot().front();
    EXPECT_EQ(dead.bytes, part.size());
    EXPECT_NE(dead.endedBy, 0);
    EXPECT_TRUE(SendsWhole("the next client's message"));
}

TEST_F(ServerFaultTest, AThousandClientsThatConnectAndDropLeaveTheServerServing)
{
    constexpr std::size_t kClients = 1000;
    for (std::size_t i = 0; i < kClients; ++i) {
        NamedPipe client(m_name.c_str());
        ASSERT_EQ(client.Connect(kGenerousMs), 0) << "client " << i;
    }
    ASSERT_TRUE(Eventually([] { return g_record.Count() == kClients; }))
        << g_record.Count() << " of " << kClients << " served";
    for (const Served& served : g_record.Snapshot()) {
        EXPECT_EQ(served.bytes, 0U);
        EXPECT_EQ(served.endedBy, KoTest::kBrokenPipe);
    }
    EXPECT_EQ(m_server.GetPendingCount(), 0U);
    EXPECT_TRUE(SendsWhole("served after a thousand empty clients"));
}

TEST_F(ServerFaultTest, AHundredMegabyteClientIsReadWholeAndTheNextIsServed)
{
    constexpr std::size_t kChunk = 1024 * 1024;
    constexpr std::size_t kChunks = 100;
    std::string chunk(kChunk, '\0');
    for (std::size_t i = 0; i < kChunk; ++i) {
        chunk[i] = static_cast<char>('a' + i % 26);
    }
    {
        NamedPipe client(m_name.c_str());
        ASSERT_EQ(client.Connect(kGenerousMs), 0);
        for (std::size_t i = 0; i < kChunks; ++i) {
            client.Write(chunk.data(), chunk.size());
        }
    }
    ASSERT_TRUE(Eventually([] { return g_record.Count() == 1; }));
    const Served big = g_record.Snapshot().front();
    EXPECT_EQ(big.bytes, kChunk * kChunks);
    EXPECT_EQ(big.head, chunk.substr(0, kHeadBytes));
    EXPECT_EQ(big.endedBy, KoTest::kBrokenPipe);
    EXPECT_TRUE(SendsWhole("served after 100 MB"));
}

} // namespace
