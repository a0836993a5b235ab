// The log writer on a file system that fills up: a child process may grow its
// files only to a limit (RLIMIT_FSIZE, with SIGXFSZ ignored, so that a write
// past it fails with EFBIG, as on a full disk), writes numbered lines past
// the limit, then has the limit lifted and writes on. The parent checks what
// survives: the child ends normally, every failed write was reported and
// returned false, the file holds exactly the lines reported written, each
// whole, and writing resumes once there is room again.
#include "../LogFixture.h"

#include "base/Encoding.h"
#include "base/Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <regex>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr rlim_t kFileLimit = 4096;
constexpr int kLinesWhileFull = 150; // about 60 bytes each: well past the limit
constexpr int kLinesAfter = 40;

// "<line 0042>": no payload is a part of another.
std::wstring Payload(int number)
{
    std::wstring digits = std::to_wstring(number);
    digits.insert(0, 4 - digits.size(), L'0');
    return L"<line " + digits + L"> of the full-disk test, padded to some length";
}

bool SetFileLimit(rlim_t soft)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return false;
    }
    limit.rlim_cur = soft;
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// The child: writes the lines, answering each write's result on `results`
// ('1' written, '0' failed); its standard error goes to `errors` (a pipe,
// which the file size limit does not cut short). Exit code 0 unless the
// limit cannot be set.
[[noreturn]] void WriteInChild(int results, int errors)
{
    if (dup2(errors, STDERR_FILENO) < 0) {
        _exit(10);
    }
    std::signal(SIGXFSZ, SIG_IGN);
    if (!SetFileLimit(kFileLimit)) {
        _exit(11);
    }
    for (int number = 0; number < kLinesWhileFull + kLinesAfter; ++number) {
        if (number == kLinesWhileFull && !SetFileLimit(RLIM_INFINITY)) {
            _exit(11);
        }
        const char result = KO::Log::WriteOutLog(Payload(number).c_str()) ? '1' : '0';
        if (write(results, &result, 1) != 1) {
            _exit(12);
        }
    }
    _exit(0);
}

std::string ReadAll(int descriptor)
{
    std::string bytes;
    char buffer[4096];
    for (ssize_t count; (count = read(descriptor, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    close(descriptor);
    return bytes;
}

// The file's text as wide characters: UTF-8 taken byte by byte (the lines are
// ASCII), UTF-16LE unit by unit; a byte-order mark dropped. (The writer's
// first size check creates the file empty, so the first file has none.)
std::wstring FileText(const std::string& bytes, KO::ENUM_ENCODING encoding)
{
    std::wstring text;
    if (encoding == KO::ENCODING_UTF16LE) {
        const std::size_t start = bytes.compare(0, 2, "\xFF\xFE") == 0 ? 2 : 0;
        for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
        if (bytes.size() % 2 != 0) {
            text += L'\xFFFD'; // half a unit at the end
        }
    } else {
        const std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        for (std::size_t i = start; i < bytes.size(); ++i) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
        }
    }
    return text;
}

// Runs the child once per test and keeps what it left behind.
class LogFullDiskTest : public LogFixture, public ::testing::WithParamInterface<KO::ENUM_ENCODING>
{
protected:
    void SetUp() override
    {
        LogFixture::SetUp();
        KO::Log::SetEncoding(GetParam());
        int results[2];
        int errors[2];
        ASSERT_EQ(pipe(results), 0);
        ASSERT_EQ(pipe(errors), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(results[0]);
            close(errors[0]);
            WriteInChild(results[1], errors[1]);
        }
        close(results[1]);
        close(errors[1]);
        m_written = ReadAll(results[0]);
        m_reports = ReadAll(errors[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
        ASSERT_EQ(WEXITSTATUS(status), 0);
        ASSERT_EQ(m_written.size(), static_cast<std::size_t>(kLinesWhileFull + kLinesAfter));
        m_text = FileText(ReadText(Out()), GetParam());
    }

    std::string m_written; // per line: '1' reported written, '0' failed
    std::string m_reports; // the child's standard error
    std::wstring m_text;   // the output file
};

TEST_P(LogFullDiskTest, FailedWritesAreReportedAndWritingResumesWithoutLosingALine)
{
    // While full: some lines fit, the rest failed, each failure reported.
    const std::string whileFull = m_written.substr(0, kLinesWhileFull);
    const auto failures =
        static_cast<std::size_t>(std::count(whileFull.begin(), whileFull.end(), '0'));
    EXPECT_GT(failures, 0U);
    EXPECT_LT(failures, static_cast<std::size_t>(kLinesWhileFull));
    std::size_t reported = 0;
    for (std::size_t at = 0; (at = m_reports.find("Log::WriteOutLog", at)) != std::string::npos;
         ++at) {
        ++reported;
    }
    EXPECT_EQ(reported, failures) << m_reports;
    // With room again every write succeeds.
    EXPECT_EQ(m_written.substr(kLinesWhileFull), std::string(kLinesAfter, '1'));
    // Every line reported written is in the file, once.
    for (int number = 0; number < static_cast<int>(m_written.size()); ++number) {
        const std::size_t first = m_text.find(Payload(number) + L"\r\n");
        const bool present = first != std::wstring::npos &&
                             m_text.find(Payload(number), first + 1) == std::wstring::npos;
        EXPECT_EQ(present, m_written[static_cast<std::size_t>(number)] == '1') << "line " << number;
    }
}

// An append cut short by the full disk is taken back: were the part of the
// line that fitted left in the file, the next line written once there is room
// again would be glued onto it, and in UTF-16LE a cut at an odd byte would
// misalign every later line.
TEST_P(LogFullDiskTest, NoLineIsTorn)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = m_text.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
        lines.push_back(m_text.substr(start, end - start));
    }
    EXPECT_EQ(start, m_text.size()) << "the file ends inside a line";
    const std::wregex whole(
        L"\\[\\d+-\\d+-\\d+ \\d+:\\d+:\\d+\\.\\d+\\]\\[\\d+:\\d+\\]<line \\d{4}> of the "
        L"full-disk test, padded to some length");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], whole))
            << "line " << i << " is torn: " << std::string(lines[i].begin(), lines[i].end());
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, LogFullDiskTest,
                         ::testing::Values(KO::ENCODING_UTF8, KO::ENCODING_UTF16LE),
                         [](const ::testing::TestParamInfo<KO::ENUM_ENCODING>& info) {
                             return info.param == KO::ENCODING_UTF8 ? std::string("Utf8")
                                                                    : std::string("Utf16Le");
                         });

} // namespace
