#pragma once

#include "iAntivirusMonitor.h"

#include <QLibrary>
#include <QString>

#include <memory>

// The monitor plug-in loaded at run time, the way the client loads it: the
// library "AntivirusMonitor" from a directory, resolved by its one export.
// The library stays loaded for the rest of the process (pages and the
// resources they use live in it).
class MonitorPlugin
{
public:
    // The plug-in in `directory`; nothing is loaded yet.
    explicit MonitorPlugin(const QString& directory);

    // Loads the library and resolves getInterface; false with errorString().
    bool load();
    QString errorString() const { return m_library.errorString(); }
    QString fileName() const { return m_library.fileName(); }

    // A new page from getInterface, owned by the caller; null before load().
    std::unique_ptr<iAntivirusMonitor> createPage() const;

private:
    QLibrary m_library;
    GetInterfaceFunction m_getInterface = nullptr;
};
