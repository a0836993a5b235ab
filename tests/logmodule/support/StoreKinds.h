#pragma once

#include "MemoryStore.h"
#if defined(KO_JOURNAL_SQLITE)
#include "SqliteStore.h"
#endif

#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// The stores a behaviour is tested over: memory everywhere, SQLite (a file in
// a directory of the test's own) where it is built.
struct StoreKind
{
    const char* name;
    std::shared_ptr<ReportStore> (*make)(const TemporaryDirectory& directory);
};

// Test names show the kind, not its bytes.
inline void PrintTo(const StoreKind& kind, std::ostream* out)
{
    *out << kind.name;
}

inline std::vector<StoreKind> StoreKinds()
{
    std::vector<StoreKind> kinds{
        {"Memory", [](const TemporaryDirectory&) -> std::shared_ptr<ReportStore> {
             return std::make_shared<MemoryStore>();
         }}};
#if defined(KO_JOURNAL_SQLITE)
    kinds.push_back(
        {"Sqlite", [](const TemporaryDirectory& directory) -> std::shared_ptr<ReportStore> {
             return std::make_shared<SqliteStore>((directory.Path() / "journal.db").string(),
                                                  SqliteStore::Mode::ReadWrite);
         }});
#endif
    return kinds;
}

inline std::string StoreKindName(const testing::TestParamInfo<StoreKind>& info)
{
    return info.param.name;
}
