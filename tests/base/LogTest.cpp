#include "AllocationFailure.h"
#include "LogFixture.h"

#include "base/Encoding.h"
#include "base/Error.h"
#include "base/File.h"
#include "base/FilePath.h"
#include "base/LocalTime.h"
#include "base/Log.h"
#include "base/Logging.h"
#include "base/Process.h"
#include "base/Thread.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

namespace {

using LogTest = LogFixture;

std::string PidTid()
{
    return "[" + std::to_string(KO::Process::CurrentId()) + ":" +
           std::to_string(KO::Process::CurrentThreadId()) + "]";
}

// Writes `count` texts "<tag>" with the prefix switched off.
void WriteTimes(int count, const wchar_t* tag)
{
    for (int i = 0; i < count; ++i) {
        KO::Log::WriteOutLog(tag);
    }
}

} // namespace

// A class of the page, so that the qualified function name is the real one.
class CProgramDiaryDialog
{
public:
    int loadData()
    {
        LOG_TRACE << "get data";
        return __LINE__ - 1;
    }
};

TEST_F(LogTest, TraceLineIsWrittenByteForByte)
{
    const int line = CProgramDiaryDialog().loadData();
    const std::string text = ReadText(Out());

    const std::regex expected(R"(\[\d{4}-[1-9]\d?-[1-9]\d? \d{1,2}:\d{1,2}:\d{1,2}\.\d{1,3}\])" +
                              std::regex_replace(PidTid(), std::regex(R"([\[\]])"), R"(\$&)") +
                              R"(\[TRACE\] <LogTest\.cpp> <CProgramDiaryDialog::loadData> <line:)" +
                              std::to_string(line) + R"(> get data\r\n)");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(LogPrefixTest, NumbersHaveNoLeadingZeros)
{
    struct Case
    {
        KO::LocalTime time;
        std::wstring output;
        std::wstring error;
    };
    const std::wstring ids = L"[" + std::to_wstring(KO::Process::CurrentId()) + L":" +
                             std::to_wstring(KO::Process::CurrentThreadId()) + L"]";
    const Case cases[] = {
        {{2016, 1, 1, 0, 1, 0, 7}, L"[2016-1-1 0:1:0.7]", L"[2016-1-1 0:1:0] "},
        {{2015, 3, 7, 9, 5, 2, 31}, L"[2015-3-7 9:5:2.31]", L"[2015-3-7 9:5:2] "},
        {{2026, 12, 31, 23, 59, 59, 999}, L"[2026-12-31 23:59:59.999]", L"[2026-12-31 23:59:59] "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KO::Log::OutputPrefix(c.time), c.output + ids);
        EXPECT_EQ(KO::Log::ErrorPrefix(c.time), c.error);
    }
}

TEST_F(LogTest, ErrorFileLinesCarryTheShortPrefix)
{
    EXPECT_TRUE(KO::Log::WriteErrLog("broken"));
    const std::string text = ReadText(m_dir.Path() / "test.err");
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\[\d+-\d+-\d+ \d+:\d+:\d+\] broken\r\n)")))
        << text;
    EXPECT_FALSE(std::filesystem::exists(Out()));
}

TEST_F(LogTest, SitesBelowTheLevelEvaluateNoOperand)
{
    for (int level = KO::LOG_LEVEL_FATAL; level <= KO::LOG_LEVEL_INFO; ++level) {
        KO::SetLogLevel(level);
        int evaluated[6] = {};
        auto mark = [&](int site) { return ++evaluated[site]; };
        LOG_FATAL << mark(0);
        LOG_ERROR << mark(1);
        LOG_WARN << mark(2);
        LOG_TRACE << mark(3);
        LOG_DEBUG << mark(4);
        LOG_INFO << mark(5);
        for (int site = 0; site <= 5; ++site) {
            EXPECT_EQ(evaluated[site], site <= level ? 1 : 0) << "level " << level;
        }
    }
}

