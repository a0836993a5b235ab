#include "base/File.h"

#include "base/BomEncoder.h"
#include "base/Error.h"
#include "base/FileStream.h"
#include "base/MbcsEncoder.h"
#include "base/SystemException.h"
#include "base/Utf16Encoder.h"
#include "base/Utf8Encoder.h"

namespace KO {

namespace {

// Encodings 0 to 2 have an encoder with and without a byte-order mark; the
// plain encoders also take any other value as the ANSI code page, except 3.
constexpr int kEncodingWithoutEncoder = 3;

bool WriteText(IEncoder& encoder, const std::wstring& text)
{
    return encoder.Write(text.data(), text.size()) >= text.size();
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
                       ENUM_ENCODING encoding) const
{
    if (!HasEncoder(encoding, writeBom)) {
        throw Error(L"File::AppendLines(const std::vector<std::wstring> &, bool, "
                    L"ENUM_ENCODING)#No encoder for the encoding.");
    }
    // Opening without creating is the existence check: one call fewer, and
    // no window in which the file could vanish between check and open.
    FileStream stream(m_path, FILE_ACCESS_APPEND_READ, FileStream::MissingFile::LeaveClosed);
    if (!stream.IsOpen()) {
        return WriteLines(lines, writeBom, encoding);
    }
    const std::unique_ptr<IEncoder> encoder = CreateEncoder(encoding, false, &stream);
    bool written = true;
    std::wstring text;
    for (std::size_t i = 0; written && i < lines.size(); ++i) {
        text.assign(lines[i]).append(kLineEnd);
        written = WriteText(*encoder, text);
    }
    stream.Close();
    return written;
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
