// CKoStringPool::Load on arbitrary bytes against the same bytes parsed in
// memory (texts, objects and positions; no images).
#include "PoolFuzzing.h"

#include "base_ui/tools/CKoStringPool.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzPoolLoad<CKoStringPool>(data, size, ResourceTable::Images::Skip);
    return 0;
}