TEST_F(LogTest, DefaultLevelWritesTraceButNotDebug)
{
    KO::SetLogLevel(KO::LOG_LEVEL_TRACE);
    LOG_TRACE << "shown";
    LOG_DEBUG << "hidden";
    LOG_INFO << "hidden";
    const std::string text = ReadText(Out());
    EXPECT_NE(text.find("[TRACE]"), std::string::npos);
    EXPECT_EQ(text.find("hidden"), std::string::npos);
}

TEST_F(LogTest, FirstWriteCreatesTheFileEmptyThenAppendsWithoutMark)
{
    KO::Log::SetWritePrefix(false);
    EXPECT_TRUE(KO::Log::WriteOutLog(L"a"));
    EXPECT_TRUE(KO::Log::WriteOutLog(L"b"));
    EXPECT_EQ(ReadText(Out()), "a\r\nb\r\n");
}

TEST_F(LogTest, FileCreatedAfterRotationStartsWithMarkAndKeepsLinesApart)
{
    KO::Log::SetWritePrefix(false);
    KO::Log::SetMaxFileSize(0);
    WriteTimes(20, L"x");
    EXPECT_TRUE(KO::Log::WriteOutLog(L"first")); // the check rotates, this creates
    EXPECT_TRUE(KO::Log::WriteOutLog(L"second"));
    EXPECT_EQ(ReadText(Out()), "\xEF\xBB\xBF"
                               "first\r\nsecond\r\n");
}

TEST_F(LogTest, FileAtTheMaximumIsKeptAndOneByteMoreIsRotatedAtTheNextCheck)
{
    KO::Log::SetWritePrefix(false);
    KO::Log::SetStageFileCount(1);
    WriteTimes(20, L"x"); // 20 x "x\r\n" = 60 bytes, checked at the 21st write

    KO::Log::SetMaxFileSize(60);
    WriteTimes(1, L"x");
    EXPECT_FALSE(std::filesystem::exists(Out(".1")));
    WriteTimes(19, L"x"); // 120 bytes now, but no check before the 41st write
    EXPECT_FALSE(std::filesystem::exists(Out(".1")));
    WriteTimes(1, L"y");
    EXPECT_EQ(std::filesystem::file_size(Out(".1")), 120u);
    EXPECT_EQ(ReadText(Out()), "\xEF\xBB\xBFy\r\n");
}

TEST_F(LogTest, OneByteOverTheMaximumIsRotated)
{
    KO::Log::SetWritePrefix(false);
    KO::Log::SetStageFileCount(1);
    KO::Log::SetMaxFileSize(59);
    WriteTimes(21, L"x");
    EXPECT_EQ(std::filesystem::file_size(Out(".1")), 60u);
}

TEST_F(LogTest, TwoStageFilesKeepTheTwoMostRecentRounds)
{
    KO::Log::SetWritePrefix(false);
    KO::Log::SetStageFileCount(2);
    KO::Log::SetMaxFileSize(10);
    // Checks run at writes 1, 21, 41 and 61: three rotations.
    WriteTimes(20, L"round 0");
    WriteTimes(20, L"round 1");
    WriteTimes(20, L"round 2");
    WriteTimes(1, L"round 3");

    EXPECT_EQ(FileNames(), (std::set<std::string>{"test.out", "test.out.1", "test.out.2"}));
    EXPECT_NE(ReadText(Out(".2")).find("round 1"), std::string::npos);
    EXPECT_EQ(ReadText(Out(".2")).find("round 0"), std::string::npos);
    EXPECT_NE(ReadText(Out(".1")).find("round 2"), std::string::npos);
    EXPECT_NE(ReadText(Out()).find("round 3"), std::string::npos);
}

TEST_F(LogTest, NoStageFilesDeletesTheFullFile)
{
    KO::Log::SetWritePrefix(false);
    KO::Log::SetMaxFileSize(10);
    WriteTimes(21, L"gone");
    EXPECT_EQ(FileNames(), std::set<std::string>{"test.out"});
    EXPECT_EQ(ReadText(Out()), "\xEF\xBB\xBFgone\r\n");
}

