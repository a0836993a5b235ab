// CKoStringPool::Load on arbitrary bytes. The loader must return 0 or -1 and
// never crash; what it merges must equal what the same bytes give when parsed
// in memory, so that the file layer (open mode, decoding) loses nothing.
#include "FuzzInput.h"

#include "base_ui/tools/CKoStringPool.h"
#include "base_ui/tools/ResourceTable.h"

#include <QByteArray>
#include <QDomDocument>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

bool SameEntry(const ResourceEntry& a, const ResourceEntry& b)
{
    return a.text == b.text && a.object == b.object && a.x == b.x && a.y == b.y;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const QString path = QString::fromStdString(FuzzInput::Get().WriteFile(data, size));

    CKoStringPool pool;
    const int result = pool.Load(path);
    if (result != 0 && result != -1) {
        std::abort();
    }

    QDomDocument reference;
    const bool parsed = reference.setContent(bytes);
    if (parsed != (result == 0)) {
        std::fprintf(stderr, "Load gave %d, parsing in memory %s\n", result,
                     parsed ? "succeeded" : "failed");
        std::abort();
    }
    if (!parsed) {
        return 0;
    }
    ResourceTable expected;
    expected.Merge(reference.documentElement(), ResourceTable::Images::Skip);
    for (QDomElement s = reference.documentElement().firstChildElement("s"); !s.isNull();
         s = s.nextSiblingElement("s")) {
        const int id = s.attribute("id").toInt();
        ResourceEntry loaded;
        pool.Lookup(id, loaded);
        if (!SameEntry(loaded, *expected.Find(id))) {
            std::fprintf(stderr, "entry %d: loaded \"%s\", parsed \"%s\"\n", id,
                         loaded.text.c_str(), expected.Find(id)->text.c_str());
            std::abort();
        }
    }
    return 0;
}
