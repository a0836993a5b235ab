// CKoPixmapPool::Load on arbitrary bytes against the same bytes parsed in
// memory (image paths included).
#include "PoolFuzzing.h"

#include "base_ui/tools/CKoPixmapPool.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzPoolLoad<CKoPixmapPool>(data, size, ResourceTable::Images::Read);
    return 0;
}
