#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"

#include "base_ui/tools/CControlSetting.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

// Category titles of the sample records, in list order: program start,
// ransomware found, download update package, heartbeat, execute scan.
constexpr int kSampleTypes[] = {110000, 110100, 110200, 110300, 110400};
constexpr int kSamplesPerType = 5;
constexpr int kTextSampleTime = 100000010;
constexpr int kTextSampleAbout = 100000011;
constexpr int kTextSampleInfo = 100000012;

constexpr int kTrackWidth = 12;
constexpr int kHandleWidth = 10;
constexpr int kLayoutEveryMoves = 3;

} // namespace

CProgramDiaryListWidget::CProgramDiaryListWidget(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint)
{
    resize(700, 295);
    m_handleRect = QRectF(width() - kTrackWidth, 0, kHandleWidth, height());
    m_trackRect = QRect(width() - kTrackWidth, 0, kTrackWidth, height());

    for (int slot = 0; slot < kRowSlots; ++slot) {
        auto* row = new CProgramDiaryListItemWidget(this);
        row->move(0, slot * kRowHeight);
        row->hide();
        m_rows.push_back(row);
    }
    addSampleRecords();
}

void CProgramDiaryListWidget::addSampleRecords()
{
    const QString time = CControlSetting::Text(kTextSampleTime);
    const QString about = CControlSetting::Text(kTextSampleAbout);
    const QString info = CControlSetting::Text(kTextSampleInfo);
    for (const int type : kSampleTypes) {
        const QString title = CControlSetting::Text(type);
        for (int i = 0; i < kSamplesPerType; ++i) {
            addRecord({title, time, about, info});
        }
    }
}

int CProgramDiaryListWidget::recordCount() const
{
    return static_cast<int>(m_records.size());
}

void CProgramDiaryListWidget::addRecord(DiaryListRecord record)
{
    m_records.push_back(std::move(record));
    // The handle is sized for the content before this record.
    updateScrollBar();
    m_contentHeight = kRowHeight * recordCount();
    if (m_firstRecord == 0 && recordCount() >= kRowSlots) {
        update(m_trackRect);
    } else {
        layoutItems();
    }
}

void CProgramDiaryListWidget::slt_filterDataByTime(const QDateTime& /*time*/)
{}

int CProgramDiaryListWidget::lowestHandleTop() const
{
    return height() - m_handleHeight - 1;
}

void CProgramDiaryListWidget::updateScrollBar()
{
    if (m_contentHeight <= height()) {
        m_scrollBarShown = false;
        return;
    }
    m_scrollBarShown = true;
    m_handleHeight = std::max(kMinHandleHeight, height() * 100 / m_contentHeight);
    if (m_handleRect.top() >= height() - m_handleHeight) {
        m_handleRect.moveTop(lowestHandleTop());
    }
    m_handleRect.setHeight(m_handleHeight);
    m_scrollPercent = m_handleRect.top() * 100 / (height() - m_handleRect.height() - 1);
}

void CProgramDiaryListWidget::placeHandle(int top)
{
    m_handleRect.moveTop(top);
    m_handleRect.setHeight(m_handleHeight);
    m_scrollPercent = top * 100.0 / (height() - m_handleRect.height() - 1);
}

void CProgramDiaryListWidget::layoutItems()
{
    const int count = recordCount();
    if (count < kRowSlots) {
        m_firstRecord = 0;
        m_scrollBarShown = false;
        for (int slot = 0; slot < kRowSlots; ++slot) {
            CProgramDiaryListItemWidget* row = m_rows[slot];
            if (slot < count) {
                row->setData(m_records[slot], slot);
                row->move(0, kRowHeight * slot);
                row->show();
            } else {
                row->hide();
            }
        }
        update(m_trackRect);
        return;
    }

    m_scrollOffset = static_cast<int>((m_contentHeight - height()) * m_scrollPercent / 100);
    m_firstRecord = m_scrollOffset / kRowHeight;
    m_rowRemainder = m_scrollOffset % kRowHeight;
    m_rowsShown = m_rowRemainder != 0 ? kRowSlots : kRowSlots - 1;
    m_rows[kRowSlots - 1]->hide();
    m_scrollBarShown = true;
    for (int slot = 0; slot < m_rowsShown; ++slot) {
        CProgramDiaryListItemWidget* row = m_rows[slot];
        const int index = m_firstRecord + slot;
        row->move(0, slot * kRowHeight - m_rowRemainder);
        if (index >= 0 && index < count) {
            row->setData(m_records[index], index);
            row->show();
        } else {
            row->hide();
        }
    }
    update(m_trackRect);
}

void CProgramDiaryListWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_handleRect.contains(event->position())) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_moveCount = 0;
    m_dragging = true;
    m_dragOffset = static_cast<int>(event->position().y() - m_handleRect.top());
    event->accept();
}

void CProgramDiaryListWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || m_contentHeight <= height()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    ++m_moveCount;
    const int y = static_cast<int>(event->position().y());
    placeHandle(std::clamp(y - m_dragOffset, 0, lowestHandleTop()));
    update(m_trackRect);
    if (m_moveCount % kLayoutEveryMoves == 0) {
        layoutItems();
    }
    event->accept();
}

void CProgramDiaryListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    update();
    event->accept();
}

void CProgramDiaryListWidget::wheelEvent(QWheelEvent* event)
{
    if (recordCount() >= kRowSlots) {
        const int y = static_cast<int>(m_handleRect.top());
        const int top = event->angleDelta().y() < 0 ? std::min(y + kWheelStep, lowestHandleTop())
                                                    : std::max(y - kWheelStep, 0);
        placeHandle(top);
        update(m_trackRect);
    }
    layoutItems();
    event->accept();
}

void CProgramDiaryListWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QColor background(m_backgroundColor);
    painter.setPen(background);
    painter.setBrush(QBrush(background, Qt::SolidPattern));
    painter.drawRect(rect());

    if (m_scrollBarShown) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QBrush(QColor(m_handleBorderColor)), 1.0, Qt::SolidLine, Qt::SquareCap,
                            Qt::BevelJoin));
        painter.setBrush(QBrush(QColor(m_handleFillColor), Qt::SolidPattern));
        painter.drawRoundedRect(m_handleRect, 5.0, 4.0, Qt::AbsoluteSize);
    }
}
