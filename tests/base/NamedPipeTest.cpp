#include "base/NamedPipe.h"
#include "base/Error.h"
#include "base/SystemException.h"

#include "PipeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <ostream>
#include <string>
#include <vector>

using KO::LOCALSOCKET::NamedPipe;
using KoTest::UniqueName;

namespace {

constexpr unsigned int kGenerousMs = 10000;

std::string ReadExactly(NamedPipe& pipe, std::size_t size)
{
    std::string received;
    char buffer[256];
    while (received.size() < size) {
        const std::size_t read =
            pipe.Read(buffer, std::min(sizeof(buffer), size - received.size()));
        received.append(buffer, read);
    }
    return received;
}

// Reads until the peer closes its end, which ends reading with the broken-pipe
// failure.
std::string ReadToEnd(NamedPipe& pipe)
{
    std::string received;
    char buffer[256];
    try {
        for (;;) {
            received.append(buffer, pipe.Read(buffer, sizeof(buffer)));
        }
    } catch (const KO::SystemException& exception) {
        EXPECT_EQ(exception.GetErrNum(), KoTest::kBrokenPipe);
    }
    return received;
}

void WriteText(NamedPipe& pipe, const std::string& text)
{
    pipe.Write(text.data(), text.size());
}

// A client that connects in the background and then runs `talk`.
template <typename Talk>
std::future<void> StartClient(const std::wstring& name, Talk talk)
{
    return std::async(std::launch::async, [name, talk] {
        NamedPipe client(name.c_str());
        ASSERT_EQ(client.Connect(kGenerousMs), 0);
        talk(client);
    });
}

} // namespace

struct NameCase
{
    const char* label;
    const wchar_t* given;
    const wchar_t* stored;
};

void PrintTo(const NameCase& nameCase, std::ostream* out)
{
    *out << nameCase.label;
}

class NamedPipeNameTest : public testing::TestWithParam<NameCase>
{};

TEST_P(NamedPipeNameTest, PutsThePrefixInFrontOnlyWhenMissing)
{
    const NamedPipe pipe(GetParam().given);
    EXPECT_EQ(pipe.GetName(), GetParam().stored);
    EXPECT_FALSE(pipe.IsConnected());
}

INSTANTIATE_TEST_SUITE_P(
    Names, NamedPipeNameTest,
    testing::Values(NameCase{"Plain", L"service", L"\\\\.\\pipe\\service"},
                    NameCase{"Prefixed", L"\\\\.\\pipe\\service", L"\\\\.\\pipe\\service"},
                    NameCase{"PrefixLater", L"pipe\\service", L"\\\\.\\pipe\\pipe\\service"},
                    NameCase{"Empty", L"", L"\\\\.\\pipe\\"}),
    [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.label); });

TEST(NamedPipeTest, InvalidArgumentsThrowError)
{
    const auto expectError = [](auto call, const wchar_t* message) {
        try {
            call();
            ADD_FAILURE() << "no Error for " << testing::PrintToString(std::wstring(message));
        } catch (const KO::Error& error) {
            EXPECT_STREQ(error.GetErrMsg(), message);
        }
    };
    expectError([] { NamedPipe pipe(static_cast<const wchar_t*>(nullptr)); },
                L"LOCALSOCKET::NamedPipe::NamedPipe(const wchar_t*)#Invalid Parameters.");
    expectError([] { NamedPipe pipe(NamedPipe::Handle{-1}); },
                L"LOCALSOCKET::NamedPipe::NamedPipe(HANDLE)#Invalid Parameters.");
    NamedPipe pipe(L"unused");
    expectError([&] { pipe.Read(nullptr, 1); },
                L"LOCALSOCKET::NamedPipe::Read(void*, std::size_t)#Invalid Parameters.");
    expectError([&] { pipe.Write(nullptr, 1); },
                L"LOCALSOCKET::NamedPipe::Write(const void*, std::size_t)#Invalid Parameters.");
}

TEST(NamedPipeTest, RoundTripFromClientToServerAndBack)
{
    const std::wstring name = UniqueName(L"roundtrip");
    NamedPipe server(name.c_str());
    server.Open();
    auto client = StartClient(name, [](NamedPipe& pipe) {
        WriteText(pipe, "ping");
        EXPECT_EQ(ReadExactly(pipe, 5), "pong!");
    });

    const auto connected = server.WaitForConnection(kGenerousMs);
    ASSERT_NE(connected, nullptr);
    EXPECT_TRUE(server.IsConnected());
    EXPECT_TRUE(connected->IsConnected());
    EXPECT_EQ(ReadExactly(*connected, 4), "ping");
    WriteText(*connected, "pong!");
    client.get();
}

