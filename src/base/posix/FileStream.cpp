#include "base/FileStream.h"

#include "base/StringConversion.h"

#include <cerrno>
#include <cstdio>

namespace KO {

std::FILE* FileStream::Open(int* error) const
{
    const std::string path = String::ToNarrow(m_path.GetPath());
    std::FILE* file = std::fopen(path.c_str(), String::ToNarrow(Mode(m_access)).c_str());
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
