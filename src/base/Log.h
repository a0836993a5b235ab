#pragma once

#include "base/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace KO {

class File;
struct LocalTime;

// The process-wide log writer: an output file (prefix + ".out") that takes
// the log lines and an error file (prefix + ".err"). Every write opens,
// appends to and closes its file; a file that has grown past the maximum size
// is rotated into stage files NAME.1 .. NAME.N (1 the most recent) at the
// size check that runs on the first write and then on every twentieth.
//
// Thread-safe: writes and settings are serialised by one lock. Never throws:
// failures are reported on the process's standard error and return false.
class Log : public Object
{
public:
    ~Log() override;

    // The singleton, created on first use and never destroyed; null (and
    // reported on standard output) when it cannot be created.
    static Log* GetInstance() noexcept;

    static bool WriteOutLog(const wchar_t* text) noexcept;
    static bool WriteOutLog(const char* text) noexcept;
    static bool WriteErrLog(const wchar_t* text) noexcept;
    static bool WriteErrLog(const char* text) noexcept;

    // Paths of the two files; a relative prefix resolves against the
    // executable's directory. Files already on disk are left alone.
    static void SetPath(std::wstring prefix);
    static void SetEncoding(int encoding);
    static void SetWriteBom(bool on);
    static void SetMaxFileSize(std::uint32_t bytes);
    static void SetStageFileCount(unsigned int count);
    static void SetWritePrefix(bool on);
    static bool GetWritePrefix();

    // Moves NAME.(N-1) .. NAME.1 and the file itself one stage up, dropping
    // the oldest stage; with no stage files the file is deleted. Throws Error
    // for a null file; SystemException when deleting the file fails (N = 0).
    static void RenameStageFiles(const File* file);

    // Appends a record's text to a line: carriage return and line feed are
    // written as the two characters "\r" and "\n", so that a record stays
    // one line and a text cannot start a record of its own. Everything else,
    // backslashes included, is copied as it is: a text without line breaks
    // (a Windows path, say) is written unchanged.
    static void AppendRecordText(std::wstring& line, std::wstring_view text);

    // "[2015-3-7 9:5:2.31][pid:tid]" and "[2015-3-7 9:5:2] ": the prefixes of
    // the output and the error file, numbers without leading zeros.
    static std::wstring OutputPrefix(const LocalTime& time);
    static std::wstring ErrorPrefix(const LocalTime& time);
    // The same, appended to text.
    static void AppendOutputPrefix(std::wstring& text, const LocalTime& time);
    static void AppendErrorPrefix(std::wstring& text, const LocalTime& time);

private:
    friend class LogAsync;
    struct Channel;
    enum class Target
    {
        OutputFile,
        ErrorFile
    };
    // A record gets the prefix (when switched on) and its line breaks
    // escaped; finished lines, which end in line breaks of their own, are
    // written as they are.
    enum class Form
    {
        Record,
        FinishedLines
    };

    Log();

    // RenameStageFiles without the null check; true when every stage moved.
    // Failed stages are reported on standard output when reportFailures is set.
    static bool RotateStageFiles(const File& file, bool reportFailures);
    static bool WriteTo(Target target, const wchar_t* text, Form form) noexcept;
    bool Write(Channel& channel, const wchar_t* text, Form form) noexcept;

    std::unique_ptr<Channel> m_out;
    std::unique_ptr<Channel> m_err;
    std::wstring m_prefix;
};

} // namespace KO
