// KO::FileStream::ReadLine and the text encoders on arbitrary bytes. The
// first byte picks the case:
//  - even: the rest is a file read line by line, from a first buffer of
//    (first byte / 2) % 16 bytes (0: none). The lines must give back the file
//    byte for byte, each ending at its first line feed. Each line is then
//    decoded by its byte-order mark (UTF-8, UTF-16LE, else the ANSI code page)
//    and encoded again, which must be stable after one round.
//  - odd: the rest is wide text (4 bytes a character, any value), split into
//    lines at line feeds and written with KO::File::WriteLines and then
//    AppendLines, in encoding (first byte / 2) % 3, with a byte-order mark
//    when bit 3 is set. Reading the file back by lines must give the bytes
//    of an independent encoder.
#include "FuzzInput.h"

#include "base/File.h"
#include "base/FilePath.h"
#include "base/FileStream.h"
#include "base/StringConversion.h"
#include "base/Utf16Encoder.h"
#include "base/Utf8Encoder.h"

#include "MemoryStream.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

std::wstring Wide(const std::string& path)
{
    return std::wstring(path.begin(), path.end());
}

// Every line of the file, each as ReadLine stored it.
std::vector<std::string> ReadLines(const std::string& path, std::size_t firstCapacity)
{
    KO::FileStream stream(KO::FilePath(Wide(path).c_str()), KO::FILE_ACCESS_READ);
    char* line = nullptr;
    std::size_t capacity = 0;
    if (firstCapacity != 0) {
        line = static_cast<char*>(std::malloc(firstCapacity));
        capacity = firstCapacity;
    }
    std::vector<std::string> lines;
    for (;;) {
        const std::size_t count = stream.ReadLine(&line, &capacity);
        if (count == 0) {
            break;
        }
        Check(count < capacity && line[count] == '\0', "line not terminated within its buffer");
        lines.emplace_back(line, count);
    }
    std::free(line);
    return lines;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string Utf8Of(const std::wstring& text)
{
    MemoryStream stream;
    KO::Utf8Encoder(&stream).Write(text.data(), text.size());
    return stream.bytes;
}

std::string Utf16Of(const std::wstring& text)
{
    MemoryStream stream;
    KO::Utf16Encoder(&stream).Write(text.data(), text.size());
    return stream.bytes;
}

// UTF-16LE bytes (an odd last byte dropped) as wide text, one unit each.
std::wstring Utf16Units(const std::string& bytes)
{
    std::wstring units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return units;
}

void CheckRead(const std::uint8_t* data, std::size_t size, std::size_t firstCapacity)
{
    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines =
        ReadLines(FuzzInput::Get().WriteFile(data, size), firstCapacity);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t feed = lines[i].find('\n');
        Check(feed == std::string::npos ? i + 1 == lines.size() : feed + 1 == lines[i].size(),
              "a line does not end at its first line feed");
        joined += lines[i];
    }
    Check(joined == content, "the lines do not give back the file");

    if (StartsWith(content, "\xFF\xFE")) {
        // UTF-16LE: units pass unchanged, so encoding them again is the file.
        const std::string body = content.substr(2, (size - 2) / 2 * 2);
        Check(Utf16Of(Utf16Units(body)) == body, "UTF-16LE units changed");
        return;
    }
    for (const std::string& line : lines) {
        const std::string text = StartsWith(line, "\xEF\xBB\xBF") ? line.substr(3) : line;
        const std::wstring wide = KO::String::ToWide(text.c_str());
        const std::string narrow = KO::String::ToNarrow(wide.data(), wide.size());
        Check(Utf8Of(wide) == narrow, "the ANSI and UTF-8 encoders differ");
        Check(KO::String::ToWide(narrow.c_str()) == wide, "decoding is not stable");
    }
}

// Independent encoders: a high surrogate followed by a low one is one
// character, values beyond U+10FFFF are U+FFFD; UTF-8 replaces lone
// surrogates, UTF-16 keeps them.
std::vector<char32_t> Characters(const std::wstring& text, bool keepLoneSurrogates)
{
    std::vector<char32_t> characters;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(static_cast<std::uint32_t>(text[i]));
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const auto low = static_cast<char32_t>(static_cast<std::uint32_t>(text[i + 1]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        characters.push_back(c > 0x10FFFF || (surrogate && !keepLoneSurrogates) ? 0xFFFD : c);
    }
    return characters;
}

std::string ReferenceUtf8(const std::wstring& text)
{
    std::string out;
    for (const char32_t c : Characters(text, false)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string ReferenceUtf16(const std::wstring& text)
{
    std::string out;
    const auto put = [&out](char32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8 & 0xFF);
    };
    for (const char32_t c : Characters(text, true)) {
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

void CheckWrite(const std::uint8_t* data, std::size_t size, std::uint8_t selector)
{
    std::wstring text;
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        std::uint32_t unit = 0;
        std::memcpy(&unit, data + i, 4);
        text += static_cast<wchar_t>(unit);
    }
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find(L'\n', start)) != std::wstring::npos;
         start = feed + 1) {
        lines.push_back(text.substr(start, feed - start));
    }
    lines.push_back(text.substr(start));

    const auto encoding = static_cast<KO::ENUM_ENCODING>(selector / 2 % 3);
    const bool bom = (selector & 8) != 0;
    const std::string path = FuzzInput::Get().PathOf("written.txt");
    std::remove(path.c_str());
    const KO::File file(KO::FilePath(Wide(path).c_str()));
    Check(file.WriteLines(lines, bom, encoding), "WriteLines failed");
    Check(file.AppendLines(lines, bom, encoding), "AppendLines failed");

    // Each line is one write of its own: a surrogate pair never spans two.
    std::vector<std::wstring> writes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        writes.push_back(lines[i] + (i + 1 < lines.size() ? L"\r\n" : L""));
    }
    for (const std::wstring& line : lines) {
        writes.push_back(line + L"\r\n");
    }
    std::string expected;
    if (encoding == KO::ENCODING_UTF16LE) {
        expected = bom ? "\xFF\xFE" : "";
    } else if (bom && encoding == KO::ENCODING_UTF8) {
        expected = "\xEF\xBB\xBF";
    }
    for (const std::wstring& write : writes) {
        expected += encoding == KO::ENCODING_UTF16LE ? ReferenceUtf16(write) : ReferenceUtf8(write);
    }
    std::string joined;
    for (const std::string& line : ReadLines(path, 0)) {
        joined += line;
    }
    Check(joined == expected, "the file holds other bytes than the encoding gives");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::uint8_t selector = data[0];
    if (selector % 2 == 0) {
        CheckRead(data + 1, size - 1, selector / 2 % 16);
    } else {
        CheckWrite(data + 1, size - 1, selector);
    }
    return 0;
}
