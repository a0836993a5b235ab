#pragma once

// The exports of the stand-in log module, one per source file, so that the
// test variants can leave one out.

#include "monitor/lib/ILogModule.h"

#include <type_traits>

#if defined(_WIN32)
#define KO_LOG_MODULE_EXPORT __declspec(dllexport)
#else
#define KO_LOG_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Stores a new object in `*module` when `id` is kLogModuleInterfaceId; else,
// or when the object cannot be made, stores null. 0 on success.
KO_LOG_MODULE_EXPORT std::int32_t CreateDllObject(const InterfaceId* id, ILogModule** module);

// Destroys an object made by CreateDllObject. 0 on success.
KO_LOG_MODULE_EXPORT std::int32_t DestroyDllObject(ILogModule* module);
}

static_assert(std::is_same_v<decltype(&CreateDllObject), CreateDllObjectFunction>,
              "CreateDllObject has the type the loader calls");
static_assert(std::is_same_v<decltype(&DestroyDllObject), DestroyDllObjectFunction>,
              "DestroyDllObject has the type the loader calls");
