#include "base_ui/controls/CInfoMessageBox.h"

#include "base/Logging.h"
#include "base_ui/controls/CCommonButton.h"
#include "base_ui/tools/CControlSetting.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

// String pool entries.
constexpr int kTextCaption = 5000;
constexpr int kTextWarning = 5002;
constexpr int kTextNotice = 5003;
constexpr int kTextAccept = 5004;
constexpr int kTextReject = 5005;
constexpr int kTextWrongPasswd = 5006;
constexpr int kTextFilePrefix = 2011;
constexpr int kColourTitleBand = 5022;
constexpr int kColourBody = 5023;
constexpr int kColourButtonText = 5024;
constexpr int kCloseStates = 5025;
constexpr int kCloseRightOffset = 5026;
constexpr int kCloseTop = 5027;
constexpr int kColourFrame = 5028;

// Pixmap pool entries.
constexpr int kImageWindowIcon = 5000;
constexpr int kImageClose = 5001;
constexpr int kImageAccept = 5002;
constexpr int kImageReject = 5003;
constexpr int kImageLock = 5004;
constexpr int kImageExclamation = 5008;
constexpr int kImageFailure = 5009;
constexpr int kImageSuccess = 5010;
constexpr int kImageQuestion = 5011;
constexpr int kImageUser = 5012;

constexpr int kTitleBandHeight = 40;
constexpr int kButtonPictures = 4;

int IconImage(int type)
{
    switch (type) {
    case CInfoMessageBox::IconSuccess:
        return kImageSuccess;
    case CInfoMessageBox::IconFailure:
        return kImageFailure;
    case CInfoMessageBox::IconQuestion:
        return kImageQuestion;
    default:
        return kImageExclamation;
    }
}

} // namespace

CInfoMessageBox::CInfoMessageBox(int mode, const QString& text, const QString& secondText,
                                 QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint)
{
    setWindowTitle(CControlSetting::Text(kTextCaption));
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowIcon(QIcon(CControlSetting::Image(kImageWindowIcon)));
    switch (mode) {
    case ModeWarning:
    case ModeNotice:
        buildTwoButtons(static_cast<Mode>(mode), text, secondText);
        break;
    case ModePassword:
        buildPassword(text, secondText);
        break;
    default:
        break;
    }
    if (parent == nullptr) {
        centreOnPrimaryScreen();
    }
}

void CInfoMessageBox::buildTwoButtons(Mode mode, const QString& text, const QString& secondText)
{
    m_closeResult = 0;
    resize(420, 207);

    CCommonButton* close = addCloseButton(CControlSetting::Get_Int(kCloseStates),
                                          CControlSetting::Get_Int(kCloseRightOffset),
                                          CControlSetting::Get_Int(kCloseTop));
    connect(close, &CCommonButton::clicked, this, &CInfoMessageBox::onBtlCloseClicked);

    addTitle(mode == ModeNotice ? kTextNotice : kTextWarning);

    m_iconLabel = new QLabel(this);
    CControlSetting::Set_Label_Pixmap(m_iconLabel, kImageExclamation);
    m_iconLabel->move(40, 83);

    m_messageLabel = new QLabel(text, this);
    if (secondText.trimmed().isEmpty()) {
        m_messageLabel->setObjectName("ListItemLabelState");
        m_messageLabel->adjustSize();
        const int lineHeight = m_messageLabel->height();
        m_messageLabel->setWordWrap(true);
        m_messageLabel->setGeometry(90, 75, 315, 3 * lineHeight);
    } else {
        m_messageLabel->setObjectName("ListItemLabelStateTitle");
        m_messageLabel->adjustSize();
        m_messageLabel->move(90, 75);
    }

    m_infoLabel = new QLabel(secondText, this);
    m_infoLabel->setWordWrap(true);
    m_infoLabel->setObjectName("InfoContent");
    m_infoLabel->setGeometry(m_messageLabel->x(), m_messageLabel->y() + m_messageLabel->height(),
                             315, 36);

    addDialogButtons();
    connect(m_acceptButton, &CCommonButton::clicked, this, &QDialog::accept);
}

