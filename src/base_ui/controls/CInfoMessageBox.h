#pragma once

#include "base_ui/controls/WindowDrag.h"

#include <QDialog>
#include <QPoint>
#include <QString>

class CCommonButton;
class QLabel;
class QLineEdit;
class QTimer;

// The frameless, self-painted modal message box of the control library: a
// blue 41 px title band, a white body and a 1 px frame. Its texts, colours
// and images come from the string and pixmap pools, its label styles from the
// control library's style sheet (selected by object name).
//
// Modes (the constructor takes the number, `Mode` names them):
//   ModeWarning 0, ModeNotice 1: 420 x 207, an icon, a message (with `secondText`
//     also a bold title line over a paragraph), a close button (top right),
//     the reject button at (250, 161) and the accept button at (330, 161);
//   ModePassword 2, the password prompt: 400 x 256, `text` as prompt and `secondText` as
//     placeholder of a password edit; the accept button and Enter in the edit
//     emit sigPasswdString, and the owner answers with onPasswdIsRight;
//   any other mode builds an empty box.
// exec() returns 1 when accepted and 0 when rejected or closed; the close
// button ends with the close result (0 unless set). Keys never close the box.
// Without parent the box starts centred on the primary screen.
// GUI thread only.
class CInfoMessageBox : public QDialog
{
    Q_OBJECT

public:
    // The constructor's `mode`; any other value builds an empty box.
    enum Mode : int
    {
        ModeWarning = 0,
        ModeNotice = 1,
        ModePassword = 2,
    };

    // The argument of setIconType; any other value shows the exclamation.
    enum IconType : int
    {
        IconSuccess = 0,
        IconFailure = 1,
        IconExclamation = 2,
        IconQuestion = 3,
    };

    CInfoMessageBox(int mode, const QString& text, const QString& secondText,
                    QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CInfoMessageBox)

    // Show or hide the button, then set its caption.
    void setRejectButton(const QString& text, bool visible);
    void setAcceptButton(const QString& text, bool visible);

    // Centres the box over `widget` (screen coordinates).
    void moveToCenterOf(const QWidget* widget);

    // Message text, fitted.
    void setMessageText(const QString& text);
    void setMessageAlignment(Qt::Alignment alignment);
    // Centres the message and moves the accept button to the horizontal
    // centre of the box.
    void setSingleButtonLayout();
    void hideRejectButton();
    // Moves the reject button to the accept button's place and hides the
    // accept button.
    void replaceAcceptWithReject();
    // Icon by type (`IconType`): 0 success, 1 failure, 2 exclamation,
    // 3 question; other types show the exclamation.
    void setIconType(int type);
    // Shows the user icon at (40, 95) instead of the type icon.
    void showUserIcon();
    // Closes the box (result 0) when the countdown, started at `seconds`
    // and decremented every second, has reached 0. The countdown stops
    // whenever the box closes, however it is answered.
    void startAutoClose(int seconds);
    // Result of exec() when the close button ends the box.
    void setCloseResult(int result);
    // Message naming the file of `path` (the part after its last separator)
    // in orange, followed by `text`; the full path is the tool tip.
    void setFileMessage(const QString& path, const QString& text);

    // Stops the auto-close countdown, then ends the box as QDialog does.
    void done(int result) override;

signals:
    void sigPasswdString(QString s_passwd);

public slots:
    // Emits sigPasswdString with the typed password.
    void onPasswdDoneClicked();
    // The owner's verdict: accept, or show the wrong-password line and stay.
    void onPasswdIsRight(bool b_IsRight);
    // One second of the auto-close countdown.
    void Slot_Timer_Close();
    void onBtlCloseClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The warning (ModeWarning) or notice (ModeNotice) box.
    void buildTwoButtons(Mode mode, const QString& text, const QString& secondText);
    void buildPassword(const QString& prompt, const QString& placeholder);
    void addTitle(int textId);
    CCommonButton* addCloseButton(int pictureCount, int rightOffset, int top);
    // Accept and reject buttons in the bottom right corner.
    void addDialogButtons();
    void centreOnPrimaryScreen();

    WindowDrag m_drag;
    QLineEdit* m_passwdEdit = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_messageLabel = nullptr;
    CCommonButton* m_rejectButton = nullptr;
    CCommonButton* m_acceptButton = nullptr;
    QLabel* m_wrongPasswdLabel = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_infoLabel = nullptr;
    QTimer* m_closeTimer = nullptr;
    int m_countdown = 0;
    int m_closeResult = 0;
};
