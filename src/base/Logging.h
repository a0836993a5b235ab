#pragma once

#include "base/LogLine.h"

namespace KO {

// Log levels. A site of level L writes when the current level is at least L.
enum LogLevel : int
{
    LOG_LEVEL_FATAL = 0,
    LOG_LEVEL_ERROR = 1,
    LOG_LEVEL_WARN = 2,
    LOG_LEVEL_TRACE = 3,
    LOG_LEVEL_DEBUG = 4,
    LOG_LEVEL_INFO = 5,
};

// The process-wide level, 3 until set. Stored as given: callers clamp.
int GetLogLevel() noexcept;
void SetLogLevel(int level) noexcept;

// Whether finished log lines go to the asynchronous writer (off until set).
bool GetAsyncLog() noexcept;
void SetAsyncLog(bool on) noexcept;

} // namespace KO

#if defined(_MSC_VER)
#define KO_LOG_FUNCTION __FUNCTION__
#else
#define KO_LOG_FUNCTION __PRETTY_FUNCTION__
#endif

// A log site: tests the level first, so a suppressed site evaluates none of
// its operands. Usage: LOG_ERROR << "open failed: " << path;
// The if/else shape keeps a following `else` bound to the caller's `if`.
#define KO_LOG_AT(level, text)                                                                     \
    if (::KO::GetLogLevel() < (level)) {                                                           \
    } else                                                                                         \
        ::KO::LogLine(__FILE__, KO_LOG_FUNCTION, __LINE__, text)

#define LOG_FATAL KO_LOG_AT(::KO::LOG_LEVEL_FATAL, L"FATAL")
#define LOG_ERROR KO_LOG_AT(::KO::LOG_LEVEL_ERROR, L"ERROR")
#define LOG_WARN KO_LOG_AT(::KO::LOG_LEVEL_WARN, L"WARN")
#define LOG_TRACE KO_LOG_AT(::KO::LOG_LEVEL_TRACE, L"TRACE")
#define LOG_DEBUG KO_LOG_AT(::KO::LOG_LEVEL_DEBUG, L"DEBUG")
#define LOG_INFO KO_LOG_AT(::KO::LOG_LEVEL_INFO, L"INFO")
