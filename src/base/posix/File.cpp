#include "base/File.h"

#include "base/StringConversion.h"
#include "base/posix/RenameCalls.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace KO {

bool File::Exists() const noexcept
{
    struct stat status
    {};
    try {
        return stat(String::ToNarrow(m_path.GetPath()).c_str(), &status) == 0 &&
               !S_ISDIR(status.st_mode);
    } catch (...) {
        return false; // no memory for the narrow path
    }
}

// static
bool File::MoveWithoutReplacing(const std::wstring& from, const std::wstring& to,
                                std::int32_t* error)
{
    const std::string narrowFrom = String::ToNarrow(from);
    const std::string narrowTo = String::ToNarrow(to);
    if (Posix::RenameCalls::Current().RenameWithoutReplacing(narrowFrom.c_str(),
                                                             narrowTo.c_str())) {
        return true;
    }
    *error = errno;
    return false;
}

// static
bool File::Remove(const std::wstring& path, std::int32_t* error)
{
    if (unlink(String::ToNarrow(path).c_str()) == 0) {
        return true;
    }
    *error = errno;
    return false;
}

} // namespace KO
