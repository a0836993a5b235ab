// CKoSafeToolsPool::Load on arbitrary bytes. The loader must return 0 or -1
// and never crash; the items it keeps must equal those of the same bytes
// parsed in memory: keyed by the decimal id (-1 when absent), the last item
// of an id winning, a missing attribute empty.
#include "PoolFuzzing.h"

#include "widgets/safetools/CKoSafeToolsPool.h"

#include <QByteArray>
#include <QDomDocument>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

SafeToolItem Expected(const QDomElement& element)
{
    SafeToolItem item;
    item.id = element.hasAttribute("id") ? element.attribute("id").toInt() : -1;
    item.showText = element.attribute("showText").toStdString();
    item.FileName = element.attribute("FileName").toStdString();
    item.imgPath = element.attribute("imgPath").toStdString();
    return item;
}

bool SameItem(const SafeToolItem& a, const SafeToolItem& b)
{
    return a.id == b.id && a.showText == b.showText && a.FileName == b.FileName &&
           a.imgPath == b.imgPath;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const std::string path = FuzzInput::Get().WriteFile(data, size);

    CKoSafeToolsPool pool;
    QDomDocument reference;
    if (!LoadAgreesWithParse(pool.Load(path), bytes, reference)) {
        return 0;
    }
    std::map<std::string, SafeToolItem> expected;
    for (QDomElement item = reference.documentElement().firstChildElement("item"); !item.isNull();
         item = item.nextSiblingElement("item")) {
        const SafeToolItem read = Expected(item);
        expected[std::to_string(read.id)] = read;
    }
    for (const auto& [id, item] : expected) {
        const std::optional<SafeToolItem> loaded = pool.Find(id);
        if (!loaded || !SameItem(*loaded, item)) {
            std::fprintf(stderr, "item %s: loaded \"%s\", parsed \"%s\"\n", id.c_str(),
                         loaded ? loaded->showText.c_str() : "(none)", item.showText.c_str());
            std::abort();
        }
    }
    return 0;
}