void CInfoMessageBox::buildPassword(const QString& prompt, const QString& placeholder)
{
    resize(400, 256);

    CCommonButton* close = addCloseButton(3, 41, 1);
    connect(close, &CCommonButton::clicked, this, &QDialog::reject);

    addTitle(kTextCaption);

    auto* promptLabel = new QLabel(prompt, this);
    promptLabel->setObjectName("PasswdContent");
    promptLabel->setWordWrap(true);
    promptLabel->setAlignment(Qt::AlignCenter);
    promptLabel->setGeometry(40, 68, 325, 40);

    m_passwdEdit = new QLineEdit(this);
    m_passwdEdit->setObjectName("LineEditPasswd");
    m_passwdEdit->setGeometry(promptLabel->x(), promptLabel->y() + promptLabel->height() + 15, 325,
                              40);
    m_passwdEdit->setPlaceholderText(placeholder);
    m_passwdEdit->setTextMargins(30, 0, 0, 0);
    m_passwdEdit->setEchoMode(QLineEdit::Password);
    connect(m_passwdEdit, &QLineEdit::returnPressed, this, &CInfoMessageBox::onPasswdDoneClicked);

    auto* lock = new QLabel(this);
    CControlSetting::Set_Label_Pixmap(lock, kImageLock);
    lock->move(m_passwdEdit->x() + 10, m_passwdEdit->y() + 12);

    m_wrongPasswdLabel = new QLabel(this);
    CControlSetting::Set_Label_Text(m_wrongPasswdLabel, kTextWrongPasswd, 3);
    m_wrongPasswdLabel->move(m_passwdEdit->x(), m_passwdEdit->y() + m_passwdEdit->height() + 10);
    m_wrongPasswdLabel->hide();

    addDialogButtons();
    connect(m_acceptButton, &CCommonButton::clicked, this, &CInfoMessageBox::onPasswdDoneClicked);
    m_acceptButton->setFocus();
}

void CInfoMessageBox::addTitle(int textId)
{
    m_titleLabel = new QLabel(this);
    CControlSetting::Set_Label_Text(m_titleLabel, textId, 3);
    setWindowTitle(m_titleLabel->text());
    m_titleLabel->setStyleSheet("background:transparent;border:none;");
    m_titleLabel->adjustSize();
    m_titleLabel->move(15, (kTitleBandHeight - m_titleLabel->height()) / 2);
}

CCommonButton* CInfoMessageBox::addCloseButton(int pictureCount, int rightOffset, int top)
{
    auto* close = new CCommonButton(CControlSetting::Image(kImageClose), pictureCount, this);
    close->setObjectName("InfoMessageBoxClose");
    close->setFixedToPicture(true);
    close->move(width() - rightOffset, top);
    close->setCursor(Qt::PointingHandCursor);
    return close;
}

void CInfoMessageBox::addDialogButtons()
{
    const QColor textColour(CControlSetting::Text(kColourButtonText));

    m_acceptButton = new CCommonButton(CControlSetting::Image(kImageAccept), kButtonPictures, this);
    m_acceptButton->setObjectName("InfoMessageBoxAccept");
    m_acceptButton->setText(CControlSetting::Text(kTextAccept));
    m_acceptButton->setTextColor(textColour, CCommonButton::StateMarked);
    m_acceptButton->move(width() - m_acceptButton->width() - 20, height() - 46);

    m_rejectButton = new CCommonButton(CControlSetting::Image(kImageReject), kButtonPictures, this);
    m_rejectButton->setObjectName("InfoMessageBoxReject");
    m_rejectButton->setText(CControlSetting::Text(kTextReject));
    m_rejectButton->setTextColor(textColour, CCommonButton::StateMarked);
    m_rejectButton->move(m_acceptButton->x() - m_rejectButton->width() - 10, m_acceptButton->y());
    connect(m_rejectButton, &CCommonButton::clicked, this, &QDialog::reject);
}

void CInfoMessageBox::centreOnPrimaryScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect desktop = screen->availableGeometry();
    move(desktop.x() + (desktop.width() - width()) / 2,
         desktop.y() + (desktop.height() - height()) / 2);
}

void CInfoMessageBox::setRejectButton(const QString& text, bool visible)
{
    if (m_rejectButton != nullptr) {
        m_rejectButton->setVisible(visible);
        m_rejectButton->setText(text);
    }
}

void CInfoMessageBox::setAcceptButton(const QString& text, bool visible)
{
    if (m_acceptButton != nullptr) {
        m_acceptButton->setVisible(visible);
        m_acceptButton->setText(text);
    }
}

void CInfoMessageBox::moveToCenterOf(const QWidget* widget)
{
    if (widget == nullptr) {
        return;
    }
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    move(topLeft.x() + (widget->width() - width()) / 2,
         topLeft.y() + (widget->height() - height()) / 2);
}

