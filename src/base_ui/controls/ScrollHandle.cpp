#include "base_ui/controls/ScrollHandle.h"

#include <QPainter>

#include <algorithm>

void ScrollHandle::setTrack(int x, int width, int firstTop, int limit)
{
    m_x = x;
    m_width = width;
    m_firstTop = firstTop;
    m_limit = limit;
    moveTo(m_top);
}

void ScrollHandle::setHeight(int proportional, int minimum)
{
    m_height = std::max(proportional, minimum);
    moveTo(m_top);
}

void ScrollHandle::moveTo(int top)
{
    m_top = std::max(std::min(top, lowestTop()), m_firstTop);
}

void ScrollHandle::moveToPercent(int percent)
{
    const long long span = lowestTop() - m_firstTop;
    moveTo(m_firstTop + static_cast<int>(span * percent / 100));
}

double ScrollHandle::percent() const
{
    const int span = lowestTop() - m_firstTop;
    return span > 0 ? (m_top - m_firstTop) * 100.0 / span : 0.0;
}

int ScrollHandle::wholePercent() const
{
    const int span = lowestTop() - m_firstTop;
    return span > 0 ? std::clamp((m_top - m_firstTop) * 100 / span, 0, 100) : 0;
}

bool ScrollHandle::press(const QPointF& point)
{
    if (!contains(point)) {
        return false;
    }
    m_dragging = true;
    m_dragOffset = static_cast<int>(point.y() - m_top);
    return true;
}

bool ScrollHandle::dragTo(qreal y)
{
    if (!m_dragging) {
        return false;
    }
    moveTo(static_cast<int>(y) - m_dragOffset);
    return true;
}

void ScrollHandle::wheel(int angleDelta, int step)
{
    moveTo(angleDelta < 0 ? m_top + step : m_top - step);
}

void ScrollHandle::setColors(const QColor& fill, const QColor& border)
{
    m_fill = fill;
    m_border = border;
}

void ScrollHandle::setRadii(qreal x, qreal y)
{
    m_xRadius = x;
    m_yRadius = y;
}

void ScrollHandle::paint(QPainter& painter) const
{
    painter.setPen(QPen(QBrush(m_border), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(QBrush(m_fill, Qt::SolidPattern));
    painter.drawRoundedRect(rect(), m_xRadius, m_yRadius, Qt::AbsoluteSize);
}
