#pragma once

#include "widgets/safetools/SafeToolItem.h"

#include <QtGlobal>

#include <map>
#include <optional>
#include <string>

// The catalogue of categories and tools, read from a catalogue file: root
// element `items`, one child element `item` per entry with the attributes
// `id`, `showText`, `FileName` and `imgPath`. Entries are keyed by the
// decimal text of their id; a later item with the same id replaces the
// earlier one. The process-wide instance is created by Get() on first use
// and lives until the process ends. Not locked: use it on the GUI thread.
class CKoSafeToolsPool
{
public:
    CKoSafeToolsPool() = default;
    Q_DISABLE_COPY_MOVE(CKoSafeToolsPool)

    static CKoSafeToolsPool& Get();

    // Load() on the process-wide instance.
    static int LoadXml(const std::string& path);

    // Merges the items of the catalogue file at `path` (a file or a ":/"
    // resource path). An attribute that an item lacks is empty (-1 for
    // `id`). Returns -1 for an empty path and for a file that cannot be
    // opened or parsed (ERROR line; nothing is merged), otherwise 0. Other
    // child elements write a DEBUG line with their tag name and text.
    int Load(const std::string& path);

    // The entry stored under the id text `id` ("100221"), if any.
    std::optional<SafeToolItem> Find(const std::string& id) const;

private:
    std::map<std::string, SafeToolItem> m_items;
};
