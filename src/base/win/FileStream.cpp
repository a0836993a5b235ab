#include "base/FileStream.h"

#include <cstdio>

namespace KO {

std::FILE* FileStream::Open(int* error) const
{
    std::FILE* file = nullptr;
    *error = _wfopen_s(&file, m_path.GetPath().c_str(), Mode(m_access));
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
