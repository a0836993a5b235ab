// CreateDllObject of a module whose object does not serve the clear entry:
// the real object with a table in which KO_REPORT_ENTRY_CLEAR answers
// KO_REPORT_E_NOT_SERVED.

#include "KoLogModule.h"

#include "Journal.h"
#include "LogModule.h"
#include "StoreOpener.h"

#include "base/Log.h"

#include <array>
#include <cstring>
#include <memory>

namespace {

int32_t KO_LOG_MODULE_CALL NotServed(KoLogModule*, int32_t)
{
    return KO_REPORT_E_NOT_SERVED;
}

} // namespace

int32_t CreateDllObject(const KoInterfaceId* id, KoLogModule** module)
{
    static std::array<KoLogModuleEntry, KO_REPORT_TABLE_SIZE> table;
    const KoInterfaceId expected = KO_LOG_MODULE_INTERFACE_ID;
    if (module == nullptr) {
        return 2;
    }
    *module = nullptr;
    if (id == nullptr || std::memcmp(id, &expected, sizeof(KoInterfaceId)) != 0) {
        return 1;
    }
    try {
        KO::Log::SetPath(L"./log/KoLogModule");
        auto object = std::make_unique<LogModule>(StoreOpener::Open(Journal::DefaultPath()));
        std::memcpy(table.data(), object->table, sizeof(KoLogModuleEntry) * table.size());
        table[KO_REPORT_ENTRY_CLEAR] = reinterpret_cast<KoLogModuleEntry>(&NotServed);
        object->table = table.data();
        *module = object.release();
        return 0;
    } catch (...) {
        return 2;
    }
}
