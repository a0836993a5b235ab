#include "base/FileStream.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace KO {

namespace {

// How CreateFileW opens an existing file for a mode, and the runtime flags
// of the descriptor over it.
struct ExistingFileAccess
{
    DWORD desiredAccess;
    DWORD disposition;
    int runtimeFlags;
};

ExistingFileAccess AccessWithoutCreating(ENUM_FILE_ACCESS access)
{
    switch (access) {
    case FILE_ACCESS_WRITE:
        return {GENERIC_WRITE, TRUNCATE_EXISTING, _O_WRONLY | _O_BINARY};
    case FILE_ACCESS_WRITE_READ:
        return {GENERIC_READ | GENERIC_WRITE, TRUNCATE_EXISTING, _O_RDWR | _O_BINARY};
    case FILE_ACCESS_APPEND_READ:
        // Appending only: the system writes every byte at the end.
        return {GENERIC_READ | FILE_APPEND_DATA, OPEN_EXISTING, _O_RDWR | _O_APPEND | _O_BINARY};
    default:
        return {GENERIC_READ, OPEN_EXISTING, _O_RDONLY | _O_BINARY};
    }
}

// The runtime's error number for a failed CreateFileW.
int ErrnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    default:
        return EINVAL;
    }
}

// Opens an existing file, never creating one: the open itself is the
// existence check, so a file removed just before is reported missing rather
// than created anew. Null with *error set on failure.
std::FILE* OpenExisting(const wchar_t* path, ENUM_FILE_ACCESS access, const wchar_t* mode,
                        int* error)
{
    const ExistingFileAccess how = AccessWithoutCreating(access);
    HANDLE handle = CreateFileW(path, how.desiredAccess, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, how.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *error = ErrnoOf(GetLastError());
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), how.runtimeFlags);
    if (descriptor < 0) {
        *error = EMFILE;
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _wfdopen(descriptor, mode);
    if (file == nullptr) {
        *error = errno;
        _close(descriptor); // closes the handle as well
        return nullptr;
    }
    *error = 0;
    return file;
}

} // namespace

std::FILE* FileStream::Open(bool create, int* error) const
{
    const wchar_t* path = m_path.GetPath().c_str();
    if (!create) {
        return OpenExisting(path, m_access, Mode(m_access), error);
    }
    std::FILE* file = nullptr;
    *error = _wfopen_s(&file, path, Mode(m_access));
    return *error == 0 ? file : nullptr;
}

// static
std::int64_t FileStream::Tell(std::FILE* file)
{
    return _ftelli64(file);
}

// static
bool FileStream::SeekTo(std::FILE* file, std::int64_t offset, int origin)
{
    return _fseeki64(file, offset, origin) == 0;
}

} // namespace KO
