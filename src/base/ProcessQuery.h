#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace KO {

// Questions about the processes of this machine: which run, under which
// parent and in which session, and the privileges of the current process.
// Every operation is static, keeps no state and may run on any thread.
//
// On Windows the answers come from a Toolhelp snapshot, the session
// manager and the process token. On POSIX the list comes from /proc (the
// name is the file name of the process's executable, or its command name
// when the executable cannot be read), the session is the login session
// (/proc/<pid>/sessionid, else the POSIX session of getsid), and there is no
// privilege to enable.
class ProcessQuery
{
public:
    struct Entry
    {
        std::uint32_t processId = 0;
        std::uint32_t parentProcessId = 0;
        std::wstring executable; // file name without directory
    };

    ProcessQuery() = delete;

    // Every process, in the system's order. Throws SystemException when the
    // system gives no list.
    static std::vector<Entry> Snapshot();

    // The id of the first process in Snapshot whose executable equals
    // `executable` ignoring case and whose parent is not excludedParentId;
    // 0 when there is none or no list.
    static std::uint32_t FindProcessId(const std::wstring& executable,
                                       std::uint32_t excludedParentId);

    // The file name under which the system lists a program's executable:
    // `program` with ".exe" appended on Windows, unchanged on POSIX.
    static std::wstring ExecutableFileName(const std::wstring& program);

    // The session a process runs in; nothing when the query fails.
    static std::optional<std::uint32_t> SessionIdOf(std::uint32_t processId);

    // Enables one privilege (such as L"SeDebugPrivilege") in the current
    // process's token. True when the system reports no error, which needs the
    // token to hold the privilege; false for a null name or, on Windows, an
    // unknown one. On POSIX there is nothing to enable: true.
    static bool EnablePrivilege(const wchar_t* privilege);
};

} // namespace KO
