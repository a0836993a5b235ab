#include "base/FilePath.h"

#include "base/StringConversion.h"
#include "base/SystemException.h"

#include <cerrno>
#include <climits>
#include <unistd.h>
#include <vector>

namespace KO {

namespace {

// Removes "." and empty components and lets ".." take away the component
// before it ("/.." stays "/"). A trailing separator is kept.
std::wstring NormaliseLexically(const std::wstring& path)
{
    std::vector<std::wstring> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'/', start);
        if (end == std::wstring::npos) {
            end = path.size();
        }
        const std::wstring component = path.substr(start, end - start);
        if (component == L"..") {
            if (!components.empty()) {
                components.pop_back();
            }
        } else if (!component.empty() && component != L".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    std::wstring normalised;
    for (const std::wstring& component : components) {
        normalised += L'/';
        normalised += component;
    }
    if (normalised.empty() || path.back() == L'/') {
        normalised += L'/';
    }
    return normalised;
}

} // namespace

const wchar_t FilePath::kSeparator = L'/';

// static
bool FilePath::IsAbsolute(const std::wstring& path)
{
    return !path.empty() && path[0] == L'/';
}

// static
std::wstring FilePath::Canonical(const std::wstring& path)
{
    std::wstring canonical = NormaliseLexically(path);
    if (canonical.size() >= PATH_MAX) {
        throw SystemException(
            L"FilePath::RelativeToAbsolutePath(const wchar_t *)::GetFullPathName fails.",
            ENAMETOOLONG);
    }
    return canonical;
}

// static
std::wstring FilePath::FindExecutableDirectory()
{
    std::vector<char> name(PATH_MAX);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", name.data(), name.size());
        if (length < 0) {
            throw SystemException(
                L"FilePath::RelativeToAbsolutePath(const wchar_t *)::GetModuleFileName fails.",
                errno);
        }
        if (static_cast<std::size_t>(length) < name.size()) {
            const std::string path(name.data(), static_cast<std::size_t>(length));
            return String::ToWide(path.substr(0, path.rfind('/') + 1).c_str());
        }
        name.resize(name.size() * 2); // truncated: try a larger buffer
    }
}

} // namespace KO
