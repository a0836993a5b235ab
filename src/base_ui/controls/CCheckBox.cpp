#include "base_ui/controls/CCheckBox.h"

#include "base_ui/tools/HiDpiPixmap.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Outline of the drawn box.
const QColor kBoxOutline("#8a96a3");
// The check mark drawn in a checked box.
const QString kCheckMark = QStringLiteral("\u221A");
// Room kept free right of the text.
constexpr int kTextRightMargin = 12;

} // namespace

CCheckBox::CCheckBox(QWidget* parent) : QWidget(parent)
{
    setFixedSize(m_width, m_height);
    setMouseTracking(true);
    m_font.setPixelSize(m_fontPixelSize);
    connect(this, &CCheckBox::signal_reset_Rect, this, &CCheckBox::slot_reset_DoubleRects);
    slot_reset_DoubleRects();
}

void CCheckBox::setText(const QString& text, const int* elideMode)
{
    m_displayText = text;
    m_fullText = text;
    m_font.setPixelSize(m_fontPixelSize);
    const QFontMetrics metrics(m_font);
    const int textWidth = metrics.horizontalAdvance(text);
    const int room = m_width - m_textX - kTextRightMargin;
    const QRect oldTextRect = m_textRect;
    if (textWidth <= room) {
        m_textRect.setWidth(textWidth + 2);
        m_elided = false;
    } else {
        m_elided = true;
        m_textRect.setWidth(room);
        const Qt::TextElideMode mode =
            (elideMode != nullptr && *elideMode != 0) ? Qt::ElideMiddle : Qt::ElideRight;
        m_displayText = metrics.elidedText(text, mode, room);
    }
    update(m_textRect.united(oldTextRect));
}

void CCheckBox::setCellSize(int width, int height)
{
    m_width = width;
    m_height = height;
    setFixedSize(width, height);
    m_boxY = (height - m_boxSize) / 2;
    m_textX = m_boxX + m_boxSize + m_spacing;
    m_textWidth = width - m_boxX - m_boxSize - m_spacing - 5;
    m_textHeight = height;
    m_boxRect = QRect(m_boxX, m_boxY, m_boxSize, m_boxSize);
    m_textRect = QRect(m_textX, m_textY, m_textWidth, m_textHeight);
    update();
}

void CCheckBox::setBoxX(int x)
{
    m_boxX = x;
    m_textX = x + m_boxSize + m_spacing;
    m_textWidth = m_width - x - m_boxSize - m_spacing;
    m_boxRect = QRect(m_boxX, m_boxY, m_boxSize, m_boxSize);
    m_textRect = QRect(m_textX, m_textY, m_textWidth, m_textHeight);
    update();
}

void CCheckBox::setSpacing(int spacing)
{
    m_spacing = spacing;
    emit signal_reset_Rect();
}

void CCheckBox::setChecked(bool checked)
{
    m_checked = checked;
    m_state = checked ? 1 : 0;
    update(m_boxRect);
}

void CCheckBox::setFontPixelSize(int pixels)
{
    m_fontPixelSize = pixels;
    m_font.setPixelSize(pixels);
    update();
}

void CCheckBox::setTextColor(const QString& color)
{
    m_textColor = color;
    update();
}

void CCheckBox::setImage(const QString& path)
{
    m_image = HiDpiPixmap::load(path);
    m_pixmapMode = true;
    update();
}

int CCheckBox::textRight() const
{
    return m_textX + QFontMetrics(m_font).horizontalAdvance(m_displayText);
}

void CCheckBox::slot_reset_DoubleRects()
{
    m_textX = m_boxX + m_boxSize + m_spacing;
    m_textWidth = m_width - m_boxX - m_boxSize - m_spacing - 5;
    m_boxRect = QRect(m_boxX, m_boxY, m_boxSize, m_boxSize);
    m_textRect = QRect(m_textX, m_textY, m_textWidth, m_textHeight);
    update();
}

int CCheckBox::frameOfState() const
{
    switch (m_state) {
    case 2:
        return 1;
    case 1:
        return 2;
    case 3:
        return 3;
    default:
        return 0;
    }
}

void CCheckBox::mousePressEvent(QMouseEvent* event)
{
    if (!m_interactive || !m_boxRect.contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    if (m_checked) {
        m_checked = false;
        m_state = 2;
        emit noChecked();
    } else {
        m_checked = true;
        m_state = 3;
        emit checked();
    }
    emit click();
    update(m_boxRect);
    event->accept();
}

void CCheckBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_interactive && m_boxRect.contains(event->position().toPoint())) {
        emit signal_text(m_fullText);
    }
}

void CCheckBox::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
    if (!m_interactive) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_hover = m_boxRect.contains(pos);
    if (m_hover) {
        m_state = m_checked ? 3 : 2;
    } else {
        m_state = m_checked ? 1 : 0;
    }
    if (m_textCursor) {
        setCursor(m_textRect.contains(pos) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    update(m_boxRect);
}

void CCheckBox::leaveEvent(QEvent* event)
{
    // The hover fill ends with the pointer leaving, in both drawing modes.
    m_hover = false;
    if (m_pixmapMode) {
        m_state = m_checked ? 1 : 0;
    }
    update(m_boxRect);
    QWidget::leaveEvent(event);
}

void CCheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_pixmapMode) {
        painter.drawPixmap(m_boxRect, m_image,
                           HiDpiPixmap::frameSource(m_image, 4, frameOfState()));
    } else {
        painter.setPen(kBoxOutline);
        painter.setBrush(m_hover ? QColor(m_hoverFillColor) : QColor(255, 255, 255, 0));
        painter.drawRect(m_boxRect);
        if (m_checked) {
            painter.setPen(QColor(0, 0, 0, 255));
            painter.setFont(m_font);
            painter.drawText(m_boxRect, Qt::AlignCenter, kCheckMark);
        }
    }
    painter.setPen(QColor(m_textColor));
    painter.setFont(m_font);
    painter.drawText(m_textRect, Qt::AlignLeft | Qt::AlignVCenter, m_displayText);
}
