#include "VariantObject.h"

#include "CreateLogModuleObject.h"

#include <algorithm>
#include <array>

int32_t CreateVariantObject(const KoInterfaceId* id, KoLogModule** module, std::size_t index,
                            KoLogModuleEntry entry, KoLogModuleEntry* replaced)
{
    // One table for every object: each real object's table is the same.
    static std::array<KoLogModuleEntry, KO_REPORT_TABLE_SIZE> table;
    const int32_t result = CreateLogModuleObject(id, module);
    if (result != 0) {
        return result;
    }
    std::copy((*module)->table, (*module)->table + KO_REPORT_TABLE_SIZE, table.begin());
    if (replaced != nullptr) {
        *replaced = table[index];
    }
    table[index] = entry;
    (*module)->table = table.data();
    return 0;
}
