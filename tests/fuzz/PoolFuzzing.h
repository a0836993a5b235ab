#pragma once

// The checks shared by the pools' fuzz targets: Load on
// arbitrary bytes must return 0 or -1 and never crash, and what it merges
// must equal what the same bytes give when parsed in memory, so that the file
// layer (open mode, decoding) loses nothing.
#include "FuzzInput.h"

#include "base_ui/tools/ResourceTable.h"

#include <QByteArray>
#include <QDomDocument>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Aborts unless a Load that gave `result` agrees with parsing `bytes` in
// memory into `reference` (0 exactly when they parse, -1 otherwise); returns
// whether they parse.
inline bool LoadAgreesWithParse(int result, const QByteArray& bytes, QDomDocument& reference)
{
    if (result != 0 && result != -1) {
        std::abort();
    }
    const bool parsed = reference.setContent(bytes);
    if (parsed != (result == 0)) {
        std::fprintf(stderr, "Load gave %d, parsing in memory %s\n", result,
                     parsed ? "succeeded" : "failed");
        std::abort();
    }
    return parsed;
}

template <class Pool>
void FuzzPoolLoad(const std::uint8_t* data, std::size_t size, ResourceTable::Images images)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const QString path = QString::fromStdString(FuzzInput::Get().WriteFile(data, size));

    Pool pool;
    QDomDocument reference;
    if (!LoadAgreesWithParse(pool.Load(path), bytes, reference)) {
        return;
    }
    ResourceTable expected;
    expected.Merge(reference.documentElement(), images);
    for (QDomElement s = reference.documentElement().firstChildElement("s"); !s.isNull();
         s = s.nextSiblingElement("s")) {
        const int id = s.attribute("id").toInt();
        ResourceEntry loaded;
        pool.Lookup(id, loaded);
        const ResourceEntry& want = *expected.Find(id);
        if (loaded.text != want.text || loaded.image != want.image ||
            loaded.object != want.object || loaded.x != want.x || loaded.y != want.y) {
            std::fprintf(stderr, "entry %d: loaded \"%s\", parsed \"%s\"\n", id,
                         loaded.text.c_str(), want.text.c_str());
            std::abort();
        }
    }
}
