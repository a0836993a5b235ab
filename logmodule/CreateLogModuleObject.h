#pragma once

#include "KoLogModule.h"

// The work of the export CreateDllObject: the module's object over the
// journal (its log beside the host's), or null with 1 for another interface
// and 2 when no object can be made. Nothing unwinds into the caller.
int32_t CreateLogModuleObject(const KoInterfaceId* id, KoLogModule** module);
