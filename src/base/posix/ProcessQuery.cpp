#include "base/ProcessQuery.h"

#include "base/StringConversion.h"
#include "base/SystemException.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <sstream>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace KO {

namespace {

// The number of a /proc entry that names a process; 0 for any other entry.
std::uint32_t ProcessNumber(const char* entryName)
{
    char* end = nullptr;
    const unsigned long number = std::strtoul(entryName, &end, 10);
    return end != entryName && *end == '\0' ? static_cast<std::uint32_t>(number) : 0;
}

// The file's bytes; empty when it cannot be read. A process that exits while
// it is read makes the read fail (ESRCH): it is then gone, not an error.
std::string ReadFile(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return {};
    }
    std::string bytes;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(descriptor, buffer, sizeof(buffer))) != 0) {
        if (got < 0 && errno != EINTR) {
            bytes.clear();
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    close(descriptor);
    return bytes;
}

// The file name of the process's executable; empty when the link cannot be
// read (a kernel thread, or a process of another user).
std::string ExecutableName(const std::string& processDirectory)
{
    char target[4096];
    const ssize_t length = readlink((processDirectory + "/exe").c_str(), target, sizeof(target));
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof(target)) {
        return {};
    }
    std::string path(target, static_cast<std::size_t>(length));
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() &&
        path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
        path.resize(path.size() - deleted.size());
    }
    return path.substr(path.rfind('/') + 1);
}

// Fills the entry from /proc/<pid>/stat: "pid (comm) state ppid ...", where
// comm may itself hold spaces and parentheses. False when the process is gone.
bool ReadStat(const std::string& processDirectory, ProcessQuery::Entry& entry)
{
    const std::string stat = ReadFile(processDirectory + "/stat");
    const std::size_t open = stat.find('(');
    const std::size_t close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return false;
    }
    std::istringstream rest(stat.substr(close + 1));
    char state = 0;
    std::uint32_t parent = 0;
    if (!(rest >> state >> parent)) {
        return false;
    }
    entry.parentProcessId = parent;
    std::string name = ExecutableName(processDirectory);
    if (name.empty()) {
        name = stat.substr(open + 1, close - open - 1);
    }
    entry.executable = String::ToWide(name.c_str());
    return true;
}

struct DirectoryCloser
{
    void operator()(DIR* directory) const noexcept { closedir(directory); }
};

} // namespace

// static
std::vector<ProcessQuery::Entry> ProcessQuery::Snapshot()
{
    const std::unique_ptr<DIR, DirectoryCloser> proc(opendir("/proc"));
    if (!proc) {
        throw SystemException(L"ProcessQuery::Snapshot()#CreateToolhelp32Snapshot fails.", errno);
    }
    std::vector<Entry> processes;
    while (const dirent* item = readdir(proc.get())) {
        Entry entry;
        entry.processId = ProcessNumber(item->d_name);
        if (entry.processId != 0 && ReadStat("/proc/" + std::string(item->d_name), entry)) {
            processes.push_back(std::move(entry));
        }
    }
    return processes;
}

// static
std::wstring ProcessQuery::ExecutableFileName(const std::wstring& program)
{
    return program;
}

// static
std::optional<std::uint32_t> ProcessQuery::SessionIdOf(std::uint32_t processId)
{
    if (processId == 0) {
        return std::nullopt; // getsid would answer for the calling process
    }
    // The audit login session, where the system assigned one (all ones: none).
    std::istringstream audit(ReadFile("/proc/" + std::to_string(processId) + "/sessionid"));
    std::uint32_t session = 0;
    if (audit >> session && session != 0xFFFFFFFF) {
        return session;
    }
    const pid_t leader = getsid(static_cast<pid_t>(processId));
    if (leader < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(leader);
}

// static
bool ProcessQuery::EnablePrivilege(const wchar_t* privilege)
{
    return privilege != nullptr;
}

} // namespace KO
