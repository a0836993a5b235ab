#include "base_ui/controls/CSkinPixmap.h"

#include "base_ui/tools/HiDpiPixmap.h"

#include <QMouseEvent>
#include <QPainter>

CSkinPixmap::CSkinPixmap(const QString& imagePath, QWidget* parent)
    : QWidget(parent), m_image(HiDpiPixmap::load(imagePath)), m_imagePath(imagePath)
{
    fitToFrame();
}

void CSkinPixmap::setFrameCount(int count)
{
    if (count < 1) {
        return;
    }
    m_frameCount = count;
    fitToFrame();
}

bool CSkinPixmap::showFrame(int count, int index)
{
    if (count < 1 || index < 1 || index > count) {
        return false;
    }
    m_frameCount = count;
    m_currentFrame = index;
    fitToFrame();
    show();
    update(m_frameRect);
    return true;
}

void CSkinPixmap::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawPixmap(m_frameRect, m_image,
                       HiDpiPixmap::frameSource(m_image, m_frameCount, m_currentFrame - 1));
}

void CSkinPixmap::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void CSkinPixmap::fitToFrame()
{
    m_frameRect = QRect(QPoint(0, 0), HiDpiPixmap::frameSize(m_image, m_frameCount));
    resize(m_frameRect.size());
}
