#include "base/NamedPipe.h"

#include "base/Error.h"

namespace KO::LOCALSOCKET {

namespace {

constexpr wchar_t kPrefix[] = L"\\\\.\\pipe\\";

} // namespace

// static
std::wstring NamedPipe::FullName(const wchar_t* name)
{
    if (name == nullptr) {
        throw Error(L"LOCALSOCKET::NamedPipe::NamedPipe(const wchar_t*)#Invalid Parameters.");
    }
    const std::wstring given(name);
    return given.rfind(kPrefix, 0) == 0 ? given : kPrefix + given;
}

// static
std::wstring NamedPipe::ShortName(const std::wstring& fullName)
{
    const std::size_t prefixLength = sizeof(kPrefix) / sizeof(kPrefix[0]) - 1;
    return fullName.rfind(kPrefix, 0) == 0 ? fullName.substr(prefixLength) : std::wstring();
}

std::unique_ptr<NamedPipe> NamedPipe::WaitForConnection()
{
    return AcceptWithin(kInfinite,
                        L"LOCALSOCKET::NamedPipe::WaitForConnection()#ConnectNamedPipe fails.");
}

std::unique_ptr<NamedPipe> NamedPipe::WaitForConnection(unsigned int timeoutMs)
{
    return AcceptWithin(
        timeoutMs,
        L"LOCALSOCKET::NamedPipe::WaitForConnection(const unsigned int)#ConnectNamedPipe fails.");
}

std::size_t NamedPipe::Read(void* buffer, std::size_t size)
{
    if (buffer == nullptr) {
        throw Error(L"LOCALSOCKET::NamedPipe::Read(void*, std::size_t)#Invalid Parameters.");
    }
    return size == 0 ? 0 : ReadSome(buffer, size);
}

void NamedPipe::Write(const void* buffer, std::size_t size)
{
    if (buffer == nullptr) {
        throw Error(L"LOCALSOCKET::NamedPipe::Write(const void*, std::size_t)#Invalid Parameters.");
    }
    if (size != 0) {
        WriteAll(buffer, size);
    }
}

} // namespace KO::LOCALSOCKET
