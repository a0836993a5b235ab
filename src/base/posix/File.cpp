#include "base/File.h"

#include "base/StringConversion.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KO {

namespace {

// rename() would replace an existing target; MoveFile refuses to.
bool RenameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the flag: a hard link cannot replace either.
    if (link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    if (unlink(from.c_str()) != 0) {
        const int error = errno;
        unlink(to.c_str());
        errno = error;
        return false;
    }
    return true;
}

} // namespace

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
    if (RenameWithoutReplacing(String::ToNarrow(from), String::ToNarrow(to))) {
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
