#include "base_ui/controls/FocusFrame.h"

#include <QPainter>

FocusFrame::FocusFrame(QWidget* control) : QWidget(control)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusFrame::focusIn(Qt::FocusReason reason)
{
    m_mark.focusIn(reason);
    follow();
}

void FocusFrame::focusOut()
{
    m_mark.focusOut();
    follow();
}

void FocusFrame::keyPressed()
{
    m_mark.keyPressed();
    follow();
}

void FocusFrame::follow()
{
    if (m_mark.isShown()) {
        setGeometry(parentWidget()->rect());
        raise();
        show();
    } else {
        hide();
    }
}

void FocusFrame::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    m_mark.paint(painter, rect());
}
