#include "base/Log.h"

#include "base/Console.h"
#include "base/Error.h"
#include "base/File.h"
#include "base/FilePath.h"
#include "base/LocalTime.h"
#include "base/Mutex.h"
#include "base/Process.h"
#include "base/ScopedLock.h"
#include "base/StringConversion.h"
#include "base/SystemException.h"

#include <exception>
#include <optional>
#include <utility>
#include <vector>

namespace KO {

namespace {

constexpr int kWritesPerSizeCheck = 20;

// Class-wide settings, guarded by WriterLock().
struct Settings
{
    int encoding = ENCODING_UTF16LE;
    bool writeBom = true;
    bool writePrefix = true;
    std::uint32_t maxFileSize = 10000000;
    unsigned int stageFileCount = 0;
};

Settings g_settings;

// Deliberately never destroyed: log sites may run during static destruction.
Mutex& WriterLock()
{
    static Mutex* const lock = new Mutex;
    return *lock;
}

std::wstring ErrorNumberText(const SystemException& exception)
{
    return std::to_wstring(exception.GetErrNum());
}

// Reports the exception being handled as a failure of `operation` on
// standard error. Called from a catch block only.
void ReportFailure(const wchar_t* operation) noexcept
{
    try {
        const std::wstring head = std::wstring(operation) + L" fails. ErrMsg:";
        try {
            throw;
        } catch (const SystemException& exception) {
            Console::Err(head + exception.GetErrMsg() + L". ErrNum:" + ErrorNumberText(exception));
        } catch (const Error& error) {
            Console::Err(head + error.GetErrMsg());
        } catch (const std::exception& exception) {
            Console::Err(head + String::ToWide(exception.what()));
        }
    } catch (...) {
        // Out of memory even for the report: nothing is left to tell.
    }
}

// Decimal digits without leading zeros; one line carries about ten numbers,
// so this avoids the formatted-output machinery.
void AppendDecimal(std::wstring& text, unsigned long value)
{
    wchar_t digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) {
        text += digits[--count];
    }
}

// Appends "[year-month-day hour:minute:second", the start of both prefixes.
void AppendDateAndTime(std::wstring& text, const LocalTime& time)
{
    const std::pair<wchar_t, int> parts[] = {{L'[', time.year},   {L'-', time.month},
                                             {L'-', time.day},    {L' ', time.hour},
                                             {L':', time.minute}, {L':', time.second}};
    for (const auto& [separator, number] : parts) {
        text += separator;
        AppendDecimal(text, static_cast<unsigned long>(number));
    }
}

} // namespace

// One of the two log files with its size-check counter and report texts.
struct Log::Channel
{
    using Prefix = void (*)(std::wstring&, const LocalTime&);

    Channel(const std::wstring& path, const wchar_t* operationName, Prefix prefixOfLine)
        : file(FilePath(path.c_str())), operation(operationName), prefix(prefixOfLine)
    {}

    File file;
    int writesSinceCheck = kWritesPerSizeCheck;
    // The size the last append before a check left, so that the check needs
    // no system calls of its own; unknown (the file is asked) on the first
    // check at a path and after a failed append.
    std::optional<std::uint64_t> sizeForCheck;
    std::wstring line;            // reused: the writer's lock guards it
    bool rotationFailing = false; // the last rotation failed and was reported
    const wchar_t* operation;     // names the writer in failure reports
    Prefix prefix;
};

Log::Log()
    : m_out(std::make_unique<Channel>(L"./Log.out", L"Log::WriteOutLog(const wchar_t*)",
                                      &Log::AppendOutputPrefix)),
      m_err(std::make_unique<Channel>(L"./Log.err", L"KO::Log::WriteErrLog(const wchar_t*)",
                                      &Log::AppendErrorPrefix)),
      m_prefix(L"./Log")
{}

Log::~Log() = default;

