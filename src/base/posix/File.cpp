#include "base/File.h"

#include "base/StringConversion.h"
#include "base/posix/RenameCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KO {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int descriptor) noexcept : m_descriptor(descriptor) {}
    ~Descriptor()
    {
        if (m_descriptor >= 0) {
            close(m_descriptor);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const noexcept { return m_descriptor; }
    // Closes now; the error number, 0 on success.
    int Close() noexcept
    {
        const int result = close(m_descriptor);
        m_descriptor = -1;
        return result == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int m_descriptor;
};

// Writes every byte; the count written and, on failure, *error.
std::size_t WriteAll(int descriptor, std::string_view bytes, int* error)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count > 0) {
            written += static_cast<std::size_t>(count);
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            *error = count < 0 ? errno : ENOSPC;
            break;
        }
    }
    return written;
}

// The path in the system's encoding; the last one converted on this thread is
// kept, since a log writes to the same file again and again.
const std::string& NativePath(const std::wstring& path)
{
    thread_local std::wstring wide;
    thread_local std::string native;
    if (path != wide) {
        native = String::ToNarrow(path);
        wide = path;
    }
    return native;
}

// Truncates the file by the count of bytes just appended: appending leaves
// the offset at the end of what was written.
bool TakeBack(int descriptor, std::size_t written)
{
    const off_t end = lseek(descriptor, 0, SEEK_CUR);
    return end >= static_cast<off_t>(written) &&
           ftruncate(descriptor, end - static_cast<off_t>(written)) == 0;
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

// static
bool File::WriteAtEnd(const std::wstring& path, std::string_view bytes, Opening opening,
                      std::uint64_t* size)
{
    const std::string& narrow = NativePath(path);
    const int flags =
        opening == Opening::New ? O_WRONLY | O_APPEND | O_CREAT | O_EXCL : O_WRONLY | O_APPEND;
    Descriptor file(open(narrow.c_str(), flags | O_CLOEXEC, 0666));
    if (file.Get() < 0) {
        const int error = errno;
        if ((opening == Opening::Existing && error == ENOENT) ||
            (opening == Opening::New && error == EEXIST)) {
            return false;
        }
        ThrowOpenFailure(path, error);
    }
    int error = 0;
    const std::size_t written = WriteAll(file.Get(), bytes, &error);
    if (error != 0) {
        if (opening == Opening::New) {
            unlink(narrow.c_str()); // created here: leave no file behind
        } else if (written > 0 && !TakeBack(file.Get(), written)) {
            ThrowTakeBackFailure(errno);
        }
        ThrowWriteFailure(error);
    }
    if (size != nullptr) {
        const off_t end = lseek(file.Get(), 0, SEEK_CUR);
        *size = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    }
    error = file.Close();
    if (error != 0) {
        ThrowWriteFailure(error);
    }
    return true;
}

} // namespace KO
