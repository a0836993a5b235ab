#pragma once

class QLabel;

// Sizes a label to its text, as QWidget::adjustSize() does. Labels of the
// page's rows and dialogs show the same few texts again and again, so the
// size measured once for a text, font and frame serves every later label
// that shows that text the same way. Windows, labels with a pixmap, picture
// or movie, and labels with a layout of their own are measured each time.
// GUI thread only.
class LabelFit
{
public:
    static void toText(QLabel& label);
};