// static
Log* Log::GetInstance() noexcept
{
    static Log* instance = nullptr; // never destroyed, like WriterLock()
    try {
        ScopedLock lock(WriterLock());
        if (instance == nullptr) {
            instance = new Log;
        }
        return instance;
    } catch (const SystemException& exception) {
        Console::Out(std::wstring(L"GetInstance() fails. ErrMsg:") + exception.GetErrMsg() +
                     L"ErrNum:" + ErrorNumberText(exception));
    } catch (const Error& error) {
        Console::Out(std::wstring(L"GetInstance() fails. ErrMsg:") + error.GetErrMsg());
    } catch (const std::exception&) {
        Console::Out(L"GetInstance() fails.");
    }
    return nullptr;
}

bool Log::Write(Channel& channel, const wchar_t* text, Form form) noexcept
{
    try {
        if (channel.writesSinceCheck >= kWritesPerSizeCheck) {
            const std::uint64_t size = channel.sizeForCheck.has_value()
                                           ? *std::exchange(channel.sizeForCheck, std::nullopt)
                                           : channel.file.GetSize();
            if (size > g_settings.maxFileSize) {
                // A rotation that keeps failing is reported once, not at every
                // check, until one succeeds again.
                channel.rotationFailing = !RotateStageFiles(channel.file, !channel.rotationFailing);
            }
            channel.writesSinceCheck = 0;
        }
        ++channel.writesSinceCheck;

        std::wstring_view line = text;
        if (form == Form::Record) {
            channel.line.clear();
            if (g_settings.writePrefix) {
                channel.prefix(channel.line, LocalTime::Now());
            }
            AppendRecordText(channel.line, text);
            line = channel.line;
        }
        // The append before a check reports the size the check needs.
        std::uint64_t size = 0;
        const bool beforeCheck = channel.writesSinceCheck == kWritesPerSizeCheck;
        const bool written = channel.file.AppendLine(
            line, g_settings.writeBom, static_cast<ENUM_ENCODING>(g_settings.encoding),
            beforeCheck ? &size : nullptr);
        if (beforeCheck) {
            channel.sizeForCheck = size;
        }
        return written;
    } catch (...) {
        ReportFailure(channel.operation);
    }
    return false;
}

// static
bool Log::WriteOutLog(const wchar_t* text) noexcept
{
    if (text == nullptr) {
        Console::Err(L"Invalid Parameters.");
        return false;
    }
    return WriteTo(Target::OutputFile, text, Form::Record);
}

// static
bool Log::WriteTo(Target target, const wchar_t* text, Form form) noexcept
{
    Log* log = GetInstance();
    if (log == nullptr) {
        Console::Err(L"GetInstance fails.");
        return false;
    }
    Channel& channel = target == Target::OutputFile ? *log->m_out : *log->m_err;
    try {
        ScopedLock lock(WriterLock());
        return log->Write(channel, text, form);
    } catch (...) {
        ReportFailure(channel.operation); // the lock failed
    }
    return false;
}

// static
bool Log::WriteOutLog(const char* text) noexcept
{
    if (text == nullptr) {
        Console::Err(L"KO::Log::WriteOutLog(const char*)#Invalid Parameters.\n");
        return false;
    }
    try {
        return WriteOutLog(String::ToWide(text).c_str());
    } catch (...) {
        ReportFailure(L"KO::Log::WriteOutLog(const char*)");
    }
    return false;
}

// static
bool Log::WriteErrLog(const wchar_t* text) noexcept
{
    if (text == nullptr) {
        Console::Err(L"KO::Log::WriteErrLog(const wchar_t*)Invalid Parameters.");
        return false;
    }
    return WriteTo(Target::ErrorFile, text, Form::Record);
}

// static
bool Log::WriteErrLog(const char* text) noexcept
{
    if (text == nullptr) {
        Console::Err(L"KO::Log::WriteErrLog(const char*)#Invalid Parameters.\n");
        return false;
    }
    try {
        return WriteErrLog(String::ToWide(text).c_str());
    } catch (...) {
        ReportFailure(L"KO::Log::WriteErrLog(const char*)");
    }
    return false;
}

