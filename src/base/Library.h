#pragma once

#include "base/NotCopyable.h"
#include "base/Object.h"

#include <cstdint>
#include <memory>
#include <string>

namespace KO {

// A dynamic library (a DLL on Windows, a shared object on POSIX) loaded at
// run time, and the functions it exports.
//
// The module is always loaded by absolute path: a relative path is put after
// the directory of the running executable (see FilePath), so neither the
// system's search path nor the current directory can supply it. On Windows
// the module's own dependencies are looked up only in its directory and in
// System32.
//
// Load and Resolve report failures by their result and keep the text of the
// last one, "KO::Library::Load#ErrNum:126": the operation and the system
// error number (GetLastError on Windows, errno on POSIX). Null arguments
// throw Error. The destructor frees a loaded module, so everything resolved
// from it must be out of use by then. One thread at a time.
class Library : public Object, private NotCopyable
{
public:
    // Any exported function; cast it to its real type before calling it.
    using Function = void (*)();

    explicit Library(const wchar_t* path);
    ~Library() override;

    // Frees a loaded module, then loads the path.
    bool Load();

    // The exported function `name` of the loaded module, or null.
    Function Resolve(const char* name);

    const std::string& GetErrMsg() const noexcept { return m_errorMessage; }

private:
    struct Native;

    // `path`; throws Error when it is null.
    static const wchar_t* CheckedPath(const wchar_t* path);
    // Frees a loaded module, then loads the module at the absolute `path`;
    // 0 or the system error number.
    std::int32_t LoadNative(const std::wstring& path);
    // The export `name`, or null with `error` set to the system error number.
    Function ResolveNative(const char* name, std::int32_t& error) const;

    std::unique_ptr<Native> m_native; // the loaded module, or none
    std::wstring m_path;
    std::string m_errorMessage;
};

} // namespace KO
