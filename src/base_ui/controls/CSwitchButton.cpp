#include "base_ui/controls/CSwitchButton.h"

#include "base/Logging.h"
#include "base_ui/controls/BaseUiAccessibleFactory.h"
#include "base_ui/controls/CSkinPixmap.h"
#include "base_ui/controls/FocusFrame.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>

CSwitchButton::CSwitchButton(const QString& imagePath, QWidget* parent)
    : QWidget(parent), m_sprite(new CSkinPixmap(imagePath, this)),
      m_focusFrame(new FocusFrame(this))
{
    BaseUiAccessibleFactory::install();
    setFocusPolicy(Qt::StrongFocus);
    if (imagePath.isEmpty()) {
        LOG_WARN << "str_png_path.isEmpty(),invalid parameters.";
    }
    m_sprite->setFrameCount(m_frameCount);
    resize(m_sprite->size());
    setCursor(Qt::PointingHandCursor);
    // One step per timeout in the direction of the current state.
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_checked) {
            sltOnSelected();
        } else {
            sltOnUnSelected();
        }
    });
}

void CSwitchButton::setChecked(bool on)
{
    if (on == m_checked) {
        return;
    }
    m_checked = on;
    m_timer.stop();
    m_frame = on ? m_frameCount : 1;
    m_timer.start(m_interval);
    // Screen readers hear every change, a refused confirmation's too.
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void CSwitchButton::setFrameCount(int count)
{
    if (count < 1) {
        return;
    }
    m_frameCount = count;
    m_sprite->setFrameCount(count);
}

void CSwitchButton::setInterval(int milliseconds)
{
    m_interval = milliseconds;
}

void CSwitchButton::setClickable(bool clickable)
{
    m_clickable = clickable;
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

int CSwitchButton::shownFrame() const
{
    return m_sprite->currentFrame();
}

void CSwitchButton::sltOnSelected()
{
    --m_frame;
    if (m_frame > 0) {
        m_sprite->showFrame(m_frameCount, m_frame);
        m_timer.start(m_interval);
    } else {
        m_timer.stop();
    }
}

void CSwitchButton::sltOnUnSelected()
{
    ++m_frame;
    if (m_frame <= m_frameCount) {
        m_sprite->showFrame(m_frameCount, m_frame);
        m_timer.start(m_interval);
    } else {
        m_timer.stop();
    }
}

void CSwitchButton::mousePressEvent(QMouseEvent* /*event*/)
{
    toggleByUser();
}

void CSwitchButton::keyPressEvent(QKeyEvent* event)
{
    m_focusFrame->keyPressed();
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    toggleByUser();
    event->accept();
}

void CSwitchButton::focusInEvent(QFocusEvent* event)
{
    m_focusFrame->focusIn(event->reason());
    QWidget::focusInEvent(event);
}

void CSwitchButton::focusOutEvent(QFocusEvent* event)
{
    m_focusFrame->focusOut();
    QWidget::focusOutEvent(event);
}

void CSwitchButton::toggleByUser()
{
    if (!m_clickable) {
        return;
    }
    setChecked(!m_checked);
    emit clicked();
    emit clicked(m_checked);
}
