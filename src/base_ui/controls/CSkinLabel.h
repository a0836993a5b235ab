#pragma once

#include <QColor>
#include <QLabel>

class QGraphicsOpacityEffect;
class QTimer;

// A label with an optional flat background colour, its text as a tool tip
// while hovered, click signals and a fade in or out. A fade changes the
// opacity by a tenth every fade interval (20 ms); a fade in ends visible and
// fully opaque, a fade out ends hidden. Owned by its Qt parent; GUI thread only.
class CSkinLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CSkinLabel(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    explicit CSkinLabel(const QString& text, QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    Q_DISABLE_COPY_MOVE(CSkinLabel)

    // While on, hovering the label shows its text as a tool tip.
    void setTextToolTip(bool on);
    bool hasTextToolTip() const { return m_toolTip; }

    // Fills the label with `color` under its contents.
    void setBackgroundColor(const QColor& color);
    bool hasBackground() const { return m_background; }
    QColor backgroundColor() const { return m_backgroundColor; }

    // Start a fade from transparent to opaque, or back. Return 0, or -1
    // when a fade is already running (that fade goes on unchanged).
    int fadeIn();
    int fadeOut();
    bool isFading() const { return m_fadeTimer != nullptr; }

signals:
    // Left-button release inside the label: clicked(this), then clicked().
    void clicked();
    void clicked(QWidget* label);
    void Enter_Msg();
    void Leave_Msg();

public slots:
    // One fade step.
    void On_Timer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int startFade(int tenths, bool fadingOut);
    void stopFade();

    bool m_toolTip = false;
    bool m_background = false;
    QColor m_backgroundColor;
    QTimer* m_fadeTimer = nullptr;
    int m_fadeInterval = 20;
    QGraphicsOpacityEffect* m_opacityEffect = nullptr;
    // The opacity in tenths, counted in whole steps so that a fade in ends
    // at exactly 1.0 (float steps of 0.1 overshoot it one step early).
    int m_opacityTenths = 10;
    bool m_fadingOut = false;
};
