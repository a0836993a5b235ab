#pragma once

#include <QSystemTrayIcon>

#include <memory>

class QMenu;

// A system-tray icon whose context menu holds one entry: a clickable label
// (string entry 500) that announces a click as sigFireQuit(), for a host that
// wants a quit entry in the tray. The icon is pixmap entry 10005. The icon
// is not shown until the host calls show(). GUI thread only.
class CFireTrayWidget : public QSystemTrayIcon
{
    Q_OBJECT

public:
    explicit CFireTrayWidget(QObject* parent = nullptr);
    ~CFireTrayWidget() override;
    Q_DISABLE_COPY_MOVE(CFireTrayWidget)

signals:
    void sigFireQuit();

private:
    void initIcon();
    void initMenu();
    void initMenuEntry();

    // The context menu has no parent (it is a top-level popup); the entry's
    // action and widget are owned through it.
    std::unique_ptr<QMenu> m_menu;
};
