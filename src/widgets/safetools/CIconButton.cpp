#include "widgets/safetools/CIconButton.h"

#include "base_ui/tools/HiDpiPixmap.h"
#include "widgets/safetools/SafeToolsAccessibleFactory.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 60;
constexpr int kTitlePixels = 14;
constexpr int kSubTitlePixels = 12;
constexpr int kTextLeft = 59;
constexpr int kTextRightMargin = 65;
const QRect kDefaultIconRect(10, 10, 40, 40);

// The application font in `pixelSize` pixels.
QFont TextFont(int pixelSize)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    return font;
}

int TextHeight(const QString& text, const QFont& font)
{
    return QFontMetrics(font).boundingRect(text).height();
}

} // namespace

CIconButton::CIconButton(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_iconRect(kDefaultIconRect),
      m_titleRect(kTextLeft, 10, kWidth - kTextRightMargin, 14),
      m_subTitleRect(kTextLeft, 34, kWidth - kTextRightMargin, 14),
      m_wholeRect(0, 0, kWidth, kHeight), m_titleColor("#ffffff"), m_subTitleColor("#bbbdc4"),
      m_normalColor(21, 36, 69, 0), m_hoverColor("#182649"), m_borderColor("#154e8b")
{
    SafeToolsAccessibleFactory::install();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFixedSize(kWidth, kHeight);
}

void CIconButton::setIcon(const QString& path)
{
    m_icon = HiDpiPixmap::load(path);
    m_iconRect.setSize(m_icon.size());
}

void CIconButton::setTitle(const QString& title)
{
    m_title = title;
    m_titleRect.setHeight(TextHeight(title, TextFont(kTitlePixels)));
}

void CIconButton::setSubTitle(const QString& subTitle)
{
    m_subTitle = subTitle;
    m_subTitleRect.setHeight(TextHeight(subTitle, TextFont(kSubTitlePixels)));
}

void CIconButton::setTitleColor(const QColor& color)
{
    m_titleColor = color;
    update(m_titleRect);
}

void CIconButton::setSubTitleColor(const QColor& color)
{
    m_subTitleColor = color;
    update(m_subTitleRect);
}

void CIconButton::setHoverColor(const QColor& color)
{
    m_hoverColor = color;
}

void CIconButton::setBorderColor(const QColor& color)
{
    m_borderColor = color;
}

void CIconButton::setTitleOnly()
{
    m_titleRect = QRect(kTextLeft, 10, width() - kTextRightMargin, height() / 2 + 10);
    m_subTitle.clear();
}

void CIconButton::setButtonSize(int w, int h)
{
    setFixedSize(w, h);
    if (m_icon.isNull()) {
        m_iconRect = kDefaultIconRect;
        m_titleRect = QRect(kTextLeft, 14, w - kTextRightMargin, 13);
        m_subTitleRect = QRect(kTextLeft, 36, w - kTextRightMargin, 13);
    } else {
        m_iconRect = QRect(QPoint(10, (h - m_icon.height()) / 2), m_icon.size());
        const int textLeft = m_iconRect.x() + m_iconRect.width() + 14;
        const int textWidth = w - m_iconRect.x() - m_iconRect.width() - 5;
        m_titleRect = QRect(textLeft, m_iconRect.y(), textWidth, 13);
        m_subTitleRect = QRect(textLeft, m_iconRect.y() + 25, textWidth, 13);
    }
    m_wholeRect = QRect(0, 0, w, h);
    update();
}

void CIconButton::setNormalColor(int r, int g, int b)
{
    m_normalColor.setRgb(r, g, b, m_normalColor.alpha());
}

void CIconButton::mousePressEvent(QMouseEvent* /*event*/)
{
    m_state = StatePressed;
    update();
}

void CIconButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!m_wholeRect.contains(point)) {
        return;
    }
    m_state = StateReleased;
    emit clicked();
    emit clicked(mapToParent(point));
}

void CIconButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_wholeRect.contains(event->position().toPoint())) {
        m_state = (event->buttons() & Qt::LeftButton) ? StateDragged : StateHover;
    }
    update();
}

void CIconButton::enterEvent(QEnterEvent* /*event*/)
{
    // No repaint: mouse tracking delivers a move right after, which repaints.
    m_state = StateHover;
}

void CIconButton::leaveEvent(QEvent* /*event*/)
{
    m_state = StateNormal;
    update(m_wholeRect);
}

void CIconButton::paintEvent(QPaintEvent* /*event*/)
{
    const bool highlighted = m_state != StateNormal;
    const QColor& fill = highlighted ? m_hoverColor : m_normalColor;

    QPainter painter(this);
    painter.setPen(fill);
    painter.setBrush(fill);
    painter.drawRect(m_wholeRect);

    if (!m_iconRect.isEmpty()) {
        painter.drawPixmap(m_iconRect, m_icon);
    }

    painter.setFont(TextFont(kTitlePixels));
    painter.setPen(m_titleColor);
    painter.drawText(m_titleRect, Qt::AlignVCenter | Qt::AlignLeft, m_title);

    painter.setFont(TextFont(kSubTitlePixels));
    painter.setPen(m_subTitleColor);
    painter.drawText(m_subTitleRect, Qt::AlignVCenter | Qt::AlignLeft, m_subTitle);

    if (highlighted) {
        const int right = width() - 1;
        const int bottom = height() - 1;
        painter.setPen(m_borderColor);
        painter.drawLine(0, 0, right, 0);
        painter.drawLine(right, 0, right, bottom);
        painter.drawLine(right, bottom, 0, bottom);
        painter.drawLine(0, bottom, 0, 0);
    }
    m_focusMark.paint(painter, m_wholeRect.adjusted(1, 1, -1, -1));
}

void CIconButton::keyPressEvent(QKeyEvent* event)
{
    if (m_focusMark.keyPressed()) {
        update();
    }
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) {
        // Arrow keys go on to the grid.
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit clicked();
    emit clicked(mapToParent(m_wholeRect.center()));
}

void CIconButton::focusInEvent(QFocusEvent* event)
{
    if (m_focusMark.focusIn(event->reason())) {
        update();
    }
    QWidget::focusInEvent(event);
}

void CIconButton::focusOutEvent(QFocusEvent* event)
{
    if (m_focusMark.focusOut()) {
        update();
    }
    QWidget::focusOutEvent(event);
}
