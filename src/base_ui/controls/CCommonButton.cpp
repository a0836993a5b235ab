#include "base_ui/controls/CCommonButton.h"

#include "base/Logging.h"
#include "base_ui/controls/BaseUiAccessibleFactory.h"
#include "base_ui/tools/HiDpiPixmap.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

bool IsKnownState(int state)
{
    switch (state) {
    case CCommonButton::StateNormal:
    case CCommonButton::StatePressed:
    case CCommonButton::StateReleased:
    case CCommonButton::StateHover:
    case CCommonButton::StateDisabled:
    case CCommonButton::StateMarked:
        return true;
    default:
        return false;
    }
}

QFont DefaultFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(12);
    font.setWeight(QFont::Light);
    return font;
}

} // namespace

CCommonButton::CCommonButton(const QString& imagePath, int pictureCount, QWidget* parent)
    : QWidget(parent), m_font(DefaultFont()), m_textColor("#ffffff"),
      m_pictureCount(pictureCount < 1 ? 1 : pictureCount)
{
    BaseUiAccessibleFactory::install();
    // A tab stop that a click does not focus.
    setFocusPolicy(Qt::TabFocus);
    if (pictureCount < 1) {
        LOG_WARN << "picture count " << pictureCount << " taken as 1.";
    }
    if (!imagePath.isEmpty()) {
        setMouseTracking(true);
        setImage(imagePath);
    }
}

void CCommonButton::setImage(const QString& imagePath)
{
    m_strip = HiDpiPixmap::load(imagePath);
    m_buttonRect = QRect(QPoint(0, 0), HiDpiPixmap::frameSize(m_strip, m_pictureCount));
    resize(m_buttonRect.size());
    update();
}

void CCommonButton::setOverlay(State state, const QPixmap& overlay)
{
    switch (state) {
    case StateNormal:
    case StateReleased:
        m_overlayNormal = overlay;
        break;
    case StatePressed:
        m_overlayPressed = overlay;
        break;
    case StateHover:
    case StateMarked:
        m_overlayHover = overlay;
        break;
    case StateDisabled:
        m_overlayDisabled = overlay;
        break;
    }
    update();
}

void CCommonButton::setText(const QString& text)
{
    m_text = text;
    update();
}

void CCommonButton::setTextColor(const QColor& color, int state)
{
    m_textColor = color;
    setState(state);
}

void CCommonButton::setState(int state)
{
    if (!IsKnownState(state)) {
        LOG_WARN << "unknown button state " << state << " ignored.";
        return;
    }
    m_state = state;
    applyCursor();
    update();
}

void CCommonButton::setFixedToPicture(bool fixed)
{
    m_fixedSize = fixed;
    if (!m_strip.isNull()) {
        resize(m_buttonRect.size());
    }
}

QSize CCommonButton::sizeHint() const
{
    return m_strip.isNull() ? QWidget::sizeHint() : m_buttonRect.size();
}

void CCommonButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (m_strip.isNull()) {
        painter.setPen(placeholderColor());
        painter.setBrush(placeholderColor());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    } else {
        const int index = pictureIndex();
        if (index >= 0) {
            painter.drawPixmap(m_buttonRect, m_strip,
                               HiDpiPixmap::frameSource(m_strip, m_pictureCount, index));
        }
    }
    const QPixmap& picture = overlay();
    if (!picture.isNull()) {
        painter.drawPixmap(0, 0, picture);
    }
    if (!m_text.isEmpty()) {
        painter.setFont(m_font);
        painter.setPen(m_textColor);
        painter.drawText(m_strip.isNull() ? rect() : m_buttonRect, Qt::AlignCenter, m_text);
    }
    m_focusMark.paint(painter, rect());
}

void CCommonButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_fixedSize && !m_strip.isNull() && size() != m_buttonRect.size()) {
        resize(m_buttonRect.size());
    }
}

void CCommonButton::mousePressEvent(QMouseEvent* /*event*/)
{
    if (m_state == StateDisabled) {
        return;
    }
    m_fixedSize = false;
    setState(StatePressed);
}

void CCommonButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_state == StateDisabled || event->button() != Qt::LeftButton) {
        return;
    }
    setState(StateReleased);
    if (rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void CCommonButton::keyPressEvent(QKeyEvent* event)
{
    if (m_focusMark.keyPressed()) {
        update();
    }
    const int key = event->key();
    if (m_state == StateDisabled ||
        (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit clicked();
}

void CCommonButton::focusInEvent(QFocusEvent* event)
{
    if (m_focusMark.focusIn(event->reason())) {
        update();
    }
    QWidget::focusInEvent(event);
}

void CCommonButton::focusOutEvent(QFocusEvent* event)
{
    if (m_focusMark.focusOut()) {
        update();
    }
    QWidget::focusOutEvent(event);
}

void CCommonButton::enterEvent(QEnterEvent* /*event*/)
{
    if (m_state != StateDisabled) {
        setState(StateHover);
    }
}

void CCommonButton::leaveEvent(QEvent* /*event*/)
{
    if (m_state != StateDisabled) {
        setState(StateNormal);
    }
}

int CCommonButton::pictureIndex() const
{
    int index = 0;
    switch (m_state) {
    case StatePressed:
        index = m_pictureCount > 2 ? 2 : (m_pictureCount == 2 ? 1 : -1);
        break;
    case StateHover:
    case StateMarked:
        index = 1;
        break;
    case StateDisabled:
        index = m_pictureCount == 4 ? 3 : 2;
        break;
    default:
        break;
    }
    // A strip with fewer pictures has nothing to show for that state.
    return index < m_pictureCount ? index : -1;
}

const QPixmap& CCommonButton::overlay() const
{
    switch (m_state) {
    case StatePressed:
        return m_overlayPressed;
    case StateHover:
    case StateMarked:
        return m_overlayHover;
    case StateDisabled:
        return m_overlayDisabled;
    default:
        return m_overlayNormal;
    }
}

QColor CCommonButton::placeholderColor() const
{
    switch (m_state) {
    case StatePressed:
        return Qt::red;
    case StateHover:
    case StateMarked:
        return Qt::black;
    case StateDisabled:
        return Qt::green;
    default:
        return Qt::blue;
    }
}

void CCommonButton::applyCursor()
{
    switch (m_state) {
    case StatePressed:
    case StateHover:
    case StateMarked:
        setCursor(Qt::PointingHandCursor);
        break;
    case StateDisabled:
        setCursor(Qt::ArrowCursor);
        break;
    default:
        break;
    }
}