// static
void Log::SetPath(std::wstring prefix)
{
    Log* log = GetInstance();
    if (log == nullptr) {
        return;
    }
    ScopedLock lock(WriterLock());
    try {
        for (Channel* channel : {log->m_out.get(), log->m_err.get()}) {
            // A file at a new path has not been checked yet: check on the next write.
            channel->writesSinceCheck = kWritesPerSizeCheck;
            channel->sizeForCheck.reset();
        }
        log->m_out->file.SetPath((prefix + L".out").c_str());
        log->m_err->file.SetPath((prefix + L".err").c_str());
        log->m_prefix = std::move(prefix);
    } catch (const SystemException& exception) {
        Console::Err(std::wstring(L"Log::SetPath(std::wstring) fails. ErrMsg:") +
                     exception.GetErrMsg() + L". ErrNum:" + ErrorNumberText(exception));
    } catch (const Error& error) {
        Console::Err(std::wstring(L"Log::SetPath(std::wstring) fails. ErrMsg:") +
                     error.GetErrMsg());
    }
}

// static
void Log::SetEncoding(int encoding)
{
    ScopedLock lock(WriterLock());
    g_settings.encoding = encoding;
}

// static
void Log::SetWriteBom(bool on)
{
    ScopedLock lock(WriterLock());
    g_settings.writeBom = on;
}

// static
void Log::SetMaxFileSize(std::uint32_t bytes)
{
    ScopedLock lock(WriterLock());
    g_settings.maxFileSize = bytes;
}

// static
void Log::SetStageFileCount(unsigned int count)
{
    ScopedLock lock(WriterLock());
    g_settings.stageFileCount = count;
}

// static
void Log::SetWritePrefix(bool on)
{
    ScopedLock lock(WriterLock());
    g_settings.writePrefix = on;
}

// static
bool Log::GetWritePrefix()
{
    ScopedLock lock(WriterLock());
    return g_settings.writePrefix;
}

// static
void Log::RenameStageFiles(const File* file)
{
    if (file == nullptr) {
        throw Error(L"Log::RenameStageFiles(const File *)#Inavlid Parameters.");
    }
    RotateStageFiles(*file, true);
}

// static
bool Log::RotateStageFiles(const File& file, bool reportFailures)
{
    const std::wstring path = file.GetPath().GetPath();
    const std::wstring name = file.GetPath().GetFileName();
    const unsigned int stages = g_settings.stageFileCount;
    bool rotated = true;
    for (unsigned int i = stages; i >= 1; --i) {
        try {
            if (i == stages) {
                const File oldest(FilePath((path + L"." + std::to_wstring(i)).c_str()));
                if (oldest.Exists()) {
                    oldest.Delete();
                }
            }
            const std::wstring source = i == 1 ? path : path + L"." + std::to_wstring(i - 1);
            File stage{FilePath(source.c_str())};
            if (stage.Exists()) {
                stage.Rename(name + L"." + std::to_wstring(i));
            }
        } catch (const SystemException& exception) {
            rotated = false;
            if (reportFailures) {
                Console::Out(std::wstring(L"Log::RenameStageFiles(const File *) fails. ErrMsg:") +
                             exception.GetErrMsg() + L". ErrNum:" + ErrorNumberText(exception));
            }
        }
    }
    if (stages == 0) {
        file.Delete();
    }
    return rotated;
}

// static
void Log::AppendRecordText(std::wstring& line, std::wstring_view text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c != L'\r' && c != L'\n') {
            continue;
        }
        line.append(text, start, i - start);
        line += c == L'\r' ? L"\\r" : L"\\n";
        start = i + 1;
    }
    line.append(text, start, text.size() - start);
}

// static
std::wstring Log::OutputPrefix(const LocalTime& time)
{
    std::wstring text;
    AppendOutputPrefix(text, time);
    return text;
}

// static
std::wstring Log::ErrorPrefix(const LocalTime& time)
{
    std::wstring text;
    AppendErrorPrefix(text, time);
    return text;
}

// static
void Log::AppendOutputPrefix(std::wstring& text, const LocalTime& time)
{
    AppendDateAndTime(text, time);
    text += L'.';
    AppendDecimal(text, static_cast<unsigned long>(time.millisecond));
    text += L"][";
    AppendDecimal(text, Process::CurrentId());
    text += L':';
    AppendDecimal(text, Process::CurrentThreadId());
    text += L']';
}

// static
void Log::AppendErrorPrefix(std::wstring& text, const LocalTime& time)
{
    AppendDateAndTime(text, time);
    text += L"] ";
}

} // namespace KO
