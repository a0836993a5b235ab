#include "base_ui/controls/ComboBox.h"

#include <QPainter>
#include <QStyleOption>
#include <QWheelEvent>

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    setFixedSize(120, 26);
}

void ComboBox::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

void ComboBox::paintEvent(QPaintEvent* event)
{
    // The widget primitive first, so that a style sheet's background applies.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    painter.end();
    QComboBox::paintEvent(event);
}
