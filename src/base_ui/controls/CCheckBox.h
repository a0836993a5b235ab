#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

// A painted check box with a text, used over the cells of a table's
// check-box column and as a header's check-all box. It knows the index of
// the record it currently shows, so that one box per visible slot can be
// reused while the table scrolls. The box is drawn as an outlined square with
// a check mark, or, in pixmap mode, from an image of four frames side by side
// (unchecked, unchecked hovered, checked, checked hovered). GUI thread only.
class CCheckBox : public QWidget
{
    Q_OBJECT

public:
    explicit CCheckBox(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CCheckBox)

    // Shows `text` after the box, elided to the room left in the widget when
    // it does not fit: in the middle when *elideMode is non-zero, else at the
    // right (a null elideMode elides at the right).
    void setText(const QString& text, const int* elideMode);
    // Fixes the widget size and lays the box and the text out in it.
    void setCellSize(int width, int height);
    // Moves the box to x and lays the text out after it.
    void setBoxX(int x);
    void setSpacing(int spacing);
    void setChecked(bool checked);
    bool isChecked() const { return m_checked; }
    void setRecordIndex(int index) { m_recordIndex = index; }
    int recordIndex() const { return m_recordIndex; }
    void setFontPixelSize(int pixels);
    void setTextColor(const QString& color);
    void setTextCursor(bool on) { m_textCursor = on; }
    void setInteractive(bool on) { m_interactive = on; }
    // Turns pixmap mode on with the four-frame image at `path`.
    void setImage(const QString& path);
    // Right edge of the shown text: text x plus the shown text's pixel width.
    int textRight() const;

    bool isElided() const { return m_elided; }
    QString text() const { return m_fullText; }
    QString displayText() const { return m_displayText; }
    QRect boxRect() const { return m_boxRect; }
    QRect textRect() const { return m_textRect; }

signals:
    void click();
    void checked();
    void noChecked();
    void signal_reset_Rect();
    void signal_text(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private slots:
    void slot_reset_DoubleRects();

private:
    // Frame of the four-frame image for the current state.
    int frameOfState() const;

    bool m_elided = false;
    int m_recordIndex = 0;
    int m_width = 150;
    int m_height = 43;
    int m_boxX = 32;
    int m_boxSize = 12;
    int m_boxY = (43 - 12) / 2;
    int m_spacing = 12;
    int m_textX = 32 + 12 + 12;
    int m_textY = 0;
    int m_textWidth = 150 - 32 - 12 - 12 - 5;
    int m_textHeight = 43;
    int m_fontPixelSize = 12;
    QString m_displayText;
    QString m_fullText;
    QString m_hoverFillColor = "#3b556f";
    QString m_textColor = "#a4acb5";
    bool m_pixmapMode = false;
    bool m_hover = false;
    bool m_checked = false;
    bool m_textCursor = false;
    bool m_interactive = true;
    int m_state = 0;
    QRect m_boxRect;
    QRect m_textRect;
    QFont m_font;
    QPixmap m_image;
};
