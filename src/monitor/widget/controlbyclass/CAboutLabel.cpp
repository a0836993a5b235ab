#include "monitor/widget/controlbyclass/CAboutLabel.h"

#include "base_ui/tools/CControlSetting.h"
#include "base_ui/tools/HiDpiPixmap.h"

#include <QPainter>

namespace {

constexpr int kImageAbout = 130005;
constexpr int kSide = 14;

} // namespace

CAboutLabel::CAboutLabel(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      m_pixmap(
          HiDpiPixmap::load(QString::fromStdString(CControlSetting::Get_Pixmap_Path(kImageAbout))))
{
    resize(kSide, kSide);
}

void CAboutLabel::enterEvent(QEnterEvent* /*event*/)
{
    m_hovered = true;
    update();
}

void CAboutLabel::leaveEvent(QEvent* /*event*/)
{
    m_hovered = false;
    update();
}

void CAboutLabel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, kSide, kSide), m_pixmap,
                       HiDpiPixmap::frameSource(m_pixmap, 2, m_hovered ? 0 : 1));
}
