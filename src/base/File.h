#pragma once

#include "base/Encoding.h"
#include "base/FilePath.h"
#include "base/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KO {

class IEncoder;
class IStream;

// A file named by a FilePath, with the line-oriented operations of the log
// writer. No stream stays open between operations; every line ends with
// carriage return and line feed.
//
// Failures throw: Error for arguments that cannot be used (among them an
// encoding without an encoder, refused before the file is touched),
// SystemException for failed system calls. Not thread-safe.
class File : public Object
{
public:
    explicit File(const FilePath& path);

    // True when the path names an existing file that is not a directory.
    bool Exists() const noexcept;
    // The size in bytes; creates an empty file when there is none.
    std::uint32_t GetSize() const;
    void Delete() const;
    // Moves the file to newName in its directory and then names that file.
    // Fails, leaving both files as they were, when newName exists.
    void Rename(const std::wstring& newName);
    void SetPath(const wchar_t* path);
    const FilePath& GetPath() const noexcept { return m_path; }

    // Creates or truncates the file, writes the byte-order mark when writeBom
    // is set (ANSI code page: none) and then the lines with a line break
    // between them, none after the last. False when a line was written short.
    bool WriteLines(const std::vector<std::wstring>& lines, bool writeBom,
                    ENUM_ENCODING encoding) const;
    // Appends each line followed by a line break, without a byte-order mark;
    // a missing file is created by WriteLines instead. Costs one open, one
    // stream write per line and one close.
    bool AppendLines(const std::vector<std::wstring>& lines, bool writeBom,
                     ENUM_ENCODING encoding) const;

private:
    static constexpr wchar_t kLineEnd[] = L"\r\n";

    // With a mark: a BomEncoder, which writes it at once. Without: UTF-8,
    // UTF-16LE, or the ANSI code page for any other value; call only when
    // HasEncoder is true.
    static std::unique_ptr<IEncoder> CreateEncoder(ENUM_ENCODING encoding, bool writeBom,
                                                   IStream* stream);
    static bool HasEncoder(ENUM_ENCODING encoding, bool writeBom);

    // Backend: system calls on the path; false with *error set on failure.
    static bool MoveWithoutReplacing(const std::wstring& from, const std::wstring& to,
                                     std::int32_t* error);
    static bool Remove(const std::wstring& path, std::int32_t* error);

    FilePath m_path;
};

} // namespace KO
