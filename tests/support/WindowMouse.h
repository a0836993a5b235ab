#pragma once

#include <QPoint>
#include <QTest>
#include <QWidget>
#include <QWindow>

// Left-button mouse events delivered the way the window system delivers
// them: to the top-level window of a shown widget, at the widget's point
// `point`. Qt then routes them to the widget under the pointer (a child that
// ignores them passes them to its parent), sends enter and leave events and
// keeps the implicit grab of a pressed button.
namespace WindowMouse {

inline QWindow* Window(const QWidget* widget)
{
    return widget->window()->windowHandle();
}

inline QPoint InWindow(const QWidget* widget, const QPoint& point)
{
    return widget->mapTo(widget->window(), point);
}

inline void Move(const QWidget* widget, const QPoint& point)
{
    QTest::mouseMove(Window(widget), InWindow(widget, point));
}

// Puts the pointer in the bottom right corner of the widget's window. Qt
// drops a move to where the pointer already is, and a window shown in the
// place of an earlier test's window starts with that window's pointer
// position: park the pointer before the first move of a test.
inline void Park(const QWidget* widget)
{
    const QWindow* window = Window(widget);
    const QPoint corner(window->width() - 1, window->height() - 1);
    QTest::mouseMove(Window(widget), corner - QPoint(1, 0));
    QTest::mouseMove(Window(widget), corner);
}

inline void Press(const QWidget* widget, const QPoint& point)
{
    QTest::mousePress(Window(widget), Qt::LeftButton, {}, InWindow(widget, point));
}

inline void Release(const QWidget* widget, const QPoint& point)
{
    QTest::mouseRelease(Window(widget), Qt::LeftButton, {}, InWindow(widget, point));
}

inline void Click(const QWidget* widget, const QPoint& point)
{
    QTest::mouseClick(Window(widget), Qt::LeftButton, {}, InWindow(widget, point));
}

} // namespace WindowMouse
