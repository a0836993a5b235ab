#pragma once

#include "KoLogModule.h"

#include <cstddef>

// What the test variants of the module export as CreateDllObject: the real
// object over the journal, with entry `index` of its table replaced by
// `entry`; the entry it replaced goes to `*replaced` unless that is null.
// Answers as CreateDllObject does.
int32_t CreateVariantObject(const KoInterfaceId* id, KoLogModule** module, std::size_t index,
                            KoLogModuleEntry entry, KoLogModuleEntry* replaced = nullptr);
