#include "StoreOpener.h"

#include "MemoryStore.h"

// static
std::shared_ptr<ReportStore> StoreOpener::Open(const std::string&)
{
    // One journal per process, shared by every object of the module, as the
    // file is on Linux; it lives as long as the module stays loaded.
    static const std::shared_ptr<ReportStore> store = std::make_shared<MemoryStore>();
    return store;
}
