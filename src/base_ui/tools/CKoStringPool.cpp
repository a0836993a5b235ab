#include "base_ui/tools/CKoStringPool.h"

#include "base/Logging.h"

#include <QDomDocument>
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        LOG_ERROR << "Open " << path.toStdString() << " failed.";
        return -1;
    }
    QDomDocument document;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, false, nullptr, &line, &column)) {
        LOG_ERROR << "Parse file failed at line row :" << line << " and column : " << column;
        return -1;
    }
    m_table.Merge(document.documentElement(), ResourceTable::Images::Skip);
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