void CInfoMessageBox::setMessageText(const QString& text)
{
    if (m_messageLabel != nullptr) {
        m_messageLabel->setText(text);
        m_messageLabel->adjustSize();
    }
}

void CInfoMessageBox::setMessageAlignment(Qt::Alignment alignment)
{
    if (m_messageLabel != nullptr) {
        m_messageLabel->setAlignment(alignment);
    }
}

void CInfoMessageBox::setSingleButtonLayout()
{
    setMessageAlignment(Qt::AlignCenter);
    if (m_acceptButton != nullptr) {
        m_acceptButton->move((width() - m_acceptButton->width()) / 2, m_acceptButton->y());
    }
}

void CInfoMessageBox::hideRejectButton()
{
    if (m_rejectButton != nullptr) {
        m_rejectButton->hide();
    }
}

void CInfoMessageBox::replaceAcceptWithReject()
{
    if (m_rejectButton != nullptr && m_acceptButton != nullptr) {
        m_rejectButton->move(m_acceptButton->pos());
        m_acceptButton->hide();
    }
}

void CInfoMessageBox::setIconType(int type)
{
    if (m_iconLabel != nullptr) {
        CControlSetting::Set_Label_Pixmap(m_iconLabel, IconImage(type));
    }
}

void CInfoMessageBox::showUserIcon()
{
    if (m_iconLabel != nullptr) {
        CControlSetting::Set_Label_Pixmap(m_iconLabel, kImageUser);
        m_iconLabel->move(40, 95);
    }
}

void CInfoMessageBox::startAutoClose(int seconds)
{
    m_countdown = seconds;
    if (m_closeTimer == nullptr) {
        m_closeTimer = new QTimer(this);
        connect(m_closeTimer, &QTimer::timeout, this, &CInfoMessageBox::Slot_Timer_Close);
    }
    m_closeTimer->start(1000);
}

void CInfoMessageBox::done(int result)
{
    if (m_closeTimer != nullptr) {
        m_closeTimer->stop();
    }
    QDialog::done(result);
}

void CInfoMessageBox::setCloseResult(int result)
{
    m_closeResult = result;
}

void CInfoMessageBox::setFileMessage(const QString& path, const QString& text)
{
    if (m_messageLabel == nullptr) {
        return;
    }
    const int separator = qMax(path.lastIndexOf('\\'), path.lastIndexOf('/'));
    const QString fileName = path.mid(separator + 1).toHtmlEscaped();
    const QString message =
        QString("%1 <font color=#FF9933>%2</font> <font color:rgba(255,255,255,80)>%3</font>")
            .arg(CControlSetting::Text(kTextFilePrefix), fileName, text);
    m_messageLabel->setText(message);
    m_messageLabel->setToolTip(path);
}

void CInfoMessageBox::onPasswdDoneClicked()
{
    if (m_passwdEdit != nullptr) {
        emit sigPasswdString(m_passwdEdit->text());
    }
}

void CInfoMessageBox::onPasswdIsRight(bool b_IsRight)
{
    LOG_DEBUG << "passwd is right???:" << b_IsRight;
    if (b_IsRight) {
        accept();
    } else if (m_wrongPasswdLabel != nullptr) {
        m_wrongPasswdLabel->show();
    }
}

void CInfoMessageBox::Slot_Timer_Close()
{
    if (m_countdown == 0) {
        if (m_closeTimer != nullptr) {
            m_closeTimer->stop();
        }
        close();
    }
    --m_countdown;
}

void CInfoMessageBox::onBtlCloseClicked()
{
    done(m_closeResult);
}

void CInfoMessageBox::mousePressEvent(QMouseEvent* event)
{
    if (!m_drag.Press(*this, event)) {
        QDialog::mousePressEvent(event);
    }
}

void CInfoMessageBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.Move(*this, event)) {
        QDialog::mouseMoveEvent(event);
    }
}

void CInfoMessageBox::keyPressEvent(QKeyEvent* event)
{
    // Keys never reach QDialog: Esc does not reject, Enter presses nothing.
    event->accept();
}

void CInfoMessageBox::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(CControlSetting::Text(kColourTitleBand)));
    painter.drawRect(0, 0, width(), kTitleBandHeight + 1);
    painter.setBrush(QColor(CControlSetting::Text(kColourBody)));
    painter.drawRect(0, kTitleBandHeight + 1, width(), height());

    painter.setPen(QPen(QColor(CControlSetting::Text(kColourFrame)), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
