// CreateDllObject of a module that has no object to give.

#include "KoLogModule.h"

int32_t CreateDllObject(const KoInterfaceId*, KoLogModule** module)
{
    if (module != nullptr) {
        *module = nullptr;
    }
    return 1;
}
