// Text messages to a service over a named pipe: what arrives, and how a
// missing, busy or closed peer is reported.

#include "base_ui/utils/CommonUtils.h"
#include "base_ui/utils/CommonUtilsTesting.h"

#include "base/NamedPipe.h"
#include "base/Process.h"
#include "base/Server.h"
#include "base/SystemException.h"

#include "LogCapture.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

using KO::LOCALSOCKET::NamedPipe;

namespace {

constexpr unsigned int kGenerousMs = 10000;
// Short time-outs, so that no test waits the production seconds.
constexpr PipeMessageTimeouts kShortTimeouts{std::chrono::milliseconds(300),
                                             std::chrono::milliseconds(20)};

// "ko-test-<tag>-<process id>-<counter>": no other test or run uses it.
QString UniqueName(const char* tag)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("ko-test-%1-%2-%3")
        .arg(QLatin1String(tag))
        .arg(KO::Process::CurrentId())
        .arg(++counter);
}

// Reads until the peer closes its end.
std::string ReadToEnd(NamedPipe& pipe)
{
    std::string received;
    char buffer[256];
    try {
        for (;;) {
            received.append(buffer, pipe.Read(buffer, sizeof(buffer)));
        }
    } catch (const KO::SystemException&) {
    }
    return received;
}

// What the server's handler received, one entry per connection. The handler
// is a plain function, so the record is process-wide.
class Received
{
public:
    static void Add(std::string message)
    {
        {
            const std::lock_guard<std::mutex> lock(s_mutex);
            s_messages.push_back(std::move(message));
        }
        s_changed.notify_all();
    }

    // The messages once `count` have arrived, or those there are after ten
    // seconds.
    static std::vector<std::string> WaitFor(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(s_mutex);
        s_changed.wait_for(lock, std::chrono::seconds(10),
                           [&] { return s_messages.size() >= count; });
        return s_messages;
    }

    static void Clear()
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        s_messages.clear();
    }

private:
    static inline std::mutex s_mutex;
    static inline std::condition_variable s_changed;
    static inline std::vector<std::string> s_messages;
};

bool ReadMessage(NamedPipe* client)
{
    Received::Add(ReadToEnd(*client));
    return true;
}

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

class SendMessageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Received::Clear();
        CommonUtilsTesting::SetPipeMessageTimeouts(kShortTimeouts);
    }

    void TearDown() override { CommonUtilsTesting::SetPipeMessageTimeouts({}); }

    const LogCapture m_capture;
};

TEST(SendMessageTimeoutsTest, DefaultToFiveSecondsToConnectAndHalfASecondBetweenWrites)
{
    const PipeMessageTimeouts timeouts = CommonUtilsTesting::GetPipeMessageTimeouts();
    EXPECT_EQ(timeouts.connect, std::chrono::milliseconds(5000));
    EXPECT_EQ(timeouts.writePause, std::chrono::milliseconds(500));
}

TEST_F(SendMessageTest, ToAPipeNoServerServesFailsAtOnce)
{
    // With the production time-out: failing at once means not waiting for it.
    CommonUtilsTesting::SetPipeMessageTimeouts({});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CommonUtils::sendMessage(UniqueName("unserved"), QStringLiteral("hello")), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    EXPECT_TRUE(m_capture.HasLine("ERROR", "LOCALSOCKET::NamedPipe::Connect()#WaitNamedPipe "
                                           "fails., ErrNum:" +
                                               std::to_string(ENOENT)))
        << m_capture.Text();
    EXPECT_TRUE(m_capture.HasLine("ERROR", "Send_Message failed."));
}

struct MessageCase
{
    const char* label;
    QString text;
    std::string bytes; // UTF-16LE
};

void PrintTo(const MessageCase& messageCase, std::ostream* out)
{
    *out << messageCase.label;
}

class SendMessageBytesTest : public SendMessageTest, public testing::WithParamInterface<MessageCase>
{};

