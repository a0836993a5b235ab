#pragma once

namespace KO::Posix {

// The system calls that a rename without replacing is built from, as one
// table, so that tests can act out file systems that lack some of them.
// Each call returns 0 on success and -1 with errno set on failure.
struct RenameCalls
{
    int (*renameNoReplace)(const char* from, const char* to); // renameat2, RENAME_NOREPLACE
    int (*link)(const char* from, const char* to);
    int (*unlink)(const char* path);
    int (*createExclusive)(const char* path); // creates an empty file, fails when one exists
    int (*rename)(const char* from, const char* to);

    // The system's calls.
    static const RenameCalls& System();
    // The table File::Rename uses: System() until Use replaces it (tests).
    static const RenameCalls& Current();
    static void Use(const RenameCalls& calls);

    // Moves `from` to `to` unless `to` exists, which it leaves alone; false
    // with errno set on failure.
    bool RenameWithoutReplacing(const char* from, const char* to) const;
};

} // namespace KO::Posix
