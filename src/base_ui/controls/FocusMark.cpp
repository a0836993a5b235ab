#include "base_ui/controls/FocusMark.h"

#include <QColor>
#include <QPainter>
#include <QPen>

namespace {

// The accent blue of the page's links, visible on the white and the dark
// backgrounds of the painted controls.
const QColor kMarkColor("#0091f7");

bool fromKeyboard(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

} // namespace

bool FocusMark::focusIn(Qt::FocusReason reason)
{
    if (m_shown || !fromKeyboard(reason)) {
        return false;
    }
    m_shown = true;
    return true;
}

bool FocusMark::focusOut()
{
    const bool was = m_shown;
    m_shown = false;
    return was;
}

bool FocusMark::keyPressed()
{
    const bool was = m_shown;
    m_shown = true;
    return !was;
}

void FocusMark::paint(QPainter& painter, const QRect& area) const
{
    if (!m_shown || area.isEmpty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(kMarkColor, 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.restore();
}
