#pragma once

#include "base_ui/tools/ResourceEntry.h"
#include "base_ui/tools/ResourceTable.h"

#include <QString>
#include <QtGlobal>

// Image paths by resource identifier, filled from resource XML files
// (several files merge into one table). Identifiers are independent of the
// string pool's. The process-wide instance is created by Get() on first use
// and lives until the process ends. Not locked: fill and read it on the GUI
// thread.
class CKoPixmapPool
{
public:
    CKoPixmapPool() = default;
    Q_DISABLE_COPY_MOVE(CKoPixmapPool)

    static CKoPixmapPool& Get();

    // Load() on the process-wide instance.
    static int LoadXml(const QString& path);

    // Merges the entries of the resource XML file at `path` (a file or a
    // ":/" resource path). Returns -1 for an empty path and for a file that
    // does not exist or cannot be opened or parsed (ERROR line; nothing is
    // merged), otherwise 0.
    int Load(const QString& path);

    // Resets `entry` to the defaults, then copies text, object, image and
    // position of the entry `id`. Returns 0 when found, otherwise -1.
    int Lookup(int id, ResourceEntry& entry) const;

private:
    ResourceTable m_table;
};
