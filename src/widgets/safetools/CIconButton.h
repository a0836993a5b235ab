#pragma once

#include "base_ui/controls/FocusMark.h"
#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRect>

#include <QString>
#include <QWidget>

// A 200 x 60 button that paints an icon, a title (14 px) and an optional
// subtitle (12 px). Normal, it shows only those on a transparent fill;
// hovered or pressed it fills itself with the hover colour and draws a 1 px
// border. A release inside the button emits clicked() and clicked(QPoint)
// with the release point in the parent's coordinates. Owned by its Qt
// parent; GUI thread only.
class CIconButton : public QWidget
{
    Q_OBJECT

public:
    enum State : int
    {
        StateNormal = 0,
        StatePressed = 1,
        StateReleased = 2, // released inside the button
        StateHover = 3,
        StateDragged = 4, // moved with the left button held
    };

    explicit CIconButton(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CIconButton)

    // Loads the icon; the icon rectangle takes its size (0 x 0 when nothing
    // loads, so no icon is drawn).
    void setIcon(const QString& path);
    // The text rectangle's height becomes the height of the text's bounding
    // box in the text's font.
    void setTitle(const QString& title);
    void setSubTitle(const QString& subTitle);
    void setTitleColor(const QColor& color);
    void setSubTitleColor(const QColor& color);
    // Take effect at the next repaint.
    void setHoverColor(const QColor& color);
    void setBorderColor(const QColor& color);
    // Title vertically centred over the 40 px band below the top margin;
    // clears the subtitle.
    void setTitleOnly();
    // Fixed size w x h; the icon is centred vertically and the texts follow it.
    void setButtonSize(int w, int h);
    // Fill of the normal state (transparent: its alpha stays 0).
    void setNormalColor(int r, int g, int b);

    int state() const { return m_state; }
    QString title() const { return m_title; }
    QString subTitle() const { return m_subTitle; }
    QRect iconRect() const { return m_iconRect; }
    QRect titleRect() const { return m_titleRect; }
    QRect subTitleRect() const { return m_subTitleRect; }

signals:
    void clicked();
    void clicked(QPoint point);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Enter, Return or Space: clicked as by a click on the button's centre.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int m_state = StateNormal;
    FocusMark m_focusMark;
    QString m_title;
    QString m_subTitle;
    QRect m_iconRect;
    QRect m_titleRect;
    QRect m_subTitleRect;
    QRect m_wholeRect;
    QPixmap m_icon;
    QColor m_titleColor;
    QColor m_subTitleColor;
    QColor m_normalColor;
    QColor m_hoverColor;
    QColor m_borderColor;
};