// A rotation that keeps failing is reported at its first failure, not at
// every size check; after a rotation that works, a failure is news again.
TEST_F(LogTest, RotationThatKeepsFailingIsReportedOnce)
{
    const auto reports = [](const std::string& output) {
        const std::string report = "Log::RenameStageFiles(const File *) fails.";
        int count = 0;
        for (auto at = output.find(report); at != std::string::npos;
             at = output.find(report, at + 1)) {
            ++count;
        }
        return count;
    };
    KO::Log::SetWritePrefix(false);
    KO::Log::SetStageFileCount(1);
    KO::Log::SetMaxFileSize(0);
    std::filesystem::create_directory(Out(".1")); // in the way of the stage file

    testing::internal::CaptureStdout();
    WriteTimes(101, L"x"); // five checks that find the file too big
    EXPECT_EQ(reports(testing::internal::GetCapturedStdout()), 1);

    std::filesystem::remove(Out(".1"));
    testing::internal::CaptureStdout();
    WriteTimes(20, L"y"); // the sixth rotates
    std::filesystem::remove(Out(".1"));
    std::filesystem::create_directory(Out(".1"));
    WriteTimes(40, L"z"); // the seventh and eighth fail again
    EXPECT_EQ(reports(testing::internal::GetCapturedStdout()), 1);
    EXPECT_EQ(ReadText(Out()).find('x'), std::string::npos);
}

TEST_F(LogTest, RenameStageFilesWithoutFileThrowsError)
{
    try {
        KO::Log::RenameStageFiles(nullptr);
        FAIL() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(), L"Log::RenameStageFiles(const File *)#Inavlid Parameters.");
    }
}

TEST_F(LogTest, MissingDirectoryFailsEveryWriteAndCreatesNothing)
{
    UsePrefix(m_dir.Path() / "missing" / "test");
    for (int i = 0; i < 2; ++i) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(KO::Log::WriteOutLog(L"lost"));
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_EQ(report.rfind("Log::WriteOutLog(const wchar_t*) fails. ErrMsg:FileStream::", 0),
                  0u)
            << report;
        EXPECT_NE(report.find(". ErrNum:"), std::string::npos) << report;
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path() / "missing"));
}

TEST_F(LogTest, NullTextsAreReportedAndWriteNothing)
{
    struct Case
    {
        bool (*write)();
        const char* report;
    };
    const Case cases[] = {
        {[] { return KO::Log::WriteOutLog(static_cast<const wchar_t*>(nullptr)); },
         "Invalid Parameters.\n"},
        {[] { return KO::Log::WriteOutLog(static_cast<const char*>(nullptr)); },
         "KO::Log::WriteOutLog(const char*)#Invalid Parameters.\n\n"},
        {[] { return KO::Log::WriteErrLog(static_cast<const wchar_t*>(nullptr)); },
         "KO::Log::WriteErrLog(const wchar_t*)Invalid Parameters.\n"},
        {[] { return KO::Log::WriteErrLog(static_cast<const char*>(nullptr)); },
         "KO::Log::WriteErrLog(const char*)#Invalid Parameters.\n\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(c.write());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.report);
    }
    EXPECT_TRUE(FileNames().empty());
}

TEST_F(LogTest, NarrowTextsThatCannotBeConvertedFailWithoutThrowing)
{
    struct Case
    {
        bool (*write)(const char*);
        const char* report;
    };
    const Case cases[] = {
        {[](const char* text) { return KO::Log::WriteOutLog(text); },
         "KO::Log::WriteOutLog(const char*) fails. ErrMsg:"},
        {[](const char* text) { return KO::Log::WriteErrLog(text); },
         "KO::Log::WriteErrLog(const char*) fails. ErrMsg:"},
    };
    // Converting this text needs one allocation larger than any other here.
    const std::string text(100000, 'n');
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        bool written = true;
        int refusals = 0;
        {
            const AllocationFailure failure(text.size() * 2);
            EXPECT_NO_THROW(written = c.write(text.c_str()));
            refusals = failure.Refusals();
        }
        const std::string report = testing::internal::GetCapturedStderr();
        if (refusals == 0) {
            GTEST_SKIP() << "the conversion does not allocate through this program's operator new";
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(report.rfind(c.report, 0), 0u) << report;
    }
    EXPECT_TRUE(FileNames().empty());
}

TEST_F(LogTest, EncodingWithoutEncoderIsRefused)
{
    KO::Log::SetEncoding(3);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(KO::Log::WriteOutLog(L"never written"));
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(report.rfind("Log::WriteOutLog(const wchar_t*) fails. ErrMsg:", 0), 0u) << report;
    EXPECT_EQ(ReadText(Out()), ""); // the size check created it; nothing was written
}

namespace {

// The ASCII text of a log file written without a mark: UTF-16LE is narrowed
// by dropping the zero high bytes.
std::string AsciiText(const std::filesystem::path& path, int encoding)
{
    const std::string bytes = ReadText(path);
    if (encoding != KO::ENCODING_UTF16LE) {
        return bytes;
    }
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += bytes[i + 1] == '\0' ? bytes[i] : '?';
    }
    return text;
}

} // namespace

