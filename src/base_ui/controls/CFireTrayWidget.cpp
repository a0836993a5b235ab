#include "base_ui/controls/CFireTrayWidget.h"

#include "base_ui/controls/CSkinLabel.h"
#include "base_ui/tools/CControlSetting.h"

#include <QIcon>
#include <QMenu>
#include <QWidgetAction>

namespace {

constexpr int kImageTrayIcon = 10005;
constexpr int kTextQuitEntry = 500;

} // namespace

CFireTrayWidget::CFireTrayWidget(QObject* parent) : QSystemTrayIcon(parent)
{
    initIcon();
    initMenu();
    initMenuEntry();
}

CFireTrayWidget::~CFireTrayWidget() = default;

void CFireTrayWidget::initIcon()
{
    setIcon(QIcon(QString::fromStdString(CControlSetting::Get_Pixmap_Path(kImageTrayIcon))));
}

void CFireTrayWidget::initMenu()
{
    m_menu = std::make_unique<QMenu>();
    m_menu->resize(400, 500);
    m_menu->setStyleSheet("background-color: #3f465c;border:0px;");
    setContextMenu(m_menu.get());
}

void CFireTrayWidget::initMenuEntry()
{
    auto* itemAction = new QWidgetAction(m_menu.get());
    auto itemWidget = std::make_unique<QWidget>();
    itemWidget->setFixedSize(100, 30);

    auto* label = new CSkinLabel(itemWidget.get());
    CControlSetting::Set_SkinLabel_Text(label, kTextQuitEntry, 3);
    label->setText(
        QString("     %1").arg(QString::fromStdString(CControlSetting::Get_Text(kTextQuitEntry))));
    label->setGeometry(25, 10, 55, 15);
    label->setCursor(Qt::PointingHandCursor);
    connect(label, qOverload<>(&CSkinLabel::clicked), this, &CFireTrayWidget::sigFireQuit);

    // The action owns its default widget.
    itemAction->setDefaultWidget(itemWidget.release());
    m_menu->addAction(itemAction);
}
