#pragma once

#include "base_ui/controls/FocusMark.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

// An image button whose states are pictures of one horizontal strip: the
// strip holds `pictureCount` pictures of equal width side by side, in the
// order normal, hover, pressed, disabled. Picture k starts at
// x = k * (strip width / pictureCount). An optional overlay picture per state
// is drawn over the strip picture, and a caption is drawn centred on top.
// A button without strip paints a coloured placeholder per state and still
// clicks. It is a tab stop that clicks do not focus: Space, Enter or Return
// click it, and a keyboard focus shows a dotted frame. Screen readers see a
// button named by its text (CommonButtonAccessible). The button is owned by
// its Qt parent; GUI thread only.
class CCommonButton : public QWidget
{
    Q_OBJECT

public:
    // Button states. Pressing, entering and leaving change the state unless
    // it is StateDisabled; StateMarked is only set through setState or
    // setTextColor and is drawn like StateHover.
    enum State : int
    {
        StateNormal = 0,
        StatePressed = 1,
        StateReleased = 2,
        StateHover = 3,
        StateDisabled = 5,
        StateMarked = 6,
    };

    // Loads the strip at `imagePath` (none when empty) cut into
    // `pictureCount` pictures and sizes the button to one picture. A count
    // below 1 is taken as 1.
    explicit CCommonButton(const QString& imagePath = QString(), int pictureCount = 4,
                           QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CCommonButton)

    // Replaces the strip by the image at `imagePath`, keeps the picture count
    // and resizes the button to one picture (to 0 x 0 when nothing loads).
    void setImage(const QString& imagePath);

    // Picture drawn at (0, 0) over the strip picture in `state`; StateNormal
    // covers StateReleased and StateHover covers StateMarked. An empty pixmap
    // removes the overlay.
    void setOverlay(State state, const QPixmap& overlay);

    void setText(const QString& text);
    QString text() const { return m_text; }

    // Caption colour; the button also takes `state` (the message boxes pass
    // StateMarked, so their buttons show the hover picture until the mouse
    // first enters or leaves them).
    void setTextColor(const QColor& color, int state);
    QColor textColor() const { return m_textColor; }

    int state() const { return m_state; }
    void setState(int state);

    // While set, the button keeps the size of one picture. A press clears it.
    void setFixedToPicture(bool fixed);
    bool isFixedToPicture() const { return m_fixedSize; }

    int pictureCount() const { return m_pictureCount; }
    // (0, 0, picture width, picture height).
    QRect buttonRect() const { return m_buttonRect; }

    // The size of one picture, when there is a strip.
    QSize sizeHint() const override;

signals:
    // Released with the left button inside the button after a press.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Space, Enter or Return: clicked, unless disabled.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    FocusMark m_focusMark;
    // Strip picture of the current state, -1 for none.
    int pictureIndex() const;
    const QPixmap& overlay() const;
    QColor placeholderColor() const;
    void applyCursor();

    QPixmap m_strip;
    QPixmap m_overlayNormal;
    QPixmap m_overlayPressed;
    QPixmap m_overlayHover;
    QPixmap m_overlayDisabled;
    int m_state = StateNormal;
    QString m_text;
    QRect m_buttonRect;
    QFont m_font;
    QColor m_textColor;
    bool m_fixedSize = false;
    int m_pictureCount = 1;
};
