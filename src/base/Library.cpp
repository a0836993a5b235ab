#include "base/Library.h"

#include "base/Error.h"
#include "base/FilePath.h"
#include "base/SystemException.h"

namespace KO {

// static
const wchar_t* Library::CheckedPath(const wchar_t* path)
{
    if (path == nullptr) {
        throw Error(L"Library::LoadLibrary(const wchar_t*)#Invalid Parameters.");
    }
    return path;
}

bool Library::Load()
{
    std::int32_t error = 0;
    try {
        error = LoadNative(FilePath(m_path.c_str()).GetPath());
    } catch (const SystemException& exception) {
        error = exception.GetErrNum(); // the executable's directory is unknown
    }
    if (error != 0) {
        m_errorMessage = "KO::Library::Load#ErrNum:" + std::to_string(error);
        return false;
    }
    return true;
}

Library::Function Library::Resolve(const char* name)
{
    if (name == nullptr) {
        throw Error(L"Library::Resolve(const wchar_t*)#Invalid parameters.");
    }
    std::int32_t error = 0;
    const Function function = ResolveNative(name, error);
    if (function == nullptr) {
        m_errorMessage = "KO::Library::Resolve#ErrNum:" + std::to_string(error);
    }
    return function;
}

} // namespace KO
