#include "base_ui/controls/CHeader.h"

#include "base/Logging.h"
#include "base_ui/controls/CCheckBox.h"
#include "base_ui/controls/ListPopupComboBox.h"
#include "base_ui/tools/HiDpiPixmap.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

const QString kAscendingImage = QStringLiteral("://images/asc.png");
const QString kDescendingImage = QStringLiteral("://images/desc.png");
const QColor kDragLineColor(138, 43, 236);
constexpr int kComboMinWidth = 100;
constexpr int kComboHeight = 26;
// Half-width of the grab area around a border, and its total width.
constexpr int kGripLeft = 8;
constexpr int kGripWidth = 17;
// Gap between a label and the sort indicator after it.
constexpr int kIndicatorGap = 4;

} // namespace

CHeader::CHeader(int width, int height, QWidget* parent)
    : QWidget(parent), m_width(width), m_height(height), m_font(QApplication::font())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(width, height);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QString("background-color:%1;").arg(m_backgroundColor));
    m_indicator = new QLabel(this);
    m_indicator->setStyleSheet("background:transparent;");
    m_indicator->hide();
    connect(this, &CHeader::signal_updateLabelPos, this, &CHeader::slt_updateLabelPos);
}

void CHeader::setColumnCount(int count)
{
    if (count < 1) {
        LOG_ERROR << L"invalid column count " << count;
        return;
    }
    for (Column& column : m_columns) {
        delete column.widget;
    }
    m_columns.assign(static_cast<size_t>(count), Column{});
    while (m_labels.size() < count) {
        m_labels.append(QString());
    }
    const int width = m_width / count;
    int x = 0;
    for (Column& column : m_columns) {
        column.left = x;
        column.width = width;
        column.right = x + width - 1;
        x = column.right + 1;
    }
    m_grips.assign(static_cast<size_t>(count - 1), QRect());
    rebuildGeometry();
}

void CHeader::setColumnWidth(int column, int width)
{
    const int count = columnCount();
    const int c = column - 1;
    if (!validColumn(c) || width < 0) {
        LOG_ERROR << L"invalid column " << column << L" or width " << width;
        return;
    }
    const size_t k = static_cast<size_t>(c);
    if (c < count - 1) {
        Column& next = m_columns[k + 1];
        // The next column keeps its right edge and at least no width.
        width = std::min(width, next.right - 1 - m_columns[k].left);
        m_columns[k].width = width;
        m_columns[k].right = m_columns[k].left + width;
        next.left = m_columns[k].right + 1;
        next.width = next.right - next.left;
    } else if (count == 1) {
        m_columns[k].width = std::min(width, m_width);
    } else {
        const Column& previous = m_columns[k - 1];
        m_columns[k].width =
            width > m_width - m_columns[k].right ? m_width - previous.right : width;
        m_columns[k].left = previous.right + 1;
    }
    rebuildGeometry();
    emit drag();
}

void CHeader::rebuildGeometry()
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        Column& column = m_columns[static_cast<size_t>(i)];
        if (i < count - 1) {
            m_grips[static_cast<size_t>(i)] =
                QRect(column.right - kGripLeft, 0, kGripWidth, m_height);
        }
        column.rect = QRect(column.left, 0, column.width, m_height);
        if (i == 0) {
            const int span = count > 1 ? m_columns[1].left - column.left : column.width;
            column.textRect =
                QRect(column.left + column.padding, 0, span - column.padding, m_height);
        } else {
            column.textRect =
                QRect(column.left + column.padding, 0, column.width - column.padding, m_height);
        }
    }
    placeEmbeddedWidgets();
    update();
}

void CHeader::placeEmbeddedWidgets()
{
    const QFontMetrics metrics(font());
    for (int i = 0; i < columnCount(); ++i) {
        const Column& column = m_columns[static_cast<size_t>(i)];
        if (column.checkBox != nullptr) {
            column.checkBox->setCellSize(column.width, m_height);
            column.checkBox->move(column.left, 0);
        } else if (column.widget != nullptr) {
            const int labelWidth = metrics.horizontalAdvance(m_labels.value(i));
            column.widget->move(column.textRect.x() + labelWidth + m_comboGap,
                                (m_height - kComboHeight) / 2);
        }
    }
}

void CHeader::setPadding(int column, int pixels)
{
    const int c = column - 1;
    if (!validColumn(c)) {
        return;
    }
    Column& target = m_columns[static_cast<size_t>(c)];
    if (pixels < 0 || pixels >= target.width) {
        return;
    }
    target.padding = pixels;
    rebuildGeometry();
}

void CHeader::setColumnAlignment(int column, int value)
{
    const int c = column - 1;
    if (!validColumn(c)) {
        return;
    }
    Column& target = m_columns[static_cast<size_t>(c)];
    target.alignFixed = true;
    target.alignValue = value;
    update();
}

