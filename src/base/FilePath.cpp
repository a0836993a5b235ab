#include "base/FilePath.h"

#include "base/Error.h"

namespace KO {

FilePath::FilePath(const wchar_t* path)
{
    if (path == nullptr) {
        throw Error(L"FilePath::FilePath(const wchar_t *) fails#Invalid Parameters.");
    }
    m_inputPath = NormaliseSeparators(path);
    m_path = RelativeToAbsolutePath(m_inputPath.c_str());
}

void FilePath::SetPath(const wchar_t* path)
{
    if (path == nullptr) {
        throw Error(L"FilePath::SetPath(const wchar_t *) fails#Invalid Parameters.");
    }
    m_path = RelativeToAbsolutePath(NormaliseSeparators(path).c_str());
}

std::wstring FilePath::GetFileName() const
{
    const std::size_t separator = m_path.rfind(kSeparator);
    return separator == std::wstring::npos ? m_path : m_path.substr(separator + 1);
}

std::wstring FilePath::GetDirectory() const
{
    const std::size_t separator = m_path.rfind(kSeparator);
    return separator == std::wstring::npos ? m_path : m_path.substr(0, separator + 1);
}

// static
std::wstring FilePath::RelativeToAbsolutePath(const wchar_t* path)
{
    if (path == nullptr) {
        throw Error(L"FilePath::RelativeToAbsolutePath(const wchar_t *) fails#Invalid Parameters.");
    }
    const std::wstring given(path);
    if (given.empty()) {
        return given;
    }
    return Canonical(IsAbsolute(given) ? given : ExecutableDirectory() + given);
}

// static
const std::wstring& FilePath::ExecutableDirectory()
{
    static const std::wstring directory = FindExecutableDirectory();
    return directory;
}

// static
std::wstring FilePath::NormaliseSeparators(std::wstring path)
{
    for (wchar_t& c : path) {
        if (c == L'/' || c == L'\\') {
            c = kSeparator;
        }
    }
    return path;
}

} // namespace KO
