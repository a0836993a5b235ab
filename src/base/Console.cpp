#include "base/Console.h"

#include "base/StringConversion.h"

#include <cstdio>
#include <string>

namespace KO {

namespace {

void WriteLine(std::FILE* stream, std::wstring_view text) noexcept
{
    try {
        std::string bytes = String::ToNarrow(text.data(), text.size());
        bytes += '\n';
        std::fwrite(bytes.data(), 1, bytes.size(), stream);
        std::fflush(stream);
    } catch (...) {
        // The console is the last resort for reports: nothing is left to tell.
    }
}

} // namespace

// static
void Console::Out(std::wstring_view text) noexcept
{
    WriteLine(stdout, text);
}

// static
void Console::Err(std::wstring_view text) noexcept
{
    WriteLine(stderr, text);
}

} // namespace KO
