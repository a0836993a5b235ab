#include "LogFixture.h"

#include "base/File.h"
#include "base/FilePath.h"
#include "base/LogAsync.h"
#include "base/Thread.h"

#include <chrono>
#include <memory>
#include <regex>
#include <thread>
#include <vector>

namespace {

// The writer is released in TearDown, before the target file goes.
class LogAsyncTest : public LogFixture
{
protected:
    void TearDown() override
    {
        KO::LogAsync::Release();
        KO::LogAsync::SetTargetFile(nullptr);
        KO::SetAsyncLog(false);
    }

    void UseTargetFile() { KO::LogAsync::SetTargetFile(&m_target); }
    std::filesystem::path TargetPath() const { return m_dir.Path() / "target.log"; }

    KO::File m_target{KO::FilePath(TargetPath().wstring().c_str())};
};

// The UTF-16LE bytes of an ASCII text.
std::string Utf16(const std::string& ascii)
{
    std::string bytes;
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

bool EventuallyContains(const std::filesystem::path& path, const std::string& bytes)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ReadText(path).find(bytes) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

struct Producer
{
    int id = 0;
    static constexpr int kTexts = 2000;

    static std::uint32_t Procedure(void* argument)
    {
        const std::wstring tag = L"p" + std::to_wstring(static_cast<Producer*>(argument)->id);
        for (int i = 0; i < kTexts; ++i) {
            KO::LogAsync::Write(tag + L"-" + std::to_wstring(i) + L";");
        }
        return 0;
    }
};

} // namespace

TEST_F(LogAsyncTest, FlushDeliversToTheTargetFileWithMark)
{
    UseTargetFile();
    KO::LogAsync::Write(L"one\r\n");
    KO::LogAsync::Write(L"two\r\n");
    KO::LogAsync::Flush();

    ASSERT_TRUE(EventuallyContains(TargetPath(), Utf16("two")));
    // The buffer is one element of the appended list, so a line end follows it.
    EXPECT_EQ(ReadText(TargetPath()), "\xFF\xFE" + Utf16("one\r\ntwo\r\n\r\n"));
}

TEST_F(LogAsyncTest, ReleaseDeliversEveryTextFromManyProducersInOrder)
{
    UseTargetFile();
    std::vector<Producer> producers(4);
    std::vector<KO::Thread> threads(producers.size());
    for (std::size_t i = 0; i < producers.size(); ++i) {
        producers[i].id = static_cast<int>(i);
        threads[i].Start(Producer::Procedure, &producers[i]);
    }
    for (auto& thread : threads) {
        thread.Join();
    }
    KO::LogAsync::Release();

    const std::string bytes = ReadText(TargetPath());
    for (std::size_t p = 0; p < producers.size(); ++p) {
        std::size_t position = 0;
        for (int i = 0; i < Producer::kTexts; ++i) {
            const std::string text = Utf16("p" + std::to_string(p) + "-" + std::to_string(i) + ";");
            position = bytes.find(text, position);
            ASSERT_NE(position, std::string::npos) << "lost or out of order: p" << p << "-" << i;
        }
    }
}

TEST_F(LogAsyncTest, FullBuffersAreHandedOverWithoutFlush)
{
    UseTargetFile();
    const std::wstring text(1000, L'z');
    for (std::size_t written = 0; written <= KO::LogAsync::kBufferCapacity;
         written += text.size()) {
        KO::LogAsync::Write(text);
    }
    EXPECT_TRUE(EventuallyContains(TargetPath(), Utf16(std::string(1000, 'z'))));
}

TEST_F(LogAsyncTest, LogLinesGoToTheOutputFileWhenNoTargetIsSet)
{
    KO::SetAsyncLog(true);
    LOG_TRACE << "queued line";
    KO::LogAsync::Release();

    const std::string text = ReadText(Out());
    EXPECT_NE(text.find("[TRACE] <LogAsyncTest.cpp>"), std::string::npos) << text;
    EXPECT_NE(text.find("queued line\r\n"), std::string::npos) << text;
}

// Flushes that come faster than the writer replaces its spare buffer must
// lose nothing, neither to the writer's next pass nor to its last one.
TEST_F(LogAsyncTest, FlushesInQuickSuccessionLoseNoText)
{
    UseTargetFile();
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        KO::LogAsync::Write(L"first " + std::to_wstring(round) + L";\r\n");
        for (int i = 0; i < 5; ++i) {
            KO::LogAsync::Flush();
        }
        KO::LogAsync::Write(L"LAST " + std::to_wstring(round) + L";\r\n");
        KO::LogAsync::Release();
    }

    const std::string bytes = ReadText(TargetPath());
    std::size_t position = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (const char* text : {"first ", "LAST "}) {
            const std::string expected = Utf16(text + std::to_string(round) + ";");
            position = bytes.find(expected, position);
            ASSERT_NE(position, std::string::npos) << "lost: " << text << round;
        }
    }
}

namespace {

// Drops the instance it holds on a thread of its own.
struct InstanceDropper
{
    std::shared_ptr<KO::LogAsync> instance;

    static std::uint32_t Procedure(void* argument)
    {
        static_cast<InstanceDropper*>(argument)->instance.reset();
        return 0;
    }
};

} // namespace

// A Write that comes while a released writer still drains starts the next
// writer; it writes only after the previous one has finished, so the target
// file has one writer at a time and the texts keep their order.
TEST_F(LogAsyncTest, WriterAfterReleaseWaitsForThePreviousOne)
{
    UseTargetFile();
    constexpr int kRounds = 20;
    const std::wstring filler(100000, L'.');
    for (int round = 0; round < kRounds; ++round) {
        const std::wstring number = std::to_wstring(round);
        InstanceDropper dropper{KO::LogAsync::GetInstance()};
        KO::LogAsync::Write(L"before " + number + filler + L";\r\n");
        KO::LogAsync::Release(); // `dropper` still holds that writer
        KO::LogAsync::Write(L"after " + number + L";\r\n");

        KO::Thread thread;
        thread.Start(InstanceDropper::Procedure, &dropper);
        KO::LogAsync::Release();
        thread.Join();
    }

    const std::string bytes = ReadText(TargetPath());
    std::size_t position = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (const char* text : {"before ", "after "}) {
            const std::string expected = Utf16(text + std::to_string(round));
            position = bytes.find(expected, position);
            ASSERT_NE(position, std::string::npos) << "lost or out of order: " << text << round;
        }
    }
}

// The asynchronous path escapes a record's line breaks as the synchronous one
// does and keeps the record's own line end.
TEST_F(LogAsyncTest, LineBreaksInALogLineCannotForgeARecord)
{
    KO::SetAsyncLog(true);
    LOG_TRACE << L"ok\r\n[2016-1-1 0:1:0.7][1:1][FATAL] <Evil.cpp> <Evil::forge> <line:1> forged";
    LOG_TRACE << "next\n";
    KO::LogAsync::Release();

    const std::string text = ReadText(Out());
    const std::regex shape(R"((\[[^\]]+\]){2}\[TRACE\] <LogAsyncTest\.cpp> <[^>]+> <line:\d+> )"
                           R"(ok\\r\\n\[2016-1-1 0:1:0\.7\]\[1:1\]\[FATAL\] <Evil\.cpp> )"
                           R"(<Evil::forge> <line:1> forged\r\n)"
                           R"((\[[^\]]+\]){2}\[TRACE\] <LogAsyncTest\.cpp> <[^>]+> <line:\d+> )"
                           R"(next\\n\r\n\r\n)");
    EXPECT_TRUE(std::regex_match(text, shape)) << text;
}
