#include "base/File.h"

#include "base/BomEncoder.h"
#include "base/Error.h"
#include "base/FileStream.h"
#include "base/MbcsEncoder.h"
#include "base/StringConversion.h"
#include "base/SystemException.h"
#include "base/Unicode.h"
#include "base/Utf16Encoder.h"
#include "base/Utf8Encoder.h"

#include <cerrno>

namespace KO {

namespace {

// Encodings 0 to 2 have an encoder with and without a byte-order mark; the
// plain encoders also take any other value as the ANSI code page, except 3.
constexpr int kEncodingWithoutEncoder = 3;

bool WriteText(IEncoder& encoder, const std::wstring& text)
{
    return encoder.Write(text.data(), text.size()) >= text.size();
}

// A buffer grown past this by a long line is given back at the next append.
constexpr std::size_t kKeptBufferCapacity = 64 * 1024;

// The byte-order mark a new file starts with.
std::string_view Mark(ENUM_ENCODING encoding, bool writeBom)
{
    if (!writeBom) {
        return {};
    }
    switch (encoding) {
    case ENCODING_UTF8:
        return "\xEF\xBB\xBF";
    case ENCODING_UTF16LE:
        return "\xFF\xFE";
    default:
        return {};
    }
}

// Appends the bytes of text in the encoding (any value other than UTF-8 and
// UTF-16LE: the ANSI code page); false when the code page gave fewer bytes
// than characters, which the encoders count as a line written short.
bool AppendEncoded(std::string& bytes, std::wstring_view text, ENUM_ENCODING encoding)
{
    switch (encoding) {
    case ENCODING_UTF8:
        Unicode::AppendUtf8(text.data(), text.size(), bytes);
        return true;
    case ENCODING_UTF16LE:
        Unicode::AppendUtf16Le(text.data(), text.size(), bytes);
        return true;
    default: {
        const std::string narrow = String::ToNarrow(text.data(), text.size());
        bytes += narrow;
        return narrow.size() >= text.size();
    }
    }
}

} // namespace

File::File(const FilePath& path) : m_path(path)
{}

std::uint32_t File::GetSize() const
{
    return FileStream(m_path, FILE_ACCESS_APPEND_READ).GetSize();
}

void File::Delete() const
{
    std::int32_t error = 0;
    if (!Remove(m_path.GetPath(), &error)) {
        throw SystemException(L"File::Delete()#DeleteFile fails.", error);
    }
}

void File::Rename(const std::wstring& newName)
{
    FilePath target = m_path;
    target.SetPath((m_path.GetDirectory() + newName).c_str());
    std::int32_t error = 0;
    if (!MoveWithoutReplacing(m_path.GetPath(), target.GetPath(), &error)) {
        throw SystemException(L"File::Rename(const std::wstring &)#MoveFile fails.", error);
    }
    m_path = target;
}

void File::SetPath(const wchar_t* path)
{
    m_path.SetPath(path);
}

bool File::WriteLines(const std::vector<std::wstring>& lines, bool writeBom,
                      ENUM_ENCODING encoding) const
{
    if (!HasEncoder(encoding, writeBom)) {
        throw Error(L"File::WriteLines(const std::vector<std::wstring> &, bool, "
                    L"ENUM_ENCODING)#No encoder for the encoding.");
    }
    return Create(lines, writeBom, encoding);
}

bool File::Create(const std::vector<std::wstring>& lines, bool writeBom,
                  ENUM_ENCODING encoding) const
{
    FileStream stream(m_path, FILE_ACCESS_WRITE);
    const std::unique_ptr<IEncoder> encoder = CreateEncoder(encoding, writeBom, &stream);
    bool written = true;
    std::wstring text;
    for (std::size_t i = 0; written && i < lines.size(); ++i) {
        if (i + 1 == lines.size()) {
            written = WriteText(*encoder, lines[i]);
        } else {
            text.assign(lines[i]).append(kLineEnd);
            written = WriteText(*encoder, text);
        }
    }
    stream.Close();
    return written;
}

bool File::AppendLines(const std::vector<std::wstring>& lines, bool writeBom,
                       ENUM_ENCODING encoding, std::uint64_t* size) const
{
    if (!HasEncoder(encoding, writeBom)) {
        throw Error(L"File::AppendLines(const std::vector<std::wstring> &, bool, "
                    L"ENUM_ENCODING)#No encoder for the encoding.");
    }
    const std::vector<std::wstring_view> views(lines.begin(), lines.end());
    return Append(views.data(), views.size(), writeBom, encoding, size);
}

bool File::AppendLine(std::wstring_view line, bool writeBom, ENUM_ENCODING encoding,
                      std::uint64_t* size) const
{
    if (!HasEncoder(encoding, writeBom)) {
        throw Error(L"File::AppendLines(const std::vector<std::wstring> &, bool, "
                    L"ENUM_ENCODING)#No encoder for the encoding.");
    }
    return Append(&line, 1, writeBom, encoding, size);
}

bool File::Append(const std::wstring_view* lines, std::size_t count, bool writeBom,
                  ENUM_ENCODING encoding, std::uint64_t* size) const
{
    thread_local std::string bytes;
    if (bytes.capacity() > kKeptBufferCapacity) {
        bytes = std::string();
    }
    const std::string_view mark = Mark(encoding, writeBom);
    bytes.assign(mark);
    bool whole = true;
    for (std::size_t i = 0; whole && i < count; ++i) {
        whole = AppendEncoded(bytes, lines[i], encoding);
        AppendEncoded(bytes, kLineEnd, encoding);
    }
    const std::string_view withMark = bytes;
    const std::string_view withoutMark = withMark.substr(mark.size());
    const std::wstring& path = m_path.GetPath();
    // Opening without creating is the existence check: one call fewer. A file
    // created by someone else between the two opens is appended to.
    if (!WriteAtEnd(path, withoutMark, Opening::Existing, size) &&
        !WriteAtEnd(path, withMark, Opening::New, size) &&
        !WriteAtEnd(path, withoutMark, Opening::Existing, size)) {
        ThrowOpenFailure(path, ENOENT); // the file keeps vanishing and reappearing
    }
    return whole;
}

// The reports name the stream operations the writer used to make, which the
// log's readers know.
// static
void File::ThrowOpenFailure(const std::wstring& path, std::int32_t error)
{
    const std::wstring message =
        L"FileStream::FileStream(const FilePath, const ENUM_FILE_ACCESS)#_wfopen_s " + path +
        L" fails.";
    throw SystemException(message.c_str(), error);
}

// static
void File::ThrowWriteFailure(std::int32_t error)
{
    throw SystemException(L"FileStream::Close()#fclose fails.", error);
}

// static
void File::ThrowTakeBackFailure(std::int32_t error)
{
    throw SystemException(L"File::AppendLines(const std::vector<std::wstring> &, bool, "
                          L"ENUM_ENCODING)#Taking back a short write fails.",
                          error);
}

// static
std::unique_ptr<IEncoder> File::CreateEncoder(ENUM_ENCODING encoding, bool writeBom,
                                              IStream* stream)
{
    if (writeBom) {
        return std::make_unique<BomEncoder>(encoding, stream);
    }
    switch (encoding) {
    case ENCODING_UTF8:
        return std::make_unique<Utf8Encoder>(stream);
    case ENCODING_UTF16LE:
        return std::make_unique<Utf16Encoder>(stream);
    default:
        return std::make_unique<MbcsEncoder>(stream);
    }
}

// static
bool File::HasEncoder(ENUM_ENCODING encoding, bool writeBom)
{
    if (writeBom) {
        return encoding == ENCODING_ANSI || encoding == ENCODING_UTF8 ||
               encoding == ENCODING_UTF16LE;
    }
    return encoding != kEncodingWithoutEncoder;
}

} // namespace KO
