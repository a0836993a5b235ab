#include "widgets/safetools/CKoSafeToolsPool.h"

#include "base/Logging.h"

#include <QDomDocument>
#include <QFile>

namespace {

SafeToolItem ReadItem(const QDomElement& element)
{
    SafeToolItem item;
    if (element.hasAttribute("id")) {
        item.id = element.attribute("id").toInt(nullptr, 10);
    }
    item.FileName = element.attribute("FileName").toStdString();
    item.imgPath = element.attribute("imgPath").toStdString();
    item.showText = element.attribute("showText").toStdString();
    return item;
}

} // namespace

// static
CKoSafeToolsPool& CKoSafeToolsPool::Get()
{
    static CKoSafeToolsPool pool;
    return pool;
}

// static
int CKoSafeToolsPool::LoadXml(const std::string& path)
{
    return Get().Load(path);
}

int CKoSafeToolsPool::Load(const std::string& path)
{
    const QString filePath = QString::fromStdString(path);
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        LOG_ERROR << "Open " << path << " failed.";
        return -1;
    }
    QDomDocument document;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, false, nullptr, &line, &column)) {
        LOG_ERROR << "Parse file failed at line row : " << line << " and column : " << column;
        return -1;
    }
    const QDomElement root = document.documentElement();
    for (QDomElement element = root.firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        if (element.tagName() == QLatin1String("item")) {
            const SafeToolItem item = ReadItem(element);
            m_items[std::to_string(item.id)] = item;
        } else {
            LOG_DEBUG << element.tagName().toStdString() << ":" << element.text().toStdString();
        }
    }
    return 0;
}

std::optional<SafeToolItem> CKoSafeToolsPool::Find(const std::string& id) const
{
    const auto found = m_items.find(id);
    if (found == m_items.end()) {
        return std::nullopt;
    }
    return found->second;
}