void CHeader::setLabels(const QStringList& labels)
{
    m_labels = labels;
    while (m_labels.size() < columnCount()) {
        m_labels.append(QString());
    }
    for (int i = 0; i < columnCount(); ++i) {
        if (CCheckBox* box = m_columns[static_cast<size_t>(i)].checkBox) {
            box->setText(m_labels.value(i), nullptr);
        }
    }
    placeEmbeddedWidgets();
    update();
}

void CHeader::setLabelFontPixelSize(int pixels)
{
    if (pixels <= 0) {
        return;
    }
    m_font.setPixelSize(pixels);
    update();
}

void CHeader::setBackgroundColor(const QString& color)
{
    m_backgroundColor = color;
    setStyleSheet(QString("background-color:%1;").arg(color));
}

void CHeader::setTextColor(const QString& color)
{
    m_textColor = color;
    for (const Column& column : m_columns) {
        if (column.checkBox != nullptr) {
            column.checkBox->setTextColor(color);
        }
    }
    update();
}

void CHeader::setLineColor(const QString& color)
{
    m_lineColor = color;
    update();
}

void CHeader::setSortableColumns(const QList<int>& columns)
{
    for (const int column : columns) {
        const int c = column - 1;
        if (validColumn(c)) {
            m_columns[static_cast<size_t>(c)].sortable = true;
            m_sortEnabled = true;
        }
    }
}

void CHeader::setResizeEnabled(bool enabled)
{
    m_resizeEnabled = enabled;
}

void CHeader::setSortIndicatorShown(bool shown)
{
    m_indicator->setVisible(shown);
}

QComboBox* CHeader::addComboBox(int column)
{
    if (!validColumn(column)) {
        LOG_ERROR << L"no column " << column;
        return nullptr;
    }
    Column& target = m_columns[static_cast<size_t>(column)];
    if (auto* existing = qobject_cast<QComboBox*>(target.widget)) {
        return existing;
    }
    delete target.widget;
    auto* combo = new ListPopupComboBox(this);
    combo->setMinimumSize(kComboMinWidth, kComboHeight);
    combo->resize(kComboMinWidth, kComboHeight);
    target.widget = combo;
    target.checkBox = nullptr;
    target.hasWidget = false;
    placeEmbeddedWidgets();
    // A header not yet shown shows the combo box with itself. Showing it now
    // would polish it, and a style sheet its owner sets next would polish it
    // all over again.
    if (isVisible()) {
        combo->show();
    }
    return combo;
}

CCheckBox* CHeader::addCheckBox(int column)
{
    if (!validColumn(column)) {
        LOG_ERROR << L"no column " << column;
        return nullptr;
    }
    Column& target = m_columns[static_cast<size_t>(column)];
    if (target.checkBox != nullptr) {
        return target.checkBox;
    }
    delete target.widget;
    auto* box = new CCheckBox(this);
    box->setTextColor(m_textColor);
    box->setText(m_labels.value(column), nullptr);
    target.widget = box;
    target.checkBox = box;
    target.hasWidget = true;
    placeEmbeddedWidgets();
    box->show();
    update();
    return box;
}

QWidget* CHeader::columnWidget(int column) const
{
    return validColumn(column - 1) ? m_columns[static_cast<size_t>(column - 1)].widget : nullptr;
}

CCheckBox* CHeader::checkBox(int column) const
{
    return validColumn(column) ? m_columns[static_cast<size_t>(column)].checkBox : nullptr;
}

int CHeader::columnX(int column) const
{
    return validColumn(column) ? m_columns[static_cast<size_t>(column)].left : 0;
}

int CHeader::columnWidth(int column) const
{
    return validColumn(column) ? m_columns[static_cast<size_t>(column)].width : 0;
}

QRect CHeader::columnRect(int column) const
{
    return validColumn(column) ? m_columns[static_cast<size_t>(column)].rect : QRect();
}

QRect CHeader::textRect(int column) const
{
    return validColumn(column) ? m_columns[static_cast<size_t>(column)].textRect : QRect();
}

QRect CHeader::gripRect(int column) const
{
    return column >= 0 && column < static_cast<int>(m_grips.size())
               ? m_grips[static_cast<size_t>(column)]
               : QRect();
}

bool CHeader::sortFlag(int column) const
{
    return validColumn(column) && m_columns[static_cast<size_t>(column)].sortFlag;
}

