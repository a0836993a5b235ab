#include "base/FilePath.h"

#include "base/SystemException.h"

#include <windows.h>

#include <vector>

namespace KO {

namespace {

// MAX_PATH and the terminating zero: longer full paths are refused.
constexpr DWORD kFullPathBuffer = MAX_PATH + 1;

} // namespace

const wchar_t FilePath::kSeparator = L'\\';

// static
bool FilePath::IsAbsolute(const std::wstring& path)
{
    // Only drive paths; UNC and rooted paths are put after the executable's
    // directory as well.
    return path.size() >= 2 && path[1] == L':';
}

// static
std::wstring FilePath::Canonical(const std::wstring& path)
{
    wchar_t buffer[kFullPathBuffer];
    const DWORD length = GetFullPathNameW(path.c_str(), kFullPathBuffer, buffer, nullptr);
    if (length == 0 || length >= kFullPathBuffer) {
        // A result that does not fit reports the size it needs, not an error.
        const DWORD error = length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        throw SystemException(
            L"FilePath::RelativeToAbsolutePath(const wchar_t *)::GetFullPathName fails.",
            static_cast<std::int32_t>(error));
    }
    return std::wstring(buffer, length);
}

// static
std::wstring FilePath::FindExecutableDirectory()
{
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(name.size());
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
        if (length == 0) {
            throw SystemException(
                L"FilePath::RelativeToAbsolutePath(const wchar_t *)::GetModuleFileName fails.",
                static_cast<std::int32_t>(GetLastError()));
        }
        if (length < size) {
            const std::wstring path(name.data(), length);
            return path.substr(0, path.rfind(kSeparator) + 1);
        }
        name.resize(name.size() * 2); // truncated: try a larger buffer
    }
}

} // namespace KO
