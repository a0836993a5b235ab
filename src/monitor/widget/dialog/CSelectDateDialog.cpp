#include "monitor/widget/dialog/CSelectDateDialog.h"

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/tools/CControlSetting.h"
#include "monitor/widget/WeekendFormat.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QDate>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QTime>

namespace {

// String pool entries.
constexpr int kTextPrompt = 110508;
constexpr int kTextOneDay = 110509;
constexpr int kTextPeriod = 110510;
constexpr int kTextConfirm = 110516;
constexpr int kTextCancel = 110517;
constexpr int kTextTitle = 110518;
constexpr int kColourBody = 110603;
constexpr int kColourBand = 110609;
constexpr int kColourButtonText = 110610;
constexpr int kColourWeekend = 110611;

// Pixmap pool entries.
constexpr int kImageClose = 130000;
constexpr int kImageButton = 130001;

constexpr int kButtonPictures = 4;
constexpr int kTitleBandHeight = 41;
constexpr int kButtonTop = 255;
constexpr int kContentLeft = 42;

const char kDateEditName[] = "PROGRAM_DIARY_DATEEDIT";
const char kDateFormat[] = "yyyy/MM/dd";

QDateTime Midnight(const QDate& date)
{
    return QDateTime(date, QTime(0, 0));
}

} // namespace

CSelectDateDialog::CSelectDateDialog(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(320, 294);
    setMouseTracking(true);
    setAttribute(Qt::WA_StyledBackground);
    setAutoFillBackground(true);

    buildButtons();
    buildTexts();
    buildModes();
    m_beginEdit = addDateEdit(161);
    m_endEdit = addDateEdit(198);
    m_endEdit->hide();
}

void CSelectDateDialog::buildButtons()
{
    const QColor textColour(CControlSetting::Text(kColourButtonText));

    auto* ok = new CCommonButton(CControlSetting::Image(kImageButton), kButtonPictures, this);
    ok->setObjectName("SelectDateDialogOk");
    ok->setText(CControlSetting::Text(kTextConfirm));
    ok->setTextColor(textColour, CCommonButton::StateMarked);
    ok->adjustSize();
    ok->move(231, kButtonTop);
    connect(ok, &CCommonButton::clicked, this, &CSelectDateDialog::slot_okBtnClicked);

    auto* cancel = new CCommonButton(CControlSetting::Image(kImageButton), kButtonPictures, this);
    cancel->setObjectName("SelectDateDialogCancel");
    cancel->setText(CControlSetting::Text(kTextCancel));
    cancel->setTextColor(textColour, CCommonButton::StateMarked);
    cancel->adjustSize();
    cancel->move(151, kButtonTop);
    connect(cancel, &CCommonButton::clicked, this, &CSelectDateDialog::slot_cancelBtnClicked);

    auto* close = new CCommonButton(CControlSetting::Image(kImageClose), kButtonPictures, this);
    close->setObjectName("SelectDateDialogClose");
    close->move(width() - close->width() - 8, 8);
    connect(close, &CCommonButton::clicked, this, &CSelectDateDialog::slot_closeBtnClicked);
}

void CSelectDateDialog::buildTexts()
{
    auto* title = new QLabel(this);
    CControlSetting::Set_Label_Text(title, kTextTitle, 3);
    title->move(9, 14);

    auto* prompt = new QLabel(this);
    CControlSetting::Set_Label_Text(prompt, kTextPrompt, 3);
    prompt->move(kContentLeft, 80);
}

void CSelectDateDialog::buildModes()
{
    m_oneDayButton = new QRadioButton(this);
    CControlSetting::Set_Check_Box_Text(m_oneDayButton, kTextOneDay, 2);
    m_oneDayButton->move(kContentLeft, 113);
    m_oneDayButton->setChecked(true);

    m_periodButton = new QRadioButton(this);
    CControlSetting::Set_Check_Box_Text(m_periodButton, kTextPeriod, 2);
    m_periodButton->move(kContentLeft, 137);

    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->setExclusive(true);
    m_modeGroup->addButton(m_oneDayButton, ModeOneDay);
    m_modeGroup->addButton(m_periodButton, ModePeriod);
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &CSelectDateDialog::slot_change_mode);
}

QDateEdit* CSelectDateDialog::addDateEdit(int y)
{
    auto* edit = new QDateEdit(QDate::currentDate(), this);
    edit->setObjectName(kDateEditName);
    edit->setDisplayFormat(kDateFormat);
    edit->setCalendarPopup(true);
    formatWeekendsAsWeekdays(*edit->calendarWidget(),
                             QColor(CControlSetting::Text(kColourWeekend)));
    edit->move(kContentLeft, y);
    return edit;
}

template <typename EmitSignal>
void CSelectDateDialog::emitAndClose(EmitSignal emitSignal)
{
    const QPointer<CSelectDateDialog> self(this);
    emitSignal();
    if (self) {
        close();
    }
}

void CSelectDateDialog::slot_closeBtnClicked()
{
    emitAndClose([this] { emit sig_emptyDate(); });
}

void CSelectDateDialog::slot_change_mode(int id)
{
    m_endEdit->setVisible(id != ModeOneDay);
}

void CSelectDateDialog::slot_okBtnClicked()
{
    if (m_oneDayButton->isChecked()) {
        const QDateTime day = Midnight(m_beginEdit->date());
        emitAndClose([this, day] { emit sig_returndate(day, day); });
    } else if (m_periodButton->isChecked()) {
        const QDateTime begin = Midnight(m_beginEdit->date());
        const QDateTime end = Midnight(m_endEdit->date().addDays(1));
        if (begin <= end) {
            emitAndClose([this, begin, end] { emit sig_returndate(begin, end); });
        }
    }
}

void CSelectDateDialog::slot_cancelBtnClicked()
{
    emitAndClose([this] { emit sig_emptyDate(); });
}

void CSelectDateDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        slot_cancelBtnClicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSelectDateDialog::mousePressEvent(QMouseEvent* event)
{
    if (!m_drag.Press(*this, event)) {
        QDialog::mousePressEvent(event);
    }
}

void CSelectDateDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.Move(*this, event)) {
        QDialog::mouseMoveEvent(event);
    }
}

void CSelectDateDialog::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QColor body(CControlSetting::Text(kColourBody));
    painter.setPen(body);
    painter.setBrush(QBrush(body, Qt::SolidPattern));
    painter.drawRect(rect());

    const QColor band(CControlSetting::Text(kColourBand));
    painter.setPen(band);
    painter.setBrush(QBrush(band, Qt::SolidPattern));
    painter.drawRect(0, 0, width(), kTitleBandHeight);

    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(right, bottom, 0, bottom);
    painter.drawLine(0, bottom, 0, 0);
}
