#include "base/ProcessQuery.h"

#include "base/SystemException.h"
#include "base/win/UniqueHandle.h"

#include <windows.h>

#include <tlhelp32.h>

namespace KO {

// static
std::vector<ProcessQuery::Entry> ProcessQuery::Snapshot()
{
    const Win::UniqueHandle snapshot =
        Win::AdoptFileHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        throw SystemException(L"ProcessQuery::Snapshot()#CreateToolhelp32Snapshot fails.",
                              static_cast<std::int32_t>(GetLastError()));
    }
    std::vector<Entry> processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    }
    return processes;
}

// static
std::wstring ProcessQuery::ExecutableFileName(const std::wstring& program)
{
    return program + L".exe";
}

// static
std::optional<std::uint32_t> ProcessQuery::SessionIdOf(std::uint32_t processId)
{
    DWORD session = 0;
    if (!ProcessIdToSessionId(processId, &session)) {
        return std::nullopt;
    }
    return session;
}

// static
bool ProcessQuery::EnablePrivilege(const wchar_t* privilege)
{
    if (privilege == nullptr) {
        return false;
    }
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return false;
    }
    const Win::UniqueHandle owner(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, privilege, &privileges.Privileges[0].Luid)) {
        return false;
    }
    // Success of the call alone says nothing: a privilege the token lacks
    // leaves ERROR_NOT_ALL_ASSIGNED behind.
    if (!AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr, nullptr)) {
        return false;
    }
    return GetLastError() == ERROR_SUCCESS;
}

} // namespace KO
