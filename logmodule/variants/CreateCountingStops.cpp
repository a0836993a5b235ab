// CreateDllObject of a module that counts the calls of its stop entry: the
// real object, whose KO_REPORT_ENTRY_STOP_QUERY counts each call and then
// stops the queries as the real entry does. The export StopQueryCalls
// answers the count, so that a test can see which queries a client ended.

#include "VariantObject.h"

#include <atomic>

namespace {

std::atomic<int32_t> s_stopCalls{0};
std::atomic<KoReportStopFunction> s_realStop{nullptr};

int32_t KO_LOG_MODULE_CALL CountingStop(KoLogModule* module, void* context)
{
    ++s_stopCalls;
    return s_realStop(module, context);
}

} // namespace

int32_t CreateDllObject(const KoInterfaceId* id, KoLogModule** module)
{
    KoLogModuleEntry realStop = nullptr;
    const int32_t result =
        CreateVariantObject(id, module, KO_REPORT_ENTRY_STOP_QUERY,
                            reinterpret_cast<KoLogModuleEntry>(&CountingStop), &realStop);
    if (result == 0) {
        s_realStop = reinterpret_cast<KoReportStopFunction>(realStop);
    }
    return result;
}

extern "C" KO_LOG_MODULE_EXPORT int32_t StopQueryCalls(void)
{
    return s_stopCalls;
}
