#include "widgets/safetools/ToolsWidget.h"

#include "base/Logging.h"
#include "base_ui/utils/CommonUtils.h"
#include "widgets/safetools/CIconButton.h"
#include "widgets/safetools/CKoSafeToolsPool.h"

#include <QKeyEvent>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kButtonsPerRow = 3;
constexpr int kButtonHeight = 60;
constexpr int kRowSpacing = 10;

} // namespace

ToolsWidget::ToolsWidget(QWidget* parent) : QWidget(parent)
{}

void ToolsWidget::setButtonStyle(const QString& titleColor, const QString& subTitleColor,
                                 const QString& hoverColor, const QString& borderColor,
                                 bool titleOnly, int spacing)
{
    m_titleColor = QColor(titleColor);
    m_subTitleColor = QColor(subTitleColor);
    m_hoverColor = QColor(hoverColor);
    m_borderColor = QColor(borderColor);
    m_titleOnly = titleOnly;
    m_spacing = spacing;
}

void ToolsWidget::initShow(const QString& ids)
{
    if (ids.isEmpty()) {
        LOG_ERROR << "tools widget is NULL!";
        return;
    }
    const QStringList parts = ids.split(',', Qt::KeepEmptyParts);
    const CKoSafeToolsPool& catalogue = CKoSafeToolsPool::Get();
    QPoint position(0, 0);
    for (int index = 0; index < parts.size(); ++index) {
        const QString& id = parts[index];
        if (id.isEmpty()) {
            continue;
        }
        const auto item = catalogue.Find(id.toStdString());
        if (!item) {
            LOG_ERROR << "no catalogue entry for id " << id.toStdString() << ", no button.";
            continue;
        }
        CIconButton* button = createButton(QString::fromStdString(item->showText),
                                           QString::fromStdString(item->imgPath));
        position = nextPosition(index, position, button->size());
        button->move(position);
        m_buttons.push_back({button, id});
    }
    const int rows = (static_cast<int>(m_buttons.size()) + kButtonsPerRow - 1) / kButtonsPerRow;
    const int gridWidth = parentWidget() != nullptr ? parentWidget()->width() : width();
    resize(gridWidth, rows == 0 ? 0 : rows * kButtonHeight + (rows - 1) * kRowSpacing);
}

CIconButton* ToolsWidget::createButton(const QString& showText, const QString& imgPath)
{
    auto* button = new CIconButton(this);
    button->setIcon(imgPath);
    const QStringList texts = showText.split(',', Qt::KeepEmptyParts);
    button->setTitle(texts.value(0));
    if (texts.size() > 1) {
        button->setSubTitle(texts[1]);
    }
    button->setTitleColor(m_titleColor);
    button->setSubTitleColor(m_subTitleColor);
    if (m_titleOnly) {
        button->setTitleOnly();
    }
    button->setHoverColor(m_hoverColor);
    button->setBorderColor(m_borderColor);
    button->setCursor(Qt::PointingHandCursor);
    connect(button, qOverload<QPoint>(&CIconButton::clicked), this, &ToolsWidget::onBtnTools);
    button->show();
    return button;
}

// Index 0 starts the grid; other indices that are multiples of three start
// a new row; the rest follow the previous button in its row.
QPoint ToolsWidget::nextPosition(int index, const QPoint& previous, const QSize& buttonSize) const
{
    if (index == 0) {
        return QPoint(0, 0);
    }
    if (index % kButtonsPerRow != 0) {
        return QPoint(previous.x() + buttonSize.width() + m_spacing, previous.y());
    }
    return QPoint(0, previous.y() + buttonSize.height() + kRowSpacing);
}

void ToolsWidget::onBtnTools(QPoint pt)
{
    for (const Button& entry : m_buttons) {
        const QRect geometry = entry.button->geometry();
        // Bounds are inclusive on all four sides.
        if (pt.x() < geometry.x() || pt.x() > geometry.x() + geometry.width() ||
            pt.y() < geometry.y() || pt.y() > geometry.y() + geometry.height()) {
            continue;
        }
        const auto item = CKoSafeToolsPool::Get().Find(entry.id.toStdString());
        if (!item) {
            return;
        }
        emit sigToolButtonClicked(item->id);
        LOG_TRACE << "This clicked cmd is :" << item->FileName;
        CommonUtils::startDetachedTool(QString::fromStdString(item->FileName), QString());
        return;
    }
}

// The grid draws nothing: the page behind it shows through between buttons.
void ToolsWidget::paintEvent(QPaintEvent* /*event*/)
{}

int ToolsWidget::neighbour(int from, int key) const
{
    const int count = static_cast<int>(m_buttons.size());
    if (key == Qt::Key_Left) {
        return from > 0 ? from - 1 : -1;
    }
    if (key == Qt::Key_Right) {
        return from + 1 < count ? from + 1 : -1;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down) {
        return -1;
    }
    const QRect start = m_buttons[static_cast<size_t>(from)].button->geometry();
    int best = -1;
    QPoint bestDistance;
    for (int i = 0; i < count; ++i) {
        const QRect other = m_buttons[static_cast<size_t>(i)].button->geometry();
        const int dy = other.top() - start.top();
        if ((key == Qt::Key_Up && dy >= 0) || (key == Qt::Key_Down && dy <= 0)) {
            continue;
        }
        // The nearest row first, then the nearest column in it.
        const QPoint distance(std::abs(dy), std::abs(other.left() - start.left()));
        if (best < 0 || distance.x() < bestDistance.x() ||
            (distance.x() == bestDistance.x() && distance.y() < bestDistance.y())) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void ToolsWidget::keyPressEvent(QKeyEvent* event)
{
    const auto focused = std::find_if(m_buttons.begin(), m_buttons.end(),
                                      [](const Button& entry) { return entry.button->hasFocus(); });
    const int to = focused == m_buttons.end()
                       ? -1
                       : neighbour(static_cast<int>(focused - m_buttons.begin()), event->key());
    if (to < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_buttons[static_cast<size_t>(to)].button->setFocus(Qt::TabFocusReason);
    event->accept();
}
