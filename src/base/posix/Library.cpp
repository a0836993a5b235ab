#include "base/Library.h"

#include "base/StringConversion.h"

#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace KO {

namespace {

// The error number of a module that dlopen refused (dlopen sets no errno):
// that of opening the file when it cannot be opened, else ENOEXEC (not a
// module for this system, or one whose dependencies cannot be loaded).
std::int32_t LoadFailure(const std::string& path)
{
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return errno;
    }
    close(file);
    return ENOEXEC;
}

} // namespace

// A loaded module, closed on release.
struct Library::Native
{
    void* handle = nullptr;

    ~Native()
    {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
};

Library::Library(const wchar_t* path) : m_path(CheckedPath(path))
{}

Library::~Library() = default;

std::int32_t Library::LoadNative(const std::wstring& path)
{
    m_native.reset();
    const std::string file = String::ToNarrow(path);
    // dlopen searches for a name without a slash, and takes "" for the
    // program itself: only a path is loaded.
    if (file.find('/') == std::string::npos) {
        return ENOENT;
    }
    auto native = std::make_unique<Native>();
    // RTLD_NOW: an unresolved symbol fails the load, not a later call.
    native->handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (native->handle == nullptr) {
        return LoadFailure(file);
    }
    m_native = std::move(native);
    return 0;
}

Library::Function Library::ResolveNative(const char* name, std::int32_t& error) const
{
    if (!m_native) {
        error = EBADF;
        return nullptr;
    }
    void* const address = dlsym(m_native->handle, name);
    if (address == nullptr) {
        error = ENOENT; // dlsym has no error number of its own
        return nullptr;
    }
    return reinterpret_cast<Function>(address);
}

} // namespace KO
