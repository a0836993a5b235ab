#include "base/Library.h"

#include <windows.h>

namespace KO {

// A loaded module, freed on release.
struct Library::Native
{
    HMODULE handle = nullptr;

    ~Native()
    {
        if (handle != nullptr) {
            FreeLibrary(handle);
        }
    }
};

Library::Library(const wchar_t* path) : m_path(CheckedPath(path))
{}

Library::~Library() = default;

std::int32_t Library::LoadNative(const std::wstring& path)
{
    m_native.reset();
    auto native = std::make_unique<Native>();
    // The module's dependencies come from its own directory and System32
    // only, never from the search path or the current directory.
    native->handle = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (native->handle == nullptr) {
        return static_cast<std::int32_t>(GetLastError());
    }
    m_native = std::move(native);
    return 0;
}

Library::Function Library::ResolveNative(const char* name, std::int32_t& error) const
{
    if (!m_native) {
        error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    const FARPROC address = GetProcAddress(m_native->handle, name);
    if (address == nullptr) {
        error = static_cast<std::int32_t>(GetLastError());
        return nullptr;
    }
    return reinterpret_cast<Function>(address);
}

} // namespace KO
