#include "base_ui/controls/PushButton.h"

#include <QMouseEvent>

PushButton::PushButton(QWidget* parent) : QPushButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    setFlat(true);
}

void PushButton::mousePressEvent(QMouseEvent* event)
{
    update();
    event->accept();
}

void PushButton::mouseReleaseEvent(QMouseEvent* event)
{
    update();
    const QPoint local = event->position().toPoint();
    // A release dragged off the button cancels the click.
    if (!rect().contains(local)) {
        return;
    }
    m_point = event->globalPosition().toPoint() - local;
    m_point.ry() += height();
    emit toTableWidget(m_recordIndex, m_column, m_point);
}

void PushButton::activate()
{
    m_point = mapToGlobal(QPoint(0, height()));
    emit toTableWidget(m_recordIndex, m_column, m_point);
}
