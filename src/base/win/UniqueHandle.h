#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

namespace KO::Win {

// Closes a kernel handle when its owner goes away.
struct HandleCloser
{
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

// Sole owner of a kernel handle; empty is null, never INVALID_HANDLE_VALUE.
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// Takes a handle returned by a call that reports failure with
// INVALID_HANDLE_VALUE (CreateFile, CreateNamedPipe, snapshots).
inline UniqueHandle AdoptFileHandle(HANDLE handle)
{
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

} // namespace KO::Win
