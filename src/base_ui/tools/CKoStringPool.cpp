#include "base_ui/tools/CKoStringPool.h"

#include "base/Logging.h"

#include "base_ui/tools/XmlResourceFile.h"

#include <QFile>

// static
CKoStringPool& CKoStringPool::Get()
{
    static CKoStringPool pool;
    return pool;
}

// static
int CKoStringPool::LoadXml(const QString& path)
{
    return Get().Load(path);
}

int CKoStringPool::Load(const QString& path)
{
    if (!QFile::exists(path)) {
        return path.isEmpty() ? -1 : 0;
    }
    const XmlResourceFile file(path);
    switch (file.status()) {
    case XmlResourceFile::Status::OpenFailed:
        LOG_ERROR << "Open " << path.toStdString() << " failed.";
        return -1;
    case XmlResourceFile::Status::ParseFailed:
        LOG_ERROR << "Parse file failed at line row :" << file.errorLine()
                  << " and column : " << file.errorColumn();
        return -1;
    case XmlResourceFile::Status::Parsed:
        break;
    }
    m_table.Merge(file.root(), ResourceTable::Images::Skip);
    return 0;
}

int CKoStringPool::Lookup(int id, ResourceEntry& entry) const
{
    entry = ResourceEntry();
    if (m_table.IsEmpty()) {
        return -1;
    }
    if (const ResourceEntry* found = m_table.Find(id)) {
        entry = *found;
    }
    return 0;
}
