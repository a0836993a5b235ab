#include "base/FileStream.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>

namespace KO {

std::FILE* FileStream::Open(bool create, int* error) const
{
    const wchar_t* path = m_path.GetPath().c_str();
    if (!create && GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        *error = ENOENT;
        return nullptr;
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
