#pragma once

#include "base_ui/tools/ResourceEntry.h"

#include <map>
#include <memory>

class QDomElement;

// Resource entries by identifier, merged from resource XML documents: every
// child element `s` of the root is one entry, keyed by its `id` attribute
// (0 when absent or not a number). An identifier met again replaces the
// earlier entry completely. Other child elements are not stored; each writes
// a DEBUG line with its tag name and text.
class ResourceTable
{
public:
    enum class Images
    {
        Skip,
        Read
    };

    void Merge(const QDomElement& root, Images images);

    // The entry stored under `id`, or null; valid until the next Merge.
    const ResourceEntry* Find(int id) const;
    bool IsEmpty() const { return m_entries.empty(); }

private:
    // Entries are shared with the documents' memo and with other tables that
    // merged the same document: merging copies pointers, not texts.
    std::map<int, std::shared_ptr<const ResourceEntry>> m_entries;
};
