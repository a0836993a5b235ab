#include "widgets/safetools/CKoSafeToolsPool.h"

#include "base/Logging.h"
#include "base_ui/tools/XmlResourceFile.h"

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
    const XmlResourceFile file(QString::fromStdString(path));
    switch (file.status()) {
    case XmlResourceFile::Status::OpenFailed:
        LOG_ERROR << "Open " << path << " failed.";
        return -1;
    case XmlResourceFile::Status::ParseFailed:
        LOG_ERROR << "Parse file failed at line row : " << file.errorLine()
                  << " and column : " << file.errorColumn();
        return -1;
    case XmlResourceFile::Status::Parsed:
        break;
    }
    XmlResourceFile::ForEachChild(file.root(), QStringLiteral("item"),
                                  XmlResourceFile::Others::LogDebug,
                                  [this](const QDomElement& element) {
                                      const SafeToolItem item = ReadItem(element);
                                      m_items[std::to_string(item.id)] = item;
                                  });
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
