#pragma once

#include "base/Object.h"

#include <string>

namespace KO {

// An absolute, normalised file path.
//
// Both "/" and "\" become the platform separator ("\" on Windows, "/" on
// POSIX). A relative path is put after the directory of the running
// executable; a path that is already absolute (a drive path "X:..." on
// Windows, one starting with "/" on POSIX) is kept. The result is made
// canonical: the system's full-path function on Windows, lexical
// normalisation of "." and ".." on POSIX (symbolic links are not followed).
// An empty path stays empty.
//
// Null arguments throw Error; a failure to find the executable or an overlong
// result throws SystemException.
class FilePath : public Object
{
public:
    // The platform's path separator.
    static const wchar_t kSeparator;

    explicit FilePath(const wchar_t* path);

    // Resolves a new path; the path given to the constructor is kept as the
    // input path.
    void SetPath(const wchar_t* path);

    const std::wstring& GetPath() const noexcept { return m_path; }
    // The constructor's argument with its separators normalised.
    const std::wstring& GetInputPath() const noexcept { return m_inputPath; }
    // The part after the last separator; the whole path when there is none.
    std::wstring GetFileName() const;
    // The part up to and including the last separator; the whole path when
    // there is none.
    std::wstring GetDirectory() const;

    // Resolves path as described above. The separators must already be the
    // platform's.
    static std::wstring RelativeToAbsolutePath(const wchar_t* path);

    // The directory of the running executable, with the trailing separator.
    // Computed once; a failure throws SystemException and is retried on the
    // next call.
    static const std::wstring& ExecutableDirectory();

private:
    // path with every "/" and "\" turned into the platform separator.
    static std::wstring NormaliseSeparators(std::wstring path);
    static bool IsAbsolute(const std::wstring& path);
    static std::wstring Canonical(const std::wstring& path);
    static std::wstring FindExecutableDirectory();

    std::wstring m_path;
    std::wstring m_inputPath;
};

} // namespace KO
