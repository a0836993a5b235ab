#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"

#include "base_ui/controls/FocusFrame.h"
#include "base_ui/controls/RowKeyNavigation.h"
#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/MonitorAccessibleFactory.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Category titles of the sample records and their categories, in list
// order: program start, ransomware found, download update package,
// heartbeat, execute scan.
constexpr struct
{
    int title;
    int category;
} kSampleTypes[] = {{110000, RecordCategory::kProgramStart},
                    {110100, RecordCategory::kRansomwareFound},
                    {110200, RecordCategory::kUpdatePackage},
                    {110300, RecordCategory::kHeartbeat},
                    {110400, RecordCategory::kExecuteScan}};
constexpr int kSamplesPerType = 5;
constexpr int kTextSampleTime = 100000010;
constexpr int kTextSampleAbout = 100000011;
constexpr int kTextSampleInfo = 100000012;

constexpr int kTrackWidth = 12;
constexpr int kHandleWidth = 10;
constexpr int kLayoutEveryMoves = 3;
// Fill and outline of the handle.
const char* const kHandleColor = "#bbe9ff";

} // namespace

CProgramDiaryListWidget::CProgramDiaryListWidget(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_focusFrame(new FocusFrame(this))
{
    MonitorAccessibleFactory::install();
    setFocusPolicy(Qt::StrongFocus);
    resize(700, 295);
    m_handle.setTrack(width() - kTrackWidth, kHandleWidth, 0, height() - 1);
    m_handle.setHeight(height());
    m_handle.setColors(QColor(kHandleColor), QColor(kHandleColor));
    m_handle.setRadii(5.0, 4.0);
    m_trackRect = QRect(width() - kTrackWidth, 0, kTrackWidth, height());

    for (int slot = 0; slot < kRowSlots; ++slot) {
        auto* row = new CProgramDiaryListItemWidget(this);
        row->move(0, slot * kRowHeight);
        row->hide();
        connect(row, &CProgramDiaryListItemWidget::sig_viewRecord, this,
                &CProgramDiaryListWidget::recordViewRequested);
        m_rows.push_back(row);
    }
    addSampleRecords();
}

void CProgramDiaryListWidget::addSampleRecords()
{
    const QString time = CControlSetting::Text(kTextSampleTime);
    const QString about = CControlSetting::Text(kTextSampleAbout);
    const QString info = CControlSetting::Text(kTextSampleInfo);
    for (const auto& type : kSampleTypes) {
        const QString title = CControlSetting::Text(type.title);
        for (int i = 0; i < kSamplesPerType; ++i) {
            DiaryListRecord record{title, time, about, info};
            record.category = type.category;
            appendRecord(std::move(record));
        }
    }
    // One layout for the whole set: the rows show what a layout after each
    // record would leave them showing.
    layoutItems();
}

int CProgramDiaryListWidget::recordCount() const
{
    return static_cast<int>(m_records.size());
}

void CProgramDiaryListWidget::appendRecord(DiaryListRecord record)
{
    m_records.push_back(std::move(record));
    // The handle is sized for the content before this record.
    updateScrollBar();
    m_contentHeight = kRowHeight * recordCount();
}

void CProgramDiaryListWidget::addRecord(DiaryListRecord record)
{
    appendRecord(std::move(record));
    if (m_firstRecord == 0 && recordCount() >= kRowSlots) {
        update(m_trackRect);
    } else {
        layoutItems();
    }
}

void CProgramDiaryListWidget::setRecords(std::vector<DiaryListRecord> records)
{
    const bool anchored = m_scrollOffset > 0 && m_firstRecord < recordCount();
    const DiaryListRecord* anchor = anchored ? &m_records[m_firstRecord] : nullptr;
    const int anchorCategory = anchored ? anchor->category : 0;
    const qint64 anchorId = anchored ? anchor->id : 0;
    const int anchorShift = m_scrollOffset - m_firstRecord * kRowHeight;
    const bool selected = m_selected >= 0;
    const int selectedCategory = selected ? m_records[m_selected].category : 0;
    const qint64 selectedId = selected ? m_records[m_selected].id : 0;

    m_records = std::move(records);
    m_contentHeight = kRowHeight * recordCount();
    m_selected = selected ? indexOf(selectedCategory, selectedId) : -1;
    updateScrollBar();
    const int anchorIndex = anchored ? indexOf(anchorCategory, anchorId) : -1;
    if (anchorIndex >= 0) {
        scrollToOffset(anchorIndex * kRowHeight + anchorShift);
    } else {
        // A record in view that has gone leaves the scroll position alone.
        scrollToOffset(anchored ? m_scrollOffset : 0);
    }
    layoutItems();
    if (QAccessible::isActive()) {
        // Screen readers read the items anew: their records changed places.
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

int CProgramDiaryListWidget::indexOf(int category, qint64 id) const
{
    const auto found = std::find_if(m_records.begin(), m_records.end(), [&](const auto& record) {
        return record.category == category && record.id == id;
    });
    return found == m_records.end() ? -1 : static_cast<int>(found - m_records.begin());
}

void CProgramDiaryListWidget::scrollToOffset(int offset)
{
    const int scrollable = m_contentHeight - height();
    if (offset <= 0 || scrollable <= 0) {
        m_scrollPercent = 0;
        m_scrollOffset = 0;
        m_handle.moveToStart();
        return;
    }
    // Half a pixel more, so that layoutItems' truncation lands on `offset`.
    m_scrollPercent = std::min(100.0, (std::min(offset, scrollable) + 0.5) * 100.0 / scrollable);
    const int range = m_handle.lowestTop() - m_handle.firstTop();
    m_handle.moveTo(m_handle.firstTop() +
                    static_cast<int>(std::lround(range * m_scrollPercent / 100)));
    update(m_trackRect);
}

void CProgramDiaryListWidget::slt_filterDataByTime(const QDateTime& /*time*/)
{}

void CProgramDiaryListWidget::updateScrollBar()
{
    if (m_contentHeight <= height()) {
        m_scrollBarShown = false;
        return;
    }
    m_scrollBarShown = true;
    // A handle that no longer fits moves up to the lowest top.
    m_handle.setHeight(height() * 100 / m_contentHeight, kMinHandleHeight);
    handleMoved();
}

void CProgramDiaryListWidget::handleMoved()
{
    m_scrollPercent = m_handle.percent();
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
                row->setSelected(slot == m_selected);
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
            row->setSelected(index == m_selected);
            row->show();
        } else {
            row->hide();
        }
    }
    update(m_trackRect);
}

void CProgramDiaryListWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_handle.press(event->position())) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_moveCount = 0;
    event->accept();
}

void CProgramDiaryListWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_handle.isDragging() || m_contentHeight <= height()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    ++m_moveCount;
    m_handle.dragTo(event->position().y());
    handleMoved();
    update(m_trackRect);
    if (m_moveCount % kLayoutEveryMoves == 0) {
        layoutItems();
    }
    event->accept();
}

void CProgramDiaryListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    m_handle.release();
    update();
    event->accept();
}

void CProgramDiaryListWidget::wheelEvent(QWheelEvent* event)
{
    if (recordCount() >= kRowSlots) {
        m_handle.wheel(event->angleDelta().y(), kWheelStep);
        handleMoved();
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
        m_handle.paint(painter);
    }
}

bool CProgramDiaryListWidget::selectRecord(int index)
{
    if (index < 0 || index >= recordCount()) {
        return false;
    }
    m_selected = index;
    scrollToRecord(index);
    layoutItems();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Selection);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }
    return true;
}

void CProgramDiaryListWidget::clearSelection()
{
    m_selected = -1;
    layoutItems();
}

CProgramDiaryListItemWidget* CProgramDiaryListWidget::rowOf(int index) const
{
    const int slot = index - m_firstRecord;
    if (index < 0 || index >= recordCount() || slot < 0 || slot >= m_rowsShown) {
        return nullptr;
    }
    CProgramDiaryListItemWidget* const row = m_rows[static_cast<size_t>(slot)];
    return row->isHidden() ? nullptr : row;
}

void CProgramDiaryListWidget::scrollToRecord(int index)
{
    const int scrollable = m_contentHeight - height();
    if (recordCount() < kRowSlots || scrollable <= 0) {
        return;
    }
    const int top = index * kRowHeight;
    const int bottom = top + kRowHeight;
    int offset = m_scrollOffset;
    if (top < offset) {
        offset = top;
    } else if (bottom > offset + height()) {
        offset = bottom - height();
    } else {
        return;
    }
    scrollToOffset(offset);
}

bool CProgramDiaryListWidget::pressSelectedSeeButton()
{
    if (m_selected < 0) {
        return false;
    }
    scrollToRecord(m_selected);
    layoutItems();
    CProgramDiaryListItemWidget* const row = rowOf(m_selected);
    if (row == nullptr) {
        return false;
    }
    row->pressSeeButton();
    return true;
}

bool CProgramDiaryListWidget::copySelectedRecord() const
{
    if (m_selected < 0) {
        return false;
    }
    const DiaryListRecord& record = m_records[static_cast<size_t>(m_selected)];
    QGuiApplication::clipboard()->setText(
        QStringList{record.type, record.time, record.info}.join(QLatin1Char('\t')));
    return true;
}

void CProgramDiaryListWidget::keyPressEvent(QKeyEvent* event)
{
    m_focusFrame->keyPressed();
    bool handled = false;
    if (event->matches(QKeySequence::Copy)) {
        handled = copySelectedRecord();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
               event->key() == Qt::Key_Space) {
        handled = pressSelectedSeeButton();
    } else {
        const int target = RowKeyNavigation::target(event->key(), m_selected, recordCount(),
                                                    kRowSlots - 1, m_firstRecord);
        handled = target >= 0 && selectRecord(target);
    }
    if (handled) {
        event->accept();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void CProgramDiaryListWidget::focusInEvent(QFocusEvent* event)
{
    m_focusFrame->focusIn(event->reason());
    QWidget::focusInEvent(event);
}

void CProgramDiaryListWidget::focusOutEvent(QFocusEvent* event)
{
    m_focusFrame->focusOut();
    QWidget::focusOutEvent(event);
}
