#pragma once

#include "base/FileAccess.h"
#include "base/FilePath.h"
#include "base/IStream.h"
#include "base/Object.h"

#include <cstdint>
#include <cstdio>

namespace KO {

// A byte stream over a C runtime file, opened in binary mode by the
// constructor and closed by Close or the destructor.
//
// Invalid arguments and use after Close throw Error; failed reads and writes
// throw SystemException. Size and position queries return 0 on failure;
// Skip, Seek and Flush on a closed stream do nothing. Not thread-safe.
class FileStream : public Object, public IStream
{
public:
    // What opening does when the file does not exist.
    enum class MissingFile
    {
        AsTheModeDoes, // the writing modes create it, reading fails
        LeaveClosed    // nothing is created and the stream stays closed
    };

    // Opens path with the mode of access; throws SystemException with the
    // runtime's error number when the file cannot be opened. With
    // LeaveClosed, a missing file (or directory) leaves the stream closed
    // instead, which saves the caller a separate existence check.
    FileStream(FilePath path, ENUM_FILE_ACCESS access,
               MissingFile missingFile = MissingFile::AsTheModeDoes);
    ~FileStream() override;

    std::size_t Read(void* buffer, std::size_t size) override;
    std::size_t Write(const void* buffer, std::size_t size) override;
    std::uint32_t GetSize() const override;
    std::uint32_t GetPosition() const override;
    void Skip(std::uint32_t count) override;
    void Seek(std::uint32_t position) override;

    // Reads bytes up to and including the next line feed into *line and
    // terminates them with a zero byte; returns the number of bytes stored,
    // 0 at the end of the file. When *line is null a buffer of 128 bytes is
    // allocated; whenever the next byte and the zero would not fit, the
    // buffer grows to 1.25 times its capacity, at least 128 bytes. The buffer
    // comes from std::malloc/std::realloc and belongs to the caller, who
    // releases it with std::free; *capacity follows its size.
    virtual std::size_t ReadLine(char** line, std::size_t* capacity);

    // Hands buffered bytes to the system; throws SystemException on failure.
    virtual void Flush();

    // Closes the file, reporting what the destructor cannot: a failure to
    // write buffered bytes throws SystemException. The stream is closed
    // afterwards either way.
    void Close();

    bool IsOpen() const noexcept { return m_file != nullptr; }
    const FilePath& GetPath() const noexcept { return m_path; }

private:
    // The file's size, or -1 when it cannot be found; the position is kept.
    std::int64_t EndOffset() const;
    void SeekWithinFile(std::int64_t offset) const;

    // The C runtime mode string of access.
    static const wchar_t* Mode(ENUM_FILE_ACCESS access);

    // Backend: opens m_path with m_access, creating a missing file only when
    // create is set; null with *error (an errno value, ENOENT for a missing
    // file) on failure.
    std::FILE* Open(bool create, int* error) const;
    static std::int64_t Tell(std::FILE* file);
    static bool SeekTo(std::FILE* file, std::int64_t offset, int origin);

    std::FILE* m_file = nullptr;
    ENUM_FILE_ACCESS m_access;
    FilePath m_path;
};

} // namespace KO