TEST(NamedPipeTest, ThreeCharacterMessageArrivesAsSixBytesWithoutTerminator)
{
    const std::wstring name = UniqueName(L"utf16");
    NamedPipe server(name.c_str());
    server.Open();
    // "abc" in UTF-16LE, written as a sender of text messages does.
    const std::string message("a\0b\0c\0", 6);
    auto client = StartClient(name, [&](NamedPipe& pipe) {
        WriteText(pipe, message);
        pipe.Flush();
    });

    const auto connected = server.WaitForConnection();
    ASSERT_NE(connected, nullptr);
    EXPECT_EQ(ReadToEnd(*connected), message);
    client.get();
}

TEST(NamedPipeTest, ConnectToANameNoServerCreatedFailsWithFileNotFound)
{
    NamedPipe client(UniqueName(L"nobody").c_str());
    try {
        client.Connect(1000);
        FAIL() << "Connect succeeded";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(),
                     L"LOCALSOCKET::NamedPipe::Connect()#WaitNamedPipe fails.");
        EXPECT_EQ(exception.GetErrNum(), KoTest::kFileNotFound);
    }
    EXPECT_FALSE(client.IsConnected());
}

TEST(NamedPipeTest, ConnectReturnsMinusOneWhenNoInstanceGetsFree)
{
    const std::wstring name = UniqueName(L"busy");
    NamedPipe server(name.c_str());
    server.Open();
    NamedPipe first(name.c_str());
    ASSERT_EQ(first.Connect(kGenerousMs), 0); // takes the only free instance

    NamedPipe second(name.c_str());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(second.Connect(300), -1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(250));
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    EXPECT_FALSE(second.IsConnected());
}

TEST(NamedPipeTest, ConnectWithoutLimitWaitsUntilAnInstanceIsFree)
{
    const std::wstring name = UniqueName(L"wait");
    NamedPipe server(name.c_str());
    server.Open();
    NamedPipe first(name.c_str());
    ASSERT_EQ(first.Connect(kGenerousMs), 0);
    auto second = std::async(std::launch::async, [&] {
        NamedPipe pipe(name.c_str());
        const int result = pipe.Connect(0);
        WriteText(pipe, "2");
        return result;
    });

    const auto firstAccepted = server.WaitForConnection(kGenerousMs); // frees a new instance
    ASSERT_NE(firstAccepted, nullptr);
    const auto secondAccepted = server.WaitForConnection(kGenerousMs);
    ASSERT_NE(secondAccepted, nullptr);
    EXPECT_EQ(second.get(), 0);
    EXPECT_EQ(ReadExactly(*secondAccepted, 1), "2");
}

TEST(NamedPipeTest, TimedWaitReturnsNullAndTheInstanceStaysUsable)
{
    const std::wstring name = UniqueName(L"timed");
    NamedPipe server(name.c_str());
    server.Open();
    for (const unsigned int timeoutMs : {0u, 50u}) {
        EXPECT_EQ(server.WaitForConnection(timeoutMs), nullptr);
        EXPECT_FALSE(server.IsConnected());
    }

    auto client = StartClient(name, [](NamedPipe& pipe) { WriteText(pipe, "late"); });
    const auto connected = server.WaitForConnection(kGenerousMs);
    ASSERT_NE(connected, nullptr);
    EXPECT_TRUE(server.IsConnected());
    EXPECT_EQ(ReadExactly(*connected, 4), "late");
    client.get();
}

TEST(NamedPipeTest, ClientThatConnectedBeforeTheWaitCounts)
{
    const std::wstring name = UniqueName(L"early");
    NamedPipe server(name.c_str());
    server.Open();
    NamedPipe client(name.c_str());
    ASSERT_EQ(client.Connect(kGenerousMs), 0);
    WriteText(client, "early");

    const auto connected = server.WaitForConnection();
    ASSERT_NE(connected, nullptr);
    EXPECT_EQ(ReadExactly(*connected, 5), "early");
}

TEST(NamedPipeTest, ServerAcceptsClientAfterClient)
{
    const std::wstring name = UniqueName(L"serial");
    NamedPipe server(name.c_str());
    server.Open();
    for (char round = '0'; round < '5'; ++round) {
        auto client = StartClient(name, [round](NamedPipe& pipe) {
            WriteText(pipe, std::string(1, round));
            EXPECT_EQ(ReadExactly(pipe, 1), std::string(1, round));
        });
        const auto connected = server.WaitForConnection(kGenerousMs);
        ASSERT_NE(connected, nullptr);
        WriteText(*connected, ReadExactly(*connected, 1));
        client.get();
    }
}

