#pragma once

#include "base_ui/controls/FocusMark.h"

#include <QWidget>

// The focus mark of a control whose children cover all of it (a switch drawn
// by its picture child): a child of the control, transparent for the mouse,
// that draws the FocusMark over the control's whole area. Hidden, so without
// any effect on the picture, until the mark shows.
class FocusFrame : public QWidget
{
    Q_OBJECT

public:
    explicit FocusFrame(QWidget* control);
    Q_DISABLE_COPY_MOVE(FocusFrame)

    // Forward the control's events.
    void focusIn(Qt::FocusReason reason);
    void focusOut();
    void keyPressed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();

    FocusMark m_mark;
};