// A text's line breaks are written as "\r" and "\n": every record is one
// line, ended by the writer's own CR LF, in every encoding.
TEST_F(LogTest, LineBreaksInATextCannotForgeARecord)
{
    const char* const forged =
        "[2016-1-1 0:1:0.7][1:1][FATAL] <Evil.cpp> <Evil::forge> <line:1> forged record";
    const std::wstring wideForged(forged, forged + std::strlen(forged));
    const std::pair<std::wstring, std::string> texts[] = {
        {L"ok\r\n" + wideForged, std::string("ok\\r\\n") + forged},
        {L"ok\n" + wideForged, std::string("ok\\n") + forged},
        {L"ok\r" + wideForged, std::string("ok\\r") + forged},
        {L"\n\n", "\\n\\n"},
        // Without line breaks a text is written as it is, backslashes too.
        {L"C:\\new\\report \\r\\n", "C:\\new\\report \\r\\n"},
    };
    const int encodings[] = {KO::ENCODING_ANSI, KO::ENCODING_UTF8, KO::ENCODING_UTF16LE};
    int file = 0;
    for (const int encoding : encodings) {
        KO::Log::SetEncoding(encoding);
        for (const auto& [text, written] : texts) {
            const auto prefix = m_dir.Path() / ("forge" + std::to_string(++file));
            UsePrefix(prefix);
            LOG_TRACE << text;
            KO::Log::WriteErrLog(text.c_str());

            for (const char* suffix : {".out", ".err"}) {
                const std::string lines = AsciiText(prefix.string() + suffix, encoding);
                EXPECT_EQ(lines.find_first_of("\r\n"), lines.size() - 2)
                    << "encoding " << encoding << ": " << lines;
                EXPECT_EQ(lines.substr(lines.size() - written.size() - 2), written + "\r\n")
                    << "encoding " << encoding << ": " << lines;
            }
        }
    }
}

namespace {

struct Writer
{
    int id = 0;
    static constexpr int kLines = 300;

    static std::uint32_t Procedure(void* argument)
    {
        const int id = static_cast<Writer*>(argument)->id;
        for (int i = 0; i < kLines; ++i) {
            LOG_TRACE << "writer " << id << " line " << i << " end";
        }
        return 0;
    }
};

} // namespace

TEST_F(LogTest, ConcurrentWritersLoseAndTearNoLine)
{
    std::vector<Writer> writers(6);
    std::vector<KO::Thread> threads(writers.size());
    for (std::size_t i = 0; i < writers.size(); ++i) {
        writers[i].id = static_cast<int>(i);
        threads[i].Start(Writer::Procedure, &writers[i]);
    }
    for (auto& thread : threads) {
        thread.Join();
    }

    std::istringstream lines(ReadText(Out()));
    const std::regex shape(R"(\[[^\]]+\]\[\d+:\d+\]\[TRACE\] <[^>]+> <[^>]+> <line:\d+> )"
                           R"(writer (\d+) line (\d+) end\r)");
    std::set<std::pair<int, int>> seen;
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
        seen.insert({std::stoi(match[1]), std::stoi(match[2])});
    }
    EXPECT_EQ(seen.size(), writers.size() * Writer::kLines);
}
