#include "base/FileStream.h"

#include "base/Error.h"
#include "base/SystemException.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

namespace KO {

namespace {

constexpr std::size_t kInitialLineCapacity = 128;

std::uint32_t ClampToUint32(std::int64_t value)
{
    if (value <= 0) {
        return 0;
    }
    constexpr auto kMaximum = std::numeric_limits<std::uint32_t>::max();
    return value > static_cast<std::int64_t>(kMaximum) ? kMaximum
                                                       : static_cast<std::uint32_t>(value);
}

[[noreturn]] void ThrowReadLineFailure(int error)
{
    throw SystemException(L"FileStream::ReadLine(void*, std::size_t)#getline_ex fails.", error);
}

// Gives *line room for at least one more byte and the terminating zero.
void GrowLineBuffer(char** line, std::size_t* capacity)
{
    const std::size_t grown = std::max(*capacity + *capacity / 4, kInitialLineCapacity);
    void* buffer = std::realloc(*line, grown);
    if (buffer == nullptr) {
        ThrowReadLineFailure(ENOMEM); // *line is still the caller's buffer
    }
    *line = static_cast<char*>(buffer);
    *capacity = grown;
}

} // namespace

FileStream::FileStream(FilePath path, ENUM_FILE_ACCESS access, MissingFile missingFile)
    : m_access(access), m_path(std::move(path))
{
    int error = 0;
    const bool leaveClosed = missingFile == MissingFile::LeaveClosed;
    m_file = Open(!leaveClosed, &error);
    if (m_file == nullptr && !(leaveClosed && error == ENOENT)) {
        const std::wstring message = L"FileStream::FileStream(const FilePath, const "
                                     L"ENUM_FILE_ACCESS)#_wfopen_s " +
                                     m_path.GetPath() + L" fails.";
        throw SystemException(message.c_str(), error);
    }
}

FileStream::~FileStream()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void FileStream::Close()
{
    if (m_file == nullptr) {
        return;
    }
    std::FILE* file = std::exchange(m_file, nullptr);
    if (std::fclose(file) != 0) {
        throw SystemException(L"FileStream::Close()#fclose fails.", errno);
    }
}

std::size_t FileStream::Read(void* buffer, std::size_t size)
{
    if (buffer == nullptr || m_file == nullptr) {
        throw Error(L"FileStream::Read(void *, std::size_t)#Invalid Parameters.");
    }
    const std::size_t count = std::fread(buffer, 1, size, m_file);
    if (count < size && std::ferror(m_file)) {
        std::clearerr(m_file);
        throw SystemException(L"FileStream::Read(void *, aint)#fread fails.", -1);
    }
    return count;
}

std::size_t FileStream::Write(const void* buffer, std::size_t size)
{
    if (buffer == nullptr || m_file == nullptr) {
        throw Error(L"FileStream::Write(void *, aint)#Invalid Parameters.");
    }
    const std::size_t count = std::fwrite(buffer, 1, size, m_file);
    if (count != size) {
        std::clearerr(m_file);
        throw SystemException(L"FileStream::Write(void *, aint)#fwrite fails.", -1);
    }
    return count;
}

std::uint32_t FileStream::GetSize() const
{
    return m_file == nullptr ? 0 : ClampToUint32(EndOffset());
}

std::uint32_t FileStream::GetPosition() const
{
    return m_file == nullptr ? 0 : ClampToUint32(Tell(m_file));
}

void FileStream::Skip(std::uint32_t count)
{
    if (m_file == nullptr) {
        return;
    }
    const std::int64_t position = Tell(m_file);
    if (position >= 0) {
        SeekWithinFile(position + count);
    }
}

void FileStream::Seek(std::uint32_t position)
{
    if (m_file != nullptr) {
        SeekWithinFile(position);
    }
}

std::size_t FileStream::ReadLine(char** line, std::size_t* capacity)
{
    if (line == nullptr || capacity == nullptr || m_file == nullptr) {
        throw Error(L"FileStream::ReadLine(void*, std::size_t#Invalid Parameters.");
    }
    if (*line == nullptr) {
        *capacity = 0;
    }
    if (*capacity == 0) {
        GrowLineBuffer(line, capacity);
    }
    std::size_t count = 0;
    for (;;) {
        const int c = std::getc(m_file);
        if (c == EOF) {
            if (std::ferror(m_file)) {
                const int error = errno;
                std::clearerr(m_file);
                ThrowReadLineFailure(error);
            }
            break;
        }
        if (count + 2 > *capacity) {
            GrowLineBuffer(line, capacity);
        }
        (*line)[count++] = static_cast<char>(c);
        if (c == '\n') {
            break;
        }
    }
    (*line)[count] = '\0';
    return count;
}

void FileStream::Flush()
{
    if (m_file != nullptr && std::fflush(m_file) != 0) {
        throw SystemException(L"FileStream::Flush()#fflush fails.", errno);
    }
}

std::int64_t FileStream::EndOffset() const
{
    const std::int64_t position = Tell(m_file);
    if (position < 0 || !SeekTo(m_file, 0, SEEK_END)) {
        return -1;
    }
    const std::int64_t end = Tell(m_file);
    return SeekTo(m_file, position, SEEK_SET) ? end : -1;
}

void FileStream::SeekWithinFile(std::int64_t offset) const
{
    const std::int64_t end = EndOffset();
    if (end >= 0) {
        SeekTo(m_file, std::min(offset, end), SEEK_SET);
    }
}

// static
const wchar_t* FileStream::Mode(ENUM_FILE_ACCESS access)
{
    switch (access) {
    case FILE_ACCESS_WRITE:
        return L"wb";
    case FILE_ACCESS_WRITE_READ:
        return L"wb+";
    case FILE_ACCESS_APPEND_READ:
        return L"ab+";
    default:
        return L"rb";
    }
}

} // namespace KO
