#include "base_ui/controls/CSkinLabel.h"

#include <QCursor>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

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
    return startFade(0.0F, false);
}

int CSkinLabel::fadeOut()
{
    return startFade(1.0F, true);
}

int CSkinLabel::startFade(float opacity, bool fadingOut)
{
    if (m_fadeTimer != nullptr) {
        return -1;
    }
    m_opacity = opacity;
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
    if (m_opacity >= 0.0F && m_opacity <= 1.0F) {
        m_opacityEffect->setOpacity(m_opacity);
        setGraphicsEffect(m_opacityEffect);
    } else {
        stopFade();
        setVisible(!m_fadingOut);
    }
    m_opacity += m_fadingOut ? -0.1F : 0.1F;
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
