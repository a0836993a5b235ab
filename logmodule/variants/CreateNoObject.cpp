// CreateDllObject of a module that has no ILogModule object to give.

#include "KoLogModule.h"

std::int32_t CreateDllObject(const InterfaceId*, ILogModule** module)
{
    if (module != nullptr) {
        *module = nullptr;
    }
    return 1;
}
