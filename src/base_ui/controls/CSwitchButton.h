#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class CSkinPixmap;
class FocusFrame;

// An on/off switch drawn from a strip of frames: frame 1 is "on", the last
// frame "off", the frames between the transition. A state change plays the
// frames towards the new state, one per interval (turning on 5, 4, 3, 2, 1;
// turning off 2, 3, 4, 5, 6 with the default six frames and 20 ms); a change
// during an animation restarts from the new direction's first frame, and no
// timer runs once an animation has ended. A press flips the state when the
// switch is clickable, and so does Space while it has the focus (a keyboard
// focus shows a dotted frame). Screen readers see a check box
// (SwitchAccessible). Owned by its Qt parent; GUI thread only.
class CSwitchButton : public QWidget
{
    Q_OBJECT

public:
    // Shows frame 1 ("on") of the strip at `imagePath` cut into six frames
    // and takes the size of one frame. An empty path gives a switch without
    // picture (WARN line) that still keeps its state.
    explicit CSwitchButton(const QString& imagePath, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CSwitchButton)

    // Animates to `on`; nothing when already there. Emits nothing.
    void setChecked(bool on);
    bool isChecked() const { return m_checked; }

    // Frames in the strip; a count below 1 is ignored.
    void setFrameCount(int count);
    int frameCount() const { return m_frameCount; }

    // Milliseconds between two frames of the next animation step.
    void setInterval(int milliseconds);
    int interval() const { return m_interval; }

    // When off, presses are ignored and the cursor is an arrow.
    void setClickable(bool clickable);
    bool isClickable() const { return m_clickable; }

    bool isAnimating() const { return m_timer.isActive(); }
    // The frame shown by the picture, 1-based.
    int shownFrame() const;

signals:
    // A press flipped the state: clicked(), then clicked(new state).
    void clicked();
    void clicked(bool checked);

public slots:
    // One step of the "on" animation: the previous frame of the strip.
    void sltOnSelected();
    // One step of the "off" animation: the next frame of the strip.
    void sltOnUnSelected();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // A press or Space: flips the state and emits clicked when clickable.
    void toggleByUser();

    bool m_checked = true;
    int m_frame = 1;
    int m_frameCount = 6;
    int m_interval = 20;
    CSkinPixmap* m_sprite;
    FocusFrame* m_focusFrame;
    QTimer m_timer;
    bool m_clickable = true;
};
