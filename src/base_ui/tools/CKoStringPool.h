#pragma once

#include "base_ui/tools/ResourceEntry.h"
#include "base_ui/tools/ResourceTable.h"

#include <QString>
#include <QtGlobal>

// Texts by resource identifier: captions, colour values, numbers, object
// names and positions, filled from resource XML files (several files merge
// into one table). The process-wide instance is created by Get() on first use
// and lives until the process ends. Not locked: fill and read it on the GUI
// thread.
class CKoStringPool
{
public:
    CKoStringPool() = default;
    Q_DISABLE_COPY_MOVE(CKoStringPool)

    static CKoStringPool& Get();

    // Load() on the process-wide instance.
    static int LoadXml(const QString& path);

    // Merges the entries of the resource XML file at `path` (a file or a
    // ":/" resource path). A file that does not exist is skipped: 0 for a
    // non-empty path. Returns -1 for an empty path and for a file that cannot
    // be opened or parsed (ERROR line; nothing is merged), otherwise 0.
    int Load(const QString& path);

    // Resets `entry` to the defaults, then copies text, object and position
    // of the entry `id` when there is one. Returns -1 when the pool holds no
    // entries at all, otherwise 0, found or not.
    int Lookup(int id, ResourceEntry& entry) const;

private:
    ResourceTable m_table;
};
