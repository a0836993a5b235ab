// CreateDllObject of a module whose object does not serve the clear entry:
// the real object with a table in which KO_REPORT_ENTRY_CLEAR answers
// KO_REPORT_E_NOT_SERVED.

#include "VariantObject.h"

namespace {

int32_t KO_LOG_MODULE_CALL NotServed(KoLogModule*, int32_t)
{
    return KO_REPORT_E_NOT_SERVED;
}

} // namespace

int32_t CreateDllObject(const KoInterfaceId* id, KoLogModule** module)
{
    return CreateVariantObject(id, module, KO_REPORT_ENTRY_CLEAR,
                               reinterpret_cast<KoLogModuleEntry>(&NotServed));
}
