#include "base_ui/tools/XmlResourceFile.h"

#include "base/Logging.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {

// Documents parsed before, by the bytes they were parsed from. Every page
// loads the same few resource files; a file read again with the same bytes
// shares the document parsed the first time instead of parsing it again.
// Loaders only read the documents. Failures are not kept, so that each
// reports its own position.
class ParsedDocuments
{
public:
    // The document parsed from `bytes`, or a null document.
    QDomDocument find(const QByteArray& bytes)
    {
        const QMutexLocker lock(&m_mutex);
        return m_documents.value(bytes);
    }

    void keep(const QByteArray& bytes, const QDomDocument& document)
    {
        const QMutexLocker lock(&m_mutex);
        if (m_documents.size() >= kMaxDocuments) {
            m_documents.clear();
        }
        m_documents.insert(bytes, document);
    }

private:
    // A bound for a process that reads many distinct files.
    static constexpr qsizetype kMaxDocuments = 32;

    QMutex m_mutex;
    QHash<QByteArray, QDomDocument> m_documents;
};

ParsedDocuments& Parsed()
{
    static ParsedDocuments documents;
    return documents;
}

} // namespace

XmlResourceFile::XmlResourceFile(const QString& path)
{
    // Read as raw bytes: text mode would drop every 0x0D byte, which breaks
    // UTF-16 (CR LF line ends, and characters such as U+4E0D).
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_status = Status::OpenFailed;
        return;
    }
    const QByteArray bytes = file.readAll();
    m_document = Parsed().find(bytes);
    if (!m_document.isNull()) {
        return;
    }
    if (!m_document.setContent(bytes, false, nullptr, &m_errorLine, &m_errorColumn)) {
        m_status = Status::ParseFailed;
        m_document.clear();
        return;
    }
    Parsed().keep(bytes, m_document);
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