void CHeader::slt_updateLabelPos(int column)
{
    if (!validColumn(column)) {
        return;
    }
    const Column& target = m_columns[static_cast<size_t>(column)];
    const int labelWidth = QFontMetrics(m_font).horizontalAdvance(m_labels.value(column));
    const int rightmost = target.left + target.width - m_indicator->width() - kIndicatorGap;
    const int x = std::max(target.left,
                           std::min(target.textRect.x() + labelWidth + kIndicatorGap, rightmost));
    m_indicator->move(x, (m_height - m_indicator->height()) / 2);
}

int CHeader::columnAt(const QPoint& pos) const
{
    for (int i = 0; i < columnCount(); ++i) {
        if (m_columns[static_cast<size_t>(i)].rect.contains(pos)) {
            return i;
        }
    }
    return -1;
}

int CHeader::gripAt(const QPoint& pos) const
{
    for (size_t i = 0; i < m_grips.size(); ++i) {
        if (m_grips[i].contains(pos)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CHeader::moveBorder(int border, int delta)
{
    Column& left = m_columns[static_cast<size_t>(border)];
    Column& right = m_columns[static_cast<size_t>(border + 1)];
    const int end = right.left + right.width;
    const int lowest = left.left + kMinDragWidth;
    const int highest = std::max(lowest, end - 1 - kMinDragWidth);
    const int edge = std::clamp(left.right + delta, lowest, highest);
    left.right = edge;
    left.width = edge - left.left;
    right.left = edge + 1;
    right.width = end - right.left;
}

void CHeader::sortByClick(int column)
{
    Column& target = m_columns[static_cast<size_t>(column)];
    const bool flag = target.sortFlag;
    emit signal_sort(column, flag);
    m_indicatorPath = flag ? kAscendingImage : kDescendingImage;
    m_indicator->setPixmap(HiDpiPixmap::load(m_indicatorPath));
    m_indicator->show();
    m_indicator->adjustSize();
    emit signal_updateLabelPos(column);
    target.sortFlag = !flag;
}

void CHeader::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_resizeEnabled) {
        const int grip = gripAt(pos);
        if (grip >= 0) {
            m_dragging = true;
            m_dragBorder = grip;
            m_dragStartX = pos.x();
            m_currentX = pos.x();
        } else {
            m_pressedColumn = columnAt(pos);
        }
        update();
        event->accept();
        return;
    }
    if (m_sortEnabled && event->button() == Qt::LeftButton) {
        const int column = columnAt(pos);
        if (column >= 0 && m_columns[static_cast<size_t>(column)].sortable) {
            sortByClick(column);
        }
    }
    event->ignore();
}

void CHeader::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging) {
        moveBorder(m_dragBorder, event->position().toPoint().x() - m_dragStartX);
        rebuildGeometry();
        emit drag();
    }
    m_dragging = false;
    m_dragBorder = -1;
    m_pressedColumn = -1;
    update();
}

void CHeader::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void CHeader::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_resizeEnabled) {
        m_gripHovered = gripAt(pos) >= 0;
        if (m_dragging) {
            m_currentX = pos.x();
            update();
        }
        setCursor(m_gripHovered || m_dragging ? Qt::SplitHCursor : Qt::ArrowCursor);
    } else {
        const int column = columnAt(pos);
        const bool sortable = column >= 0 && m_columns[static_cast<size_t>(column)].sortable;
        setCursor(sortable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    event->ignore();
}

void CHeader::paintDragLines(QPainter& painter) const
{
    if (m_dragging) {
        painter.setPen(QPen(kDragLineColor, 1, Qt::DashLine));
        const int border = m_columns[static_cast<size_t>(m_dragBorder)].right;
        painter.drawLine(border, 0, border, m_height);
        painter.drawLine(m_currentX, 0, m_currentX, m_height);
    } else if (m_pressedColumn >= 0) {
        const Column& column = m_columns[static_cast<size_t>(m_pressedColumn)];
        painter.setPen(QPen(kDragLineColor, 1, Qt::SolidLine));
        painter.drawLine(column.left, 0, column.left, m_height);
        painter.drawLine(column.right, 0, column.right, m_height);
    }
}

void CHeader::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(QColor(m_lineColor));
    painter.drawLine(0, m_height - 1, m_width, m_height - 1);
    painter.setPen(QColor(m_textColor));
    for (int i = 0; i < columnCount(); ++i) {
        const Column& column = m_columns[static_cast<size_t>(i)];
        if (column.hasWidget) {
            continue;
        }
        if (column.alignFixed) {
            const Qt::Alignment horizontal =
                column.alignValue == 1 ? Qt::AlignHCenter : Qt::AlignLeft;
            painter.drawText(column.rect, horizontal | Qt::AlignVCenter, m_labels.value(i));
        } else {
            painter.drawText(column.textRect, Qt::AlignLeft | Qt::AlignVCenter, m_labels.value(i));
        }
    }
    paintDragLines(painter);
}
