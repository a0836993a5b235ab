#pragma once

#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

// Moves a frameless window with the left mouse button held anywhere on it.
// The window forwards its press and move events; each call returns false for
// an event it leaves to the window's base class.
class WindowDrag
{
public:
    bool Press(const QWidget& window, QMouseEvent* event)
    {
        if (event->button() != Qt::LeftButton) {
            return false;
        }
        m_offset = event->globalPosition().toPoint() - window.frameGeometry().topLeft();
        event->accept();
        return true;
    }

    bool Move(QWidget& window, QMouseEvent* event) const
    {
        if (!(event->buttons() & Qt::LeftButton)) {
            return false;
        }
        window.move(event->globalPosition().toPoint() - m_offset);
        event->accept();
        return true;
    }

private:
    QPoint m_offset;
};
