#include "KoLogModule.h"

#include "CreateLogModuleObject.h"

int32_t CreateDllObject(const KoInterfaceId* id, KoLogModule** module)
{
    return CreateLogModuleObject(id, module);
}
