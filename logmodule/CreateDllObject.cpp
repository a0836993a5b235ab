#include "KoLogModule.h"

#include "LogModule.h"

#include <cstring>
#include <memory>

namespace {

constexpr std::int32_t kNoInterface = 1;
constexpr std::int32_t kFailed = 2;

} // namespace

std::int32_t CreateDllObject(const InterfaceId* id, ILogModule** module)
{
    if (module == nullptr) {
        return kFailed;
    }
    *module = nullptr;
    if (id == nullptr || std::memcmp(id, &kLogModuleInterfaceId, sizeof(InterfaceId)) != 0) {
        return kNoInterface;
    }
    try {
        *module = std::make_unique<LogModule>().release();
        return 0;
    } catch (...) {
        return kFailed; // no thread or no memory: nothing may unwind into the caller
    }
}
