#pragma once

#include "base/NotCopyable.h"

#include <cstdint>
#include <string>
#include <type_traits>

namespace KO {

// One log record, built at a log site and written when it is destroyed at
// the end of the log statement: to the asynchronous writer when asynchronous
// logging is on, else to the output file of Log. Never throws: a header or an
// operand that cannot be converted is left out.
class LogLine : private NotCopyable
{
public:
    // `function` is the compiler's name of the function; a decorated name
    // ("void Foo::bar(int)") is reduced to the qualified name ("Foo::bar").
    // Any null argument gives a record without header.
    LogLine(const char* sourceFile, const char* function, int line, const wchar_t* level) noexcept;
    ~LogLine();

    LogLine& operator<<(bool value);
    LogLine& operator<<(short value) { return AppendNumber(value); }
    LogLine& operator<<(int value) { return AppendNumber(value); }
    LogLine& operator<<(unsigned int value) { return AppendNumber(value); }
    LogLine& operator<<(long value) { return AppendNumber(value); }
    LogLine& operator<<(unsigned long value) { return AppendNumber(value); }
    LogLine& operator<<(long long value) { return AppendNumber(value); }
    LogLine& operator<<(unsigned long long value) { return AppendNumber(value); }
    LogLine& operator<<(float value) { return *this << static_cast<double>(value); }
    LogLine& operator<<(double value);
    LogLine& operator<<(const void* value);
    LogLine& operator<<(wchar_t value);
    LogLine& operator<<(char value);
    LogLine& operator<<(const char* value);
    LogLine& operator<<(const wchar_t* value);
    LogLine& operator<<(const std::string& value);
    LogLine& operator<<(const std::wstring& value);

    const std::wstring& Text() const noexcept { return m_text; }

    // "Foo::bar" out of a decorated function name; other names unchanged.
    static std::string QualifiedFunctionName(const char* function);

private:
    void WriteHeader(const char* sourceFile, const char* function, int line, const wchar_t* level);
    void AppendNarrow(const char* text, std::size_t length);

    // Decimal, as std::to_wstring writes it, without its formatted output.
    template <typename Integer>
    LogLine& AppendNumber(Integer value)
    {
        using Unsigned = std::make_unsigned_t<Integer>;
        auto magnitude = static_cast<Unsigned>(value);
        if constexpr (std::is_signed_v<Integer>) {
            if (value < 0) {
                m_text += L'-';
                magnitude = static_cast<Unsigned>(0U - magnitude);
            }
        }
        wchar_t digits[20]; // enough for 64 bits
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
            magnitude = static_cast<Unsigned>(magnitude / 10);
        } while (magnitude != 0);
        while (count > 0) {
            m_text += digits[--count];
        }
        return *this;
    }

    std::wstring m_text;
};

} // namespace KO
