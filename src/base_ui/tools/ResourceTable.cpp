#include "base_ui/tools/ResourceTable.h"

#include "base_ui/tools/DocumentMemo.h"
#include "base_ui/tools/XmlResourceFile.h"

#include <QDomElement>

#include <memory>
#include <utility>
#include <vector>

namespace {

const QString kEntryTag = QStringLiteral("s");

using Entries = std::vector<std::pair<int, std::shared_ptr<const ResourceEntry>>>;

// A position attribute: -1 when absent or empty, 0 when not a number.
int Position(const QDomElement& element, const QString& name)
{
    const QString value = element.attribute(name);
    return value.isEmpty() ? -1 : value.toInt();
}

ResourceEntry ReadEntry(const QDomElement& element, ResourceTable::Images images)
{
    ResourceEntry entry;
    entry.text = element.text().toStdString();
    entry.object = element.attribute("object").toStdString();
    if (images == ResourceTable::Images::Read) {
        entry.image = element.attribute("image").toStdString();
    }
    entry.x = Position(element, "location-x");
    entry.y = Position(element, "location-y");
    return entry;
}

bool OnlyEntries(const QDomElement& root)
{
    for (QDomElement element = root.firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        if (element.tagName() != kEntryTag) {
            return false;
        }
    }
    return true;
}

std::shared_ptr<const Entries> ReadEntries(const QDomElement& root, ResourceTable::Images images)
{
    auto entries = std::make_shared<Entries>();
    XmlResourceFile::ForEachChild(
        root, kEntryTag, XmlResourceFile::Others::LogDebug, [&](const QDomElement& element) {
            entries->emplace_back(
                element.attribute("id").toInt(),
                std::make_shared<const ResourceEntry>(ReadEntry(element, images)));
        });
    return entries;
}

// Entries read from a document, for one kind of pool. A document with other
// elements is read at every merge instead, which writes its DEBUG lines each
// time.
struct ReadKey
{
    QDomElement root;
    ResourceTable::Images images;

    bool operator==(const ReadKey& other) const
    {
        return images == other.images && root == other.root;
    }
};

using ReadDocuments = DocumentMemo<ReadKey, Entries>;

ReadDocuments& Read()
{
    static ReadDocuments documents;
    return documents;
}

} // namespace

void ResourceTable::Merge(const QDomElement& root, Images images)
{
    std::shared_ptr<const Entries> entries = Read().find({root, images});
    if (entries == nullptr) {
        entries = ReadEntries(root, images);
        if (OnlyEntries(root)) {
            Read().keep({root, images}, entries);
        }
    }
    for (const auto& [id, entry] : *entries) {
        m_entries[id] = entry;
    }
}

const ResourceEntry* ResourceTable::Find(int id) const
{
    const auto found = m_entries.find(id);
    return found == m_entries.end() ? nullptr : found->second.get();
}
