#pragma once

#include "base/Encoding.h"
#include "base/FilePath.h"
#include "base/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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
    // Appends each line followed by a line break, without a byte-order mark.
    // A missing file is created as WriteLines creates it (with the mark when
    // writeBom is set), but its last line is ended too, so that the next
    // append starts a line of its own. The lines go to the file in one write
    // of bytes prepared beforehand: one open, one write and one close. A
    // write that fails or is cut short (a full disk) is taken back, so the
    // file is left as it was and no line is ever torn; that failure throws
    // SystemException. When size is not null it receives the file's size
    // after the append.
    bool AppendLines(const std::vector<std::wstring>& lines, bool writeBom, ENUM_ENCODING encoding,
                     std::uint64_t* size = nullptr) const;
    // AppendLines for one line.
    bool AppendLine(std::wstring_view line, bool writeBom, ENUM_ENCODING encoding,
                    std::uint64_t* size = nullptr) const;

private:
    static constexpr wchar_t kLineEnd[] = L"\r\n";

    // How WriteAtEnd opens the file.
    enum class Opening
    {
        Existing, // fails, returning false, when the file is missing
        New       // fails, returning false, when the file exists
    };

    // Encodes the lines, each ended, into a buffer of the calling thread and
    // writes them at the end of the file (a new one with the mark).
    bool Append(const std::wstring_view* lines, std::size_t count, bool writeBom,
                ENUM_ENCODING encoding, std::uint64_t* size) const;

    // Creates or truncates the file and writes the mark and the lines.
    bool Create(const std::vector<std::wstring>& lines, bool writeBom,
                ENUM_ENCODING encoding) const;

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
    // Backend: writes bytes at the end of the file at path in one write and
    // sets *size (when not null) to the file's size afterwards; false when
    // the file is missing (Existing) or exists already (New). A write that
    // fails or is cut short is taken back: the file is truncated to its size
    // before, a file created here is removed, and SystemException is thrown.
    [[noreturn]] static void ThrowOpenFailure(const std::wstring& path, std::int32_t error);
    [[noreturn]] static void ThrowWriteFailure(std::int32_t error);
    // A part of a line stayed in the file because taking it back failed.
    [[noreturn]] static void ThrowTakeBackFailure(std::int32_t error);
    static bool WriteAtEnd(const std::wstring& path, std::string_view bytes, Opening opening,
                           std::uint64_t* size);

    FilePath m_path;
};

} // namespace KO
