#include "base/StringConversion.h"

#include "base/Error.h"
#include "base/SystemException.h"

#include <windows.h>

#include <climits>

namespace KO::String {

namespace {

[[noreturn]] void ThrowWideningFailure()
{
    throw SystemException(L"String::WCharToAchar(const wchar_t* char*)#MultiByteToWideChar fails.",
                          static_cast<std::int32_t>(GetLastError()));
}

[[noreturn]] void ThrowNarrowingFailure(DWORD error)
{
    throw SystemException(
        L"String::ToNarrow(const wchar_t*, std::size_t)#WideCharToMultiByte fails.",
        static_cast<std::int32_t>(error));
}

} // namespace

std::wstring ToWide(const char* text)
{
    if (text == nullptr) {
        throw Error(L"String::WCharToAchar(const wchar_t* char*)#Invalid Parameters.");
    }
    // -1: the length includes the terminating zero, so even "" needs 1.
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (size == 0) {
        ThrowWideningFailure();
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide.data(), size) == 0) {
        ThrowWideningFailure();
    }
    wide.pop_back(); // the terminating zero
    return wide;
}

std::string ToNarrow(const wchar_t* text, std::size_t length)
{
    if (text == nullptr && length != 0) {
        throw Error(L"String::ToNarrow(const wchar_t*, std::size_t)#Invalid Parameters.");
    }
    if (length == 0) {
        return std::string(); // the system call refuses empty input
    }
    if (length > static_cast<std::size_t>(INT_MAX)) {
        ThrowNarrowingFailure(ERROR_INVALID_PARAMETER);
    }
    const int wideLength = static_cast<int>(length);
    const int size =
        WideCharToMultiByte(CP_THREAD_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (size == 0) {
        ThrowNarrowingFailure(GetLastError());
    }
    std::string narrow(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, text, wideLength, narrow.data(), size, nullptr,
                            nullptr) == 0) {
        ThrowNarrowingFailure(GetLastError());
    }
    return narrow;
}

} // namespace KO::String
