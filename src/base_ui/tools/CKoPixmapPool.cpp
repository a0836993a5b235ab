#include "base_ui/tools/CKoPixmapPool.h"

#include "base/Logging.h"

#include <QDomDocument>
#include <QFile>

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        LOG_ERROR << "Open " << path.toStdString() << " failed.";
        return -1;
    }
    QDomDocument document;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, false, nullptr, &line, &column)) {
        LOG_ERROR << "Parse file failed at line row : " << line << " and column :" << column << ".";
        return -1;
    }
    m_table.Merge(document.documentElement(), ResourceTable::Images::Read);
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
