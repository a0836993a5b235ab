#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

class QPainter;

// The hand-drawn handle of a slim vertical scroll bar: its geometry in the
// track, the drag (pressed inside, clamped at both ends) and the wheel step,
// and its painting as a rounded rectangle. The widget that draws it forwards
// its press, move, release and wheel events and turns the handle position
// into its own scroll position.
//
// The handle's top runs from the track's first top to limit - height, so the
// handle's bottom edge stays on or above the limit. Positions are whole
// pixels. Plain data, owned by value by the widget that draws it.
class ScrollHandle
{
public:
    // The track: handles are `width` wide at `x`, their tops start at
    // `firstTop`, their bottoms stay on or above `limit`.
    void setTrack(int x, int width, int firstTop, int limit);
    // The handle's height: `proportional`, raised to `minimum`. A handle that
    // no longer fits below its top moves up to the lowest top.
    void setHeight(int proportional, int minimum = 0);
    int height() const { return m_height; }

    int top() const { return m_top; }
    int firstTop() const { return m_firstTop; }
    // Greatest top: limit - height.
    int lowestTop() const { return m_limit - m_height; }
    QRectF rect() const { return QRectF(m_x, m_top, m_width, m_height); }
    bool contains(const QPointF& point) const { return rect().contains(point); }

    // Moves the top to `top`, clamped to [firstTop, lowestTop] (firstTop wins
    // when the handle is taller than the track).
    void moveTo(int top);
    void moveToStart() { moveTo(m_firstTop); }
    // Moves the top to `percent` (0..100) of the way down.
    void moveToPercent(int percent);
    // The top's position along the way down: 0 at the first top, 100 at the
    // lowest; 0 when the handle cannot move.
    double percent() const;
    // The same in whole percent, rounded down.
    int wholePercent() const;

    // A press inside the handle starts a drag and keeps the pointer's offset
    // from the top; false (no drag) outside.
    bool press(const QPointF& point);
    // While dragging: the top follows the pointer, clamped at both ends.
    // False when no drag is in progress.
    bool dragTo(qreal y);
    void release() { m_dragging = false; }
    bool isDragging() const { return m_dragging; }

    // One wheel event: `step` pixels down for a negative delta (towards the
    // user), up otherwise, clamped at both ends, whatever the delta's size.
    void wheel(int angleDelta, int step);

    void setColors(const QColor& fill, const QColor& border);
    QColor fill() const { return m_fill; }
    QColor border() const { return m_border; }
    // Corner radii in pixels.
    void setRadii(qreal x, qreal y);
    // Fills the handle and outlines it with a 1-pixel solid pen.
    void paint(QPainter& painter) const;

private:
    int m_x = 0;
    int m_width = 0;
    int m_firstTop = 0;
    int m_limit = 0;
    int m_top = 0;
    int m_height = 0;
    bool m_dragging = false;
    int m_dragOffset = 0;
    QColor m_fill;
    QColor m_border;
    qreal m_xRadius = 0;
    qreal m_yRadius = 0;
};
