#include "base_ui/tools/XmlResourceFile.h"

#include "base/Logging.h"

#include <QFile>

XmlResourceFile::XmlResourceFile(const QString& path)
{
    // Read as raw bytes: text mode would drop every 0x0D byte, which breaks
    // UTF-16 (CR LF line ends, and characters such as U+4E0D).
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_status = Status::OpenFailed;
        return;
    }
    if (!m_document.setContent(file.readAll(), false, nullptr, &m_errorLine, &m_errorColumn)) {
        m_status = Status::ParseFailed;
        m_document.clear();
    }
}

// static
void XmlResourceFile::ForEachChild(const QDomElement& root, const QString& tag, Others others,
                                   const std::function<void(const QDomElement&)>& visit)
{
    for (QDomElement element = root.firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        if (element.tagName() == tag) {
            visit(element);
        } else if (others == Others::LogDebug) {
            LOG_DEBUG << element.tagName().toStdString() << ":" << element.text().toStdString();
        }
    }
}
