#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"

#include "base_ui/controls/CDetailMessageBox.h"
#include "base_ui/tools/CControlSetting.h"
#include "base_ui/tools/HiDpiPixmap.h"
#include "base_ui/tools/LabelFit.h"
#include "base_ui/utils/CommonUtils.h"
#include "monitor/widget/controlbyclass/CAboutLabel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

namespace {

// String pool entries.
constexpr int kTextProgramStart = 110000;
constexpr int kTextHeartbeat = 110300;
constexpr int kTextInfoLabel = 110512;
constexpr int kTextTypeLabel = 110513;
constexpr int kTextTimeLabel = 110514;
constexpr int kTextNumberLabel = 110515;
constexpr int kTextSeeButton = 110519;

// Pixmap pool entry.
constexpr int kImageBadge = 130004;

constexpr int kBadgeX = 10;
constexpr int kBadgeY = 14;
constexpr int kInfoWidth = 250;
constexpr int kTooltipWidth = 300;
constexpr int kAboutGap = 10;
constexpr int kAboutDrop = 5;

const char kRowColour[] = "#ffffff";
// The light blue of the diary's explanation band.
const char kSelectedRowColour[] = "#e3effe";
const char kTooltipSeparator[] = "\n";

} // namespace

CProgramDiaryListItemWidget::CProgramDiaryListItemWidget(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      m_badge(
          HiDpiPixmap::load(QString::fromStdString(CControlSetting::Get_Pixmap_Path(kImageBadge))))
{
    resize(685, 60);
    m_typeLabel = addLabel(kTextTypeLabel, 60, 14);
    m_timeLabel = addLabel(kTextTimeLabel, 60, 36);
    m_numberLabel = addLabel(kTextNumberLabel, 24, 34);
    m_infoLabel = addLabel(kTextInfoLabel, 208, 36);

    m_seeButton = new QPushButton(this);
    CControlSetting::Set_Btn_Style(m_seeButton, kTextSeeButton, 3);
    m_seeButton->move(510, 36);
    connect(m_seeButton, &QPushButton::clicked, this,
            &CProgramDiaryListItemWidget::OnBtnSeeClicked);

    m_aboutLabel = new CAboutLabel(this);
    m_aboutLabel->hide();
}

QLabel* CProgramDiaryListItemWidget::addLabel(int textId, int x, int y)
{
    auto* label = new QLabel(this);
    CControlSetting::Set_Label_Text(label, textId, 1);
    label->move(x, y);
    return label;
}

void CProgramDiaryListItemWidget::setData(const DiaryListRecord& record, int index)
{
    m_typeLabel->setText(record.type);
    LabelFit::toText(*m_typeLabel);
    m_typeLabel->show();
    m_timeLabel->setText(record.time);
    LabelFit::toText(*m_timeLabel);
    m_timeLabel->show();

    m_numberLabel->setText(QString::number(index + 1));
    LabelFit::toText(*m_numberLabel);
    const QSize badge = HiDpiPixmap::frameSize(m_badge, 1);
    m_numberLabel->move(kBadgeX + (badge.width() - m_numberLabel->width()) / 2,
                        kBadgeY + (badge.height() - m_numberLabel->height()) / 2);
    m_numberLabel->show();

    showInfo(record.info);
    m_about = record.about;
    m_category = record.category;
    m_id = record.id;
    m_programStart = record.type == CControlSetting::Text(kTextProgramStart);
    showAboutIcon(record.type == CControlSetting::Text(kTextHeartbeat));
}

void CProgramDiaryListItemWidget::showInfo(const QString& info)
{
    const QString elided = elideToWidth(info, kInfoWidth);
    if (elided.isEmpty()) {
        m_infoLabel->setText(info);
        m_infoLabel->setToolTip(QString());
    } else {
        m_infoLabel->setText(elided);
        m_infoLabel->setToolTip(
            CommonUtils::wrapTextByWidth(info, kTooltipWidth, fontMetrics(), kTooltipSeparator));
    }
    LabelFit::toText(*m_infoLabel);
}

void CProgramDiaryListItemWidget::showAboutIcon(bool heartbeat)
{
    if (!heartbeat) {
        m_aboutLabel->hide();
        return;
    }
    m_aboutLabel->setToolTip(
        CommonUtils::wrapTextByWidth(m_about, kTooltipWidth, fontMetrics(), kTooltipSeparator));
    m_aboutLabel->move(m_typeLabel->x() + m_typeLabel->width() + kAboutGap,
                       m_typeLabel->y() + kAboutDrop);
    m_aboutLabel->show();
}

QString CProgramDiaryListItemWidget::elideToWidth(const QString& text, int width) const
{
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(text) <= width) {
        return QString();
    }
    return metrics.elidedText(text, Qt::ElideRight, width);
}

void CProgramDiaryListItemWidget::OnBtnSeeClicked()
{
    if (m_id != 0) {
        emit sig_viewRecord(m_category, m_id);
        return;
    }
    if (!m_programStart) {
        return;
    }
    // The box may die with the row while it runs: the guard then is null.
    const QPointer<CDetailMessageBox> box = new CDetailMessageBox(this);
    box->exec();
    delete box.data();
}

void CProgramDiaryListItemWidget::setSelected(bool selected)
{
    if (selected != m_selected) {
        m_selected = selected;
        update();
    }
}

void CProgramDiaryListItemWidget::pressSeeButton()
{
    m_seeButton->click();
}

void CProgramDiaryListItemWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QColor background(m_selected ? kSelectedRowColour : kRowColour);
    painter.setPen(background);
    painter.setBrush(QBrush(background, Qt::SolidPattern));
    painter.drawRect(rect());
    painter.drawPixmap(kBadgeX, kBadgeY, m_badge);
}
