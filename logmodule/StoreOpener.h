#pragma once

#include "ReportStore.h"

#include <memory>
#include <string>

// Opens the journal's store; never throws and never gives null.
//
// On Linux (sqlite/StoreOpener.cpp) the store is the SQLite file at `path`.
// A file that is not a database or is cut short is moved aside as
// "<path>.broken-<UTC time stamp>" with an ERROR line, and a fresh journal
// starts. A journal that cannot be written (read-only directory or file) is
// opened for reading, with an ERROR line; one that cannot be opened at all
// gives an UnavailableStore.
//
// In the Windows cross build (memory/StoreOpener.cpp) the store is one
// MemoryStore per process, whatever `path`: every object of the module
// shares it while the module stays loaded.
class StoreOpener
{
public:
    static std::shared_ptr<ReportStore> Open(const std::string& path);
};
