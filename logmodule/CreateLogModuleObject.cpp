#include "CreateLogModuleObject.h"

#include "Journal.h"
#include "LogModule.h"
#include "StoreOpener.h"

#include "base/Log.h"

#include <cstring>
#include <memory>

namespace {

constexpr std::int32_t kNoInterface = 1;
constexpr std::int32_t kFailed = 2;

const KoInterfaceId kInterfaceId = KO_LOG_MODULE_INTERFACE_ID;

} // namespace

int32_t CreateLogModuleObject(const KoInterfaceId* id, KoLogModule** module)
{
    if (module == nullptr) {
        return kFailed;
    }
    *module = nullptr;
    if (id == nullptr || std::memcmp(id, &kInterfaceId, sizeof(KoInterfaceId)) != 0) {
        return kNoInterface;
    }
    try {
        // The module's own log, beside the host's.
        KO::Log::SetPath(L"./log/KoLogModule");
        *module = std::make_unique<LogModule>(StoreOpener::Open(Journal::DefaultPath())).release();
        return 0;
    } catch (...) {
        return kFailed; // no thread or no memory: nothing may unwind into the caller
    }
}