TEST_P(SendMessageBytesTest, ServerReceivesExactlyTheUtf16LeUnits)
{
    const QString name = UniqueName("served");
    const std::wstring wideName = name.toStdWString();
    KO::LocalSocket::Server server(wideName.c_str(), 1);
    server.Listen(&ReadMessage);

    EXPECT_EQ(CommonUtils::sendMessage(name, GetParam().text), 0);

    EXPECT_EQ(Received::WaitFor(1), std::vector<std::string>{GetParam().bytes});
    EXPECT_TRUE(m_capture.HasLine("TRACE", "[write_buffer]:" + GetParam().text.toStdString()));
    EXPECT_TRUE(m_capture.HasLine("TRACE", "Write buffer success."));
    EXPECT_FALSE(m_capture.Contains("[ERROR]"));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SendMessageBytesTest,
    testing::Values(MessageCase{"ThreeCharacters", QStringLiteral("abc"),
                                std::string("a\0b\0c\0", 6)},
                    MessageCase{"Empty", QString(), std::string()},
                    // U+76D1 and U+1F600, a surrogate pair in UTF-16.
                    MessageCase{"BeyondAscii", QString::fromUtf8("\xE7\x9B\x91\xF0\x9F\x98\x80"),
                                std::string("\xD1\x76\x3D\xD8\x00\xDE", 6)}),
    [](const testing::TestParamInfo<MessageCase>& info) { return info.param.label; });

TEST_F(SendMessageTest, EachMessageHasAConnectionOfItsOwn)
{
    const QString name = UniqueName("sequence");
    const std::wstring wideName = name.toStdWString();
    KO::LocalSocket::Server server(wideName.c_str(), 2);
    server.Listen(&ReadMessage);

    for (const char* text : {"1", "22", "333"}) {
        ASSERT_EQ(CommonUtils::sendMessage(name, QLatin1String(text)), 0);
    }

    std::vector<std::string> received = Received::WaitFor(3);
    std::sort(received.begin(), received.end());
    EXPECT_EQ(received, (std::vector<std::string>{std::string("1\0", 2), std::string("2\0002\0", 4),
                                                  std::string("3\0003\0003\0", 6)}));
}

TEST_F(SendMessageTest, BusyPipeTimesOutAfterTheConnectTimeOut)
{
    const QString name = UniqueName("busy");
    const std::wstring wideName = name.toStdWString();
    NamedPipe server(wideName.c_str());
    server.Open();
    NamedPipe first(wideName.c_str());
    ASSERT_EQ(first.Connect(kGenerousMs), 0); // takes the only free instance

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CommonUtils::sendMessage(name, QStringLiteral("hello")), -1);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE(elapsed, kShortTimeouts.connect - std::chrono::milliseconds(100));
    EXPECT_TRUE(m_capture.HasLine("ERROR", "Connect " + name.toStdString() + " timeout."))
        << m_capture.Text();
    EXPECT_FALSE(m_capture.Contains("Send_Message failed."));
}

TEST_F(SendMessageTest, WritingToAClosedPeerFailsAfterFiveAttempts)
{
    const std::wstring name = UniqueName("closed").toStdWString();
    NamedPipe server(name.c_str());
    server.Open();
    NamedPipe client(name.c_str());
    ASSERT_EQ(client.Connect(kGenerousMs), 0);
    server.WaitForConnection(kGenerousMs).reset(); // the peer closes at once

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CommonUtils::clientWriteToServer(client, L"lost"), -1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5 * kShortTimeouts.writePause);

    const std::string text = m_capture.Text();
    EXPECT_EQ(Count(text, "> Write buffer failed.\r\n"), 5) << text;
    EXPECT_EQ(Count(text, "> LOCALSOCKET::NamedPipe::Write(const void*, std::size_t)#WriteFile "
                          "fails., ErrNum:" +
                              std::to_string(EPIPE) + "\r\n"),
              5);
    EXPECT_TRUE(m_capture.HasLine("TRACE", "[write_buffer]:lost"));
    EXPECT_FALSE(m_capture.Contains("Write buffer success."));
}

} // namespace
