#include "base_ui/tools/ResourceTable.h"

#include "base_ui/tools/XmlResourceFile.h"

#include <QDomElement>

namespace {

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

} // namespace

void ResourceTable::Merge(const QDomElement& root, Images images)
{
    XmlResourceFile::ForEachChild(root, QStringLiteral("s"), XmlResourceFile::Others::LogDebug,
                                  [&](const QDomElement& element) {
                                      m_entries[element.attribute("id").toInt()] =
                                          ReadEntry(element, images);
                                  });
}

const ResourceEntry* ResourceTable::Find(int id) const
{
    const auto found = m_entries.find(id);
    return found == m_entries.end() ? nullptr : &found->second;
}
