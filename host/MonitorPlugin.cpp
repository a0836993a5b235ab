#include "MonitorPlugin.h"

#include <QDir>

MonitorPlugin::MonitorPlugin(const QString& directory)
    : m_library(QDir(directory).filePath("AntivirusMonitor"))
{}

bool MonitorPlugin::load()
{
    m_getInterface = reinterpret_cast<GetInterfaceFunction>(m_library.resolve(kGetInterfaceSymbol));
    return m_getInterface != nullptr;
}

std::unique_ptr<iAntivirusMonitor> MonitorPlugin::createPage() const
{
    if (m_getInterface == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<iAntivirusMonitor>(m_getInterface());
}
