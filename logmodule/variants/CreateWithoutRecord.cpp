// CreateDllObject of a module built before the entry that delivers one
// record by its id: the object of KoLogModule whose table answers
// KO_REPORT_E_NOT_SERVED there.

#include "KoLogModule.h"

#include "Journal.h"
#include "LogModule.h"
#include "StoreOpener.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

std::int32_t KO_LOG_MODULE_CALL NotServed(KoLogModule*, std::int64_t, KoReportCallback, void*)
{
    return KO_REPORT_E_NOT_SERVED;
}

using Table = std::array<KoLogModuleEntry, KO_REPORT_TABLE_SIZE>;

// The module's own table with entry 9 taken out.
const KoLogModuleEntry* TableWithoutRecord(const KoLogModuleEntry* table)
{
    static const Table copy = [table] {
        Table entries;
        std::copy(table, table + KO_REPORT_TABLE_SIZE, entries.begin());
        entries[KO_REPORT_ENTRY_RECORD] = reinterpret_cast<KoLogModuleEntry>(&NotServed);
        return entries;
    }();
    return copy.data();
}

} // namespace

int32_t CreateDllObject(const KoInterfaceId* id, KoLogModule** module)
{
    const KoInterfaceId expected = KO_LOG_MODULE_INTERFACE_ID;
    if (module == nullptr) {
        return 2;
    }
    *module = nullptr;
    if (id == nullptr || std::memcmp(id, &expected, sizeof(KoInterfaceId)) != 0) {
        return 1;
    }
    try {
        auto object = std::make_unique<LogModule>(StoreOpener::Open(Journal::DefaultPath()));
        object->table = TableWithoutRecord(object->table);
        *module = object.release();
        return 0;
    } catch (...) {
        return 2;
    }
}