TEST(NamedPipeTest, ANameAlreadyServedCannotBeOpenedAgainUntilReleased)
{
    const std::wstring name = UniqueName(L"claimed");
    auto owner = std::make_unique<NamedPipe>(name.c_str());
    owner->Open();
    owner->Open(); // the owner may replace its own instance

    NamedPipe intruder(name.c_str());
    try {
        intruder.Open();
        FAIL() << "a second server opened a served name";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(),
                     L"LOCALSOCKET::NamedPipe::Open()#CreateNamedPipe fails.");
        EXPECT_EQ(exception.GetErrNum(), KoTest::kNameTaken);
    }

    owner.reset();
    intruder.Open();
    auto client = StartClient(name, [](NamedPipe& pipe) { WriteText(pipe, "x"); });
    const auto connected = intruder.WaitForConnection(kGenerousMs);
    ASSERT_NE(connected, nullptr);
    EXPECT_EQ(ReadExactly(*connected, 1), "x");
    client.get();
}

TEST(NamedPipeTest, ReadAfterThePeerClosedThrowsBrokenPipe)
{
    const std::wstring name = UniqueName(L"closed");
    NamedPipe server(name.c_str());
    server.Open();
    StartClient(name, [](NamedPipe&) {}).get();

    const auto connected = server.WaitForConnection(kGenerousMs);
    ASSERT_NE(connected, nullptr);
    char byte = 0;
    try {
        connected->Read(&byte, 1);
        FAIL() << "Read succeeded";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(),
                     L"LOCALSOCKET::NamedPipe::Read(void*, std::size_t)#ReadFile fails.");
        EXPECT_EQ(exception.GetErrNum(), KoTest::kBrokenPipe);
    }
}

TEST(NamedPipeTest, LargeWriteArrivesWhole)
{
    const std::wstring name = UniqueName(L"large");
    NamedPipe server(name.c_str());
    server.Open();
    std::string payload(200000, '\0');
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<char>(i * 31 + 7);
    }
    auto client = StartClient(name, [&](NamedPipe& pipe) {
        WriteText(pipe, payload); // five times the pipe buffer
        pipe.Flush();
    });
    const auto connected = server.WaitForConnection(kGenerousMs);
    ASSERT_NE(connected, nullptr);
    EXPECT_EQ(ReadToEnd(*connected), payload);
    client.get();
}

constexpr char kFlushMessage[] = "a message the peer may leave unread";
constexpr std::size_t kFlushMessageSize = sizeof(kFlushMessage) - 1;

// How much of a message the peer reads before it closes its end, and whether
// the writer's Flush then reports the message delivered. A peer that reads
// everything stays connected until Flush has returned.
struct FlushCase
{
    const char* label;
    std::size_t bytesRead;
    bool delivered;
};

void PrintTo(const FlushCase& flushCase, std::ostream* out)
{
    *out << flushCase.label;
}

class NamedPipeFlushTest : public testing::TestWithParam<FlushCase>
{};

TEST_P(NamedPipeFlushTest, SucceedsOnlyWhenThePeerHasReadEverything)
{
    const FlushCase flushCase = GetParam();
    if (!flushCase.delivered && !KoTest::kFlushSeesDroppedData) {
        GTEST_SKIP() << "a closing peer discards the unread bytes, and a flush that starts after "
                        "that finds nothing to wait for";
    }
    const std::string message(kFlushMessage, kFlushMessageSize);
    const std::wstring name = UniqueName(L"flush");
    NamedPipe server(name.c_str());
    server.Open();
    std::promise<void> written;
    std::promise<void> flushed;
    auto peer = std::async(std::launch::async, [&, afterWrite = written.get_future(),
                                                afterFlush = flushed.get_future()] {
        const auto connected = server.WaitForConnection(kGenerousMs);
        ASSERT_NE(connected, nullptr);
        afterWrite.wait(); // the whole message is on its way before the peer acts
        EXPECT_EQ(ReadExactly(*connected, flushCase.bytesRead),
                  message.substr(0, flushCase.bytesRead));
        if (flushCase.delivered) {
            afterFlush.wait();
        }
    }); // and closes its end

    NamedPipe client(name.c_str());
    ASSERT_EQ(client.Connect(kGenerousMs), 0);
    WriteText(client, message);
    written.set_value();
    if (flushCase.delivered) {
        EXPECT_NO_THROW(client.Flush());
    } else {
        try {
            client.Flush();
            ADD_FAILURE() << "Flush reported an unread message as delivered";
        } catch (const KO::SystemException& exception) {
            EXPECT_STREQ(exception.GetErrMsg(),
                         L"LOCALSOCKET::NamedPipe::Flush()#FlushFileBuffers fails.");
            EXPECT_EQ(exception.GetErrNum(), KoTest::kUnreadDataLost);
        }
    }
    flushed.set_value();
    peer.get();
}

INSTANTIATE_TEST_SUITE_P(PeerReads, NamedPipeFlushTest,
                         testing::Values(FlushCase{"Everything", kFlushMessageSize, true},
                                         FlushCase{"Nothing", 0, false},
                                         FlushCase{"Part", 10, false}),
                         [](const testing::TestParamInfo<FlushCase>& info) {
                             return std::string(info.param.label);
                         });
