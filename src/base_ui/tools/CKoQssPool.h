#pragma once

#include <QString>
#include <QtGlobal>

#include <string>

// The page's style sheet text: the style sheets loaded into it, joined in
// load order without separator. Text is only ever appended. The process-wide
// instance is created by Get() on first use and lives until the process
// ends. Not locked: use it on the GUI thread.
class CKoQssPool
{
public:
    Q_DISABLE_COPY_MOVE(CKoQssPool)

    static CKoQssPool& Get();

    // Appends the text of the file at `path` (a file or a ":/" resource
    // path) to the process-wide pool. Returns -1 for an empty path or a file
    // that cannot be opened (ERROR line; nothing is appended), otherwise 0.
    static int LoadQss(const QString& path);

    // A copy of the accumulated text.
    std::string Text() const { return m_text; }

private:
    CKoQssPool() = default;

    std::string m_text;
};
