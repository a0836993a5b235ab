#include "base/File.h"

#include <windows.h>

namespace KO {

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

} // namespace KO
