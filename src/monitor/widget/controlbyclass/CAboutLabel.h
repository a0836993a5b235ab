#pragma once

#include <QPixmap>
#include <QWidget>

// The 14 x 14 about icon of a heartbeat row: one of the two pictures of its
// strip (the hovered one at x 0, the resting one at x 14), with the
// explanation as its tooltip. GUI thread only.
class CAboutLabel : public QWidget
{
    Q_OBJECT

public:
    explicit CAboutLabel(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CAboutLabel)

    bool isHovered() const { return m_hovered; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_hovered = false;
    QPixmap m_pixmap;
};
