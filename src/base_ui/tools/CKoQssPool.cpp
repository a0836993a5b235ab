#include "base_ui/tools/CKoQssPool.h"

#include "base/Logging.h"

#include <QFile>

// static
CKoQssPool& CKoQssPool::Get()
{
    static CKoQssPool pool;
    return pool;
}

// static
int CKoQssPool::LoadQss(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        LOG_ERROR << "Open " << path.toStdString() << " failed.";
        return -1;
    }
    Get().m_text += QString::fromUtf8(file.readAll()).toStdString();
    return 0;
}
