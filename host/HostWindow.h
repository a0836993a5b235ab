#pragma once

#include "iAntivirusMonitor.h"

#include <QWidget>

#include <memory>

// The host's window around one monitor page. It owns the page and drives it
// through the tool-page interface in the client's order: parent, centre
// widget, page build, log module. GUI thread only.
class HostWindow : public QWidget
{
public:
    static constexpr QSize kSize{874, 474};

    // Takes `page` (not null) and builds it into this window.
    explicit HostWindow(std::unique_ptr<iAntivirusMonitor> page);
    ~HostWindow() override;
    Q_DISABLE_COPY_MOVE(HostWindow)

    // Whether the page loaded the log module.
    bool logModuleLoaded() const { return m_logModuleLoaded; }
    QWidget* page() const { return m_page.get(); }

private:
    std::unique_ptr<iAntivirusMonitor> m_page;
    bool m_logModuleLoaded = false;
};
