#include "base_ui/tools/CKoPixmapPool.h"

#include "base/Logging.h"

#include "base_ui/tools/XmlResourceFile.h"

// static
CKoPixmapPool& CKoPixmapPool::Get()
{
    static CKoPixmapPool pool;
    return pool;
}

// static
int CKoPixmapPool::LoadXml(const QString& path)
{
    return Get().Load(path);
}

int CKoPixmapPool::Load(const QString& path)
{
    const XmlResourceFile file(path);
    switch (file.status()) {
    case XmlResourceFile::Status::OpenFailed:
        LOG_ERROR << "Open " << path.toStdString() << " failed.";
        return -1;
    case XmlResourceFile::Status::ParseFailed:
        LOG_ERROR << "Parse file failed at line row : " << file.errorLine()
                  << " and column :" << file.errorColumn() << ".";
        return -1;
    case XmlResourceFile::Status::Parsed:
        break;
    }
    m_table.Merge(file.root(), ResourceTable::Images::Read);
    return 0;
}

int CKoPixmapPool::Lookup(int id, ResourceEntry& entry) const
{
    entry = ResourceEntry();
    const ResourceEntry* found = m_table.Find(id);
    if (found == nullptr) {
        return -1;
    }
    entry = *found;
    return 0;
}
