#include "base_ui/controls/CSkinLabel.h"

#include <QCursor>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

namespace {

constexpr int kOpaqueTenths = 10;

} // namespace

CSkinLabel::CSkinLabel(QWidget* parent, Qt::WindowFlags flags) : QLabel(parent, flags)
{}

CSkinLabel::CSkinLabel(const QString& text, QWidget* parent, Qt::WindowFlags flags)
    : QLabel(text, parent, flags)
{}

void CSkinLabel::setTextToolTip(bool on)
{
    m_toolTip = on;
}

void CSkinLabel::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    m_background = true;
    update();
}

int CSkinLabel::fadeIn()
{
    return startFade(0, false);
}

int CSkinLabel::fadeOut()
{
    return startFade(kOpaqueTenths, true);
}

int CSkinLabel::startFade(int tenths, bool fadingOut)
{
    if (m_fadeTimer != nullptr) {
        return -1;
    }
    m_opacityTenths = tenths;
    m_fadingOut = fadingOut;
    m_fadeTimer = new QTimer(this);
    connect(m_fadeTimer, &QTimer::timeout, this, &CSkinLabel::On_Timer);
    m_fadeTimer->start(m_fadeInterval);
    return 0;
}

void CSkinLabel::stopFade()
{
    if (m_fadeTimer == nullptr) {
        return;
    }
    m_fadeTimer->stop();
    // Called from the timer's own timeout: delete it once that returns.
    m_fadeTimer->deleteLater();
    m_fadeTimer = nullptr;
}

void CSkinLabel::On_Timer()
{
    if (m_opacityEffect == nullptr) {
        m_opacityEffect = new QGraphicsOpacityEffect(this);
    }
    if (m_opacityTenths >= 0 && m_opacityTenths <= kOpaqueTenths) {
        m_opacityEffect->setOpacity(m_opacityTenths / static_cast<qreal>(kOpaqueTenths));
        setGraphicsEffect(m_opacityEffect);
    } else {
        stopFade();
        setVisible(!m_fadingOut);
    }
    m_opacityTenths += m_fadingOut ? -1 : 1;
}

void CSkinLabel::paintEvent(QPaintEvent* event)
{
    if (m_background) {
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_backgroundColor);
        painter.drawRect(rect());
    }
    QLabel::paintEvent(event);
}

void CSkinLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked(this);
        emit clicked();
    }
}

void CSkinLabel::enterEvent(QEnterEvent* event)
{
    if (m_toolTip) {
        QToolTip::showText(QCursor::pos(), text(), this);
    }
    emit Enter_Msg();
    QLabel::enterEvent(event);
}

void CSkinLabel::leaveEvent(QEvent* event)
{
    if (m_toolTip) {
        QToolTip::hideText();
    }
    emit Leave_Msg();
    QLabel::leaveEvent(event);
}
