// CreateDllObject of a module built before the entry that delivers one
// record by its id: the object of KoLogModule whose table answers
// KO_REPORT_E_NOT_SERVED there.

#include "VariantObject.h"

#include <cstdint>

namespace {

std::int32_t KO_LOG_MODULE_CALL NotServed(KoLogModule*, std::int64_t, KoReportCallback, void*)
{
    return KO_REPORT_E_NOT_SERVED;
}

} // namespace

int32_t CreateDllObject(const KoInterfaceId* id, KoLogModule** module)
{
    return CreateVariantObject(id, module, KO_REPORT_ENTRY_RECORD,
                               reinterpret_cast<KoLogModuleEntry>(&NotServed));
}
