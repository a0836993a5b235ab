#include "base/LogLine.h"

#include "base/LocalTime.h"
#include "base/Log.h"
#include "base/LogAsync.h"
#include "base/Logging.h"
#include "base/StringConversion.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace KO {

namespace {

// Room for the time prefix, "[2015-12-31 23:59:59.999][4194304:4194304]".
constexpr std::size_t kPrefixLength = 48;

// The last path component, with either separator.
const char* FileNameOf(const char* path)
{
    const char* name = path;
    for (const char* c = path; *c != '\0'; ++c) {
        if (*c == '/' || *c == '\\') {
            name = c + 1;
        }
    }
    return name;
}

template <typename... Args>
std::wstring Format(const wchar_t* format, Args... args)
{
    wchar_t buffer[64];
    const int length = std::swprintf(buffer, sizeof buffer / sizeof buffer[0], format, args...);
    return length > 0 ? std::wstring(buffer, static_cast<std::size_t>(length)) : std::wstring();
}

} // namespace

LogLine::LogLine(const char* sourceFile, const char* function, int line,
                 const wchar_t* level) noexcept
{
    if (sourceFile == nullptr || function == nullptr || level == nullptr) {
        return;
    }
    try {
        WriteHeader(sourceFile, function, line, level);
    } catch (...) {
        // The record keeps what it has.
    }
}

LogLine::~LogLine()
{
    try {
        if (GetAsyncLog()) {
            std::wstring line;
            line.reserve(kPrefixLength + m_text.size() + 2);
            Log::AppendOutputPrefix(line, LocalTime::Now());
            Log::AppendRecordText(line, m_text);
            line += L"\r\n";
            LogAsync::Write(line);
        } else {
            Log::WriteOutLog(m_text.c_str());
        }
    } catch (...) {
        // Logging never throws to a log site.
    }
}

void LogLine::WriteHeader(const char* sourceFile, const char* function, int line,
                          const wchar_t* level)
{
    m_text.reserve(128);
    m_text += L'[';
    m_text += level;
    m_text += L"] <";
    *this << FileNameOf(sourceFile);
    m_text += L"> <";
    *this << QualifiedFunctionName(function);
    m_text += L"> <line:";
    AppendNumber(line);
    m_text += L"> ";
}

// static
std::string LogLine::QualifiedFunctionName(const char* function)
{
    // A decorated name reads "return-type name(parameters) qualifiers". The
    // name ends at the first '(' outside template brackets and starts after
    // the last blank before it that is outside template brackets.
    const std::string decorated(function);
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < decorated.size(); ++i) {
        switch (decorated[i]) {
        case '<':
            ++depth;
            break;
        case '>':
            --depth;
            break;
        case ' ':
            if (depth == 0) {
                start = i + 1;
            }
            break;
        case '(':
            if (depth == 0 && i > start) {
                std::size_t first = start;
                while (first < i && (decorated[first] == '*' || decorated[first] == '&')) {
                    ++first;
                }
                return decorated.substr(first, i - first);
            }
            break;
        default:
            break;
        }
    }
    return decorated;
}

void LogLine::AppendNarrow(const char* text, std::size_t length)
{
    // ASCII is the same in every code page: no conversion needed.
    std::size_t ascii = 0;
    while (ascii < length && static_cast<unsigned char>(text[ascii]) < 0x80) {
        ++ascii;
    }
    if (ascii == length) {
        m_text.append(text, text + length);
        return;
    }
    try {
        m_text += String::ToWide(std::string(text, length).c_str());
    } catch (...) {
        // A text that cannot be converted is left out.
    }
}

LogLine& LogLine::operator<<(bool value)
{
    m_text += value ? L'1' : L'0';
    return *this;
}

LogLine& LogLine::operator<<(double value)
{
    // "%g" is the default formatting of a stream: six significant digits.
    m_text += Format(L"%g", value);
    return *this;
}

LogLine& LogLine::operator<<(const void* value)
{
    m_text += Format(L"%p", value);
    return *this;
}

LogLine& LogLine::operator<<(wchar_t value)
{
    m_text += value;
    return *this;
}

LogLine& LogLine::operator<<(char value)
{
    AppendNarrow(&value, 1);
    return *this;
}

LogLine& LogLine::operator<<(const char* value)
{
    if (value != nullptr) {
        AppendNarrow(value, std::strlen(value));
    }
    return *this;
}

LogLine& LogLine::operator<<(const wchar_t* value)
{
    if (value != nullptr) {
        m_text += value;
    }
    return *this;
}

LogLine& LogLine::operator<<(const std::string& value)
{
    AppendNarrow(value.data(), value.size());
    return *this;
}

LogLine& LogLine::operator<<(const std::wstring& value)
{
    m_text += value;
    return *this;
}

} // namespace KO
