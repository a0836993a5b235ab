#pragma once

#include <QRect>
#include <Qt>

class QPainter;

// The keyboard focus mark of a painted control: a dotted frame just inside a
// rectangle of the control. It shows while the control holds a focus that
// came from the keyboard (Tab, Shift+Tab, a shortcut), or once a key was
// pressed in it; a focus taken by a mouse click leaves the picture as it was
// until a key is pressed. The control forwards its focus and key events and
// repaints when a call returns true. Plain data, owned by value.
class FocusMark
{
public:
    // True when the mark appeared.
    bool focusIn(Qt::FocusReason reason);
    // True when the mark went away.
    bool focusOut();
    // True when the mark appeared.
    bool keyPressed();
    bool isShown() const { return m_shown; }

    // Draws the frame inside `area` while the mark is shown.
    void paint(QPainter& painter, const QRect& area) const;

private:
    bool m_shown = false;
};
