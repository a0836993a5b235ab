#pragma once

#include "base_ui/controls/CTableWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <memory>
#include <string>
#include <vector>

// Tables shaped like the diary dialog's: 458 x 229 with five visible rows.
constexpr int kTableWidth = 458;
constexpr int kTableHeight = 229;
constexpr int kVisibleRows = 5;

inline std::unique_ptr<CTableWidget> MakeTable(int columns = 3)
{
    auto table = std::make_unique<CTableWidget>(kTableWidth, kTableHeight, kVisibleRows, columns);
    table->show();
    return table;
}

// Row n of the sample data: a time stamp growing with n, a text, a caption.
inline CTableWidget::Row SampleRow(int n)
{
    const std::string minute = std::to_string(10 + n % 50);
    return {"2020-10-27 15:" + minute + ":00", "row " + std::to_string(n), "view"};
}

inline void AppendRows(CTableWidget& table, int count, int first = 0)
{
    for (int n = first; n < first + count; ++n) {
        table.appendRow(SampleRow(n));
    }
}

// One wheel notch at `pos`: positive delta away from the user.
inline void Wheel(QWidget& widget, int delta, QPoint pos = QPoint(100, 100))
{
    QWheelEvent event(pos, widget.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

// A pointer move with no button held, delivered straight to the widget.
inline void Hover(QWidget& widget, QPoint pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, widget.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// Presses the left button at `from`, moves to `to`, releases there.
inline void Drag(QWidget& widget, QPoint from, QPoint to)
{
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&widget, to);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
}
