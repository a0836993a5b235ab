#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QString>

#include <functional>

// One XML resource file (a file or a ":/" resource path), read and parsed
// into a DOM document without namespace processing. The file's bytes reach
// the XML reader unchanged, so that it decodes them by their byte-order mark
// or XML declaration: UTF-8 and UTF-16 files load alike, whatever their line
// ends. Bytes parsed before in the process are not parsed again: the document
// is shared with the earlier reading, so `root()` is for reading only.
// Reports nothing itself: each loader writes its own messages from the
// status.
class XmlResourceFile
{
public:
    enum class Status
    {
        Parsed,
        OpenFailed,
        ParseFailed,
    };

    explicit XmlResourceFile(const QString& path);

    Status status() const { return m_status; }
    // Where parsing failed (1-based), 0 unless the status is ParseFailed.
    int errorLine() const { return m_errorLine; }
    int errorColumn() const { return m_errorColumn; }
    // The root element; null unless the status is Parsed.
    QDomElement root() const { return m_document.documentElement(); }

    enum class Others
    {
        Skip,
        LogDebug, // a DEBUG line "<tag name>:<text>" for each
    };

    // Calls `visit` with every child element of `root` named `tag` (case
    // sensitive), in document order. Other child elements are skipped, or
    // logged as `others` says; comments and text between them are skipped.
    static void ForEachChild(const QDomElement& root, const QString& tag, Others others,
                             const std::function<void(const QDomElement&)>& visit);

private:
    QDomDocument m_document;
    Status m_status = Status::Parsed;
    int m_errorLine = 0;
    int m_errorColumn = 0;
};
