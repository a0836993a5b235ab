#pragma once

#include <string_view>

namespace KO {

// The process's standard output and error, where the log writer reports its
// own failures. Each call writes the text and a line end and flushes. Text is
// written in the platform's narrow encoding (the ANSI code page on Windows,
// UTF-8 on POSIX), so the C streams keep their byte orientation and narrow
// writers (the GUI framework's messages, say) stay intact after a report.
class Console
{
public:
    static void Out(std::wstring_view text) noexcept;
    static void Err(std::wstring_view text) noexcept;
};

} // namespace KO
