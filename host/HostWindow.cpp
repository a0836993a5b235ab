#include "HostWindow.h"

#include <QPalette>

HostWindow::HostWindow(std::unique_ptr<iAntivirusMonitor> page) : m_page(std::move(page))
{
    setWindowTitle("monitor-host");
    setFixedSize(kSize);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);

    m_page->setParentWidget(this);
    m_page->setCenterWidget(this);
    m_page->initUi();
    m_logModuleLoaded = m_page->loadLogModule();
    m_page->show();
}

// The page goes first, while this window is still whole; it leaves the
// window's children when it is deleted.
HostWindow::~HostWindow() = default;
