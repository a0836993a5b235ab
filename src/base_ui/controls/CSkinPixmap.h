#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

// Shows one frame of a horizontal strip of equal-width frames; frame n
// (1-based) starts at x = (n - 1) * (image width / frame count). The widget
// is as large as one frame. A left-button release inside it emits clicked();
// presses are left to the parent. Owned by its Qt parent; GUI thread only.
class CSkinPixmap : public QWidget
{
    Q_OBJECT

public:
    // Loads the image; one frame (the whole image), frame 1 shown.
    explicit CSkinPixmap(const QString& imagePath, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CSkinPixmap)

    // Cuts the image into `count` frames and resizes to one frame, keeping
    // the current frame. A count below 1 is ignored.
    void setFrameCount(int count);

    // Cuts the image into `count` frames, resizes to one frame and shows
    // frame `index`. Returns false, changing nothing, for a count below 1 or
    // an index outside 1..count.
    bool showFrame(int count, int index);

    int frameCount() const { return m_frameCount; }
    int currentFrame() const { return m_currentFrame; }
    int frameWidth() const { return m_frameRect.width(); }
    QString imagePath() const { return m_imagePath; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToFrame();

    QPixmap m_image;
    int m_frameCount = 1;
    int m_currentFrame = 1;
    QRect m_frameRect;
    QString m_imagePath;
};
