#include "KoLogModule.h"

#include "LogModule.h"

#include <memory>

int32_t DestroyDllObject(KoLogModule* module)
{
    // Takes back what CreateDllObject handed out. Joins the object's thread,
    // so the callback must never call this.
    const std::unique_ptr<LogModule> object(static_cast<LogModule*>(module));
    return 0;
}
