#include "base/FileStream.h"

#include "base/StringConversion.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace KO {

namespace {

// The open flags of a mode string, without O_CREAT.
int FlagsWithoutCreating(ENUM_FILE_ACCESS access)
{
    switch (access) {
    case FILE_ACCESS_WRITE:
        return O_WRONLY | O_TRUNC;
    case FILE_ACCESS_WRITE_READ:
        return O_RDWR | O_TRUNC;
    case FILE_ACCESS_APPEND_READ:
        return O_RDWR | O_APPEND;
    default:
        return O_RDONLY;
    }
}

} // namespace

std::FILE* FileStream::Open(bool create, int* error) const
{
    const std::string path = String::ToNarrow(m_path.GetPath());
    const std::string mode = String::ToNarrow(Mode(m_access));
    std::FILE* file = nullptr;
    if (create) {
        file = std::fopen(path.c_str(), mode.c_str());
    } else {
        const int descriptor = open(path.c_str(), FlagsWithoutCreating(m_access));
        if (descriptor >= 0) {
            file = fdopen(descriptor, mode.c_str());
            if (file == nullptr) {
                const int fdopenError = errno;
                close(descriptor);
                errno = fdopenError;
            }
        }
    }
    *error = file == nullptr ? errno : 0;
    return file;
}

// static
std::int64_t FileStream::Tell(std::FILE* file)
{
    return ftello(file);
}

// static
bool FileStream::SeekTo(std::FILE* file, std::int64_t offset, int origin)
{
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

} // namespace KO
