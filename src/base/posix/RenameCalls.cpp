#include "base/posix/RenameCalls.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace KO::Posix {

namespace {

int RenameNoReplace(const char* from, const char* to)
{
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int Link(const char* from, const char* to)
{
    return ::link(from, to);
}

int Unlink(const char* path)
{
    return ::unlink(path);
}

int CreateExclusive(const char* path)
{
    const int descriptor = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    return descriptor < 0 ? -1 : ::close(descriptor);
}

int Rename(const char* from, const char* to)
{
    return ::rename(from, to);
}

const RenameCalls g_system{&RenameNoReplace, &Link, &Unlink, &CreateExclusive, &Rename};
std::atomic<const RenameCalls*> g_current{&g_system};

// Undoes a step that must not stay, keeping the errno of the failure.
void Undo(int (*call)(const char*), const char* path)
{
    const int error = errno;
    call(path);
    errno = error;
}

} // namespace

// static
const RenameCalls& RenameCalls::System()
{
    return g_system;
}

// static
const RenameCalls& RenameCalls::Current()
{
    return *g_current.load();
}

// static
void RenameCalls::Use(const RenameCalls& calls)
{
    g_current = &calls;
}

bool RenameCalls::RenameWithoutReplacing(const char* from, const char* to) const
{
    if (renameNoReplace(from, to) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the flag: a hard link cannot replace either.
    if (link(from, to) == 0) {
        if (unlink(from) != 0) {
            Undo(unlink, to);
            return false;
        }
        return true;
    }
    if (errno != EPERM && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) {
        return false; // EEXIST among them
    }
    // No hard links either: reserve the name by creating it exclusively, then
    // rename over the reservation. A file another process puts there first
    // makes the reservation fail instead of being replaced, and no check
    // leaves a window between test and move. Only a process that deletes the
    // reservation and puts its own file there in between could lose it; a
    // crash in between leaves an empty file under the new name.
    if (createExclusive(to) != 0) {
        return false;
    }
    if (rename(from, to) != 0) {
        Undo(unlink, to);
        return false;
    }
    return true;
}

} // namespace KO::Posix
