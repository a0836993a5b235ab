#include "base/File.h"

#include "base/win/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace KO {

namespace {

// The runtime's error number for a failed file call.
int ErrnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

// Writes every byte at the end of the file, wherever other writers have
// moved it; the count written and, on failure, *error.
std::size_t WriteAll(HANDLE file, std::string_view bytes, int* error)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size() - written, std::numeric_limits<DWORD>::max()));
        OVERLAPPED atEnd{};
        atEnd.Offset = 0xFFFFFFFF;
        atEnd.OffsetHigh = 0xFFFFFFFF;
        DWORD count = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &count, &atEnd)) {
            *error = ErrnoOf(GetLastError());
            break;
        }
        if (count == 0) {
            *error = ENOSPC;
            break;
        }
        written += count;
    }
    return written;
}

// Truncates the file by the count of bytes just appended.
bool TakeBack(HANDLE file, std::size_t written)
{
    LARGE_INTEGER end{};
    if (!GetFileSizeEx(file, &end) || end.QuadPart < static_cast<LONGLONG>(written)) {
        return false;
    }
    LARGE_INTEGER before{};
    before.QuadPart = end.QuadPart - static_cast<LONGLONG>(written);
    return SetFilePointerEx(file, before, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

} // namespace

bool File::Exists() const noexcept
{
    const DWORD attributes = GetFileAttributesW(m_path.GetPath().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// static
bool File::MoveWithoutReplacing(const std::wstring& from, const std::wstring& to,
                                std::int32_t* error)
{
    if (MoveFileW(from.c_str(), to.c_str())) {
        return true;
    }
    *error = static_cast<std::int32_t>(GetLastError());
    return false;
}

// static
bool File::Remove(const std::wstring& path, std::int32_t* error)
{
    if (DeleteFileW(path.c_str())) {
        return true;
    }
    *error = static_cast<std::int32_t>(GetLastError());
    return false;
}

// static
bool File::WriteAtEnd(const std::wstring& path, std::string_view bytes, Opening opening,
                      std::uint64_t* size)
{
    const DWORD disposition = opening == Opening::New ? CREATE_NEW : OPEN_EXISTING;
    Win::UniqueHandle file = Win::AdoptFileHandle(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const int error = ErrnoOf(GetLastError());
        if ((opening == Opening::Existing && error == ENOENT) ||
            (opening == Opening::New && error == EEXIST)) {
            return false;
        }
        ThrowOpenFailure(path, error);
    }
    int error = 0;
    const std::size_t written = WriteAll(file.get(), bytes, &error);
    if (error != 0) {
        if (opening == Opening::New) {
            file.reset();
            DeleteFileW(path.c_str()); // created here: leave no file behind
        } else if (written > 0 && !TakeBack(file.get(), written)) {
            ThrowTakeBackFailure(ErrnoOf(GetLastError()));
        }
        ThrowWriteFailure(error);
    }
    if (size != nullptr) {
        LARGE_INTEGER end{};
        *size = GetFileSizeEx(file.get(), &end) ? static_cast<std::uint64_t>(end.QuadPart) : 0;
    }
    if (!CloseHandle(file.release())) {
        ThrowWriteFailure(ErrnoOf(GetLastError()));
    }
    return true;
}

} // namespace KO
