// The frame strip on the bundle's switch strip (252 x 22, six frames).

#include "base_ui/controls/CSkinPixmap.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kSwitchStrip = ":/images/pix_switch.png";

// Frame `index` of the strip over the window background, as a grab shows it.
QImage Frame(int index)
{
    QImage frame(42, 22, QImage::Format_ARGB32_Premultiplied);
    frame.fill(QPalette().color(QPalette::Window));
    QPainter painter(&frame);
    painter.drawImage(0, 0, QImage(kSwitchStrip), (index - 1) * 42, 0, 42, 22);
    return frame;
}

QImage Grabbed(CSkinPixmap& sprite)
{
    return sprite.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Counts the presses that reach it.
class PressCounter : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* /*event*/) override { ++presses; }
};

TEST(SkinPixmapTest, StartsWithTheWholeImageAsOneFrame)
{
    const CSkinPixmap sprite(kSwitchStrip);
    EXPECT_EQ(sprite.size(), QSize(252, 22));
    EXPECT_EQ(sprite.frameCount(), 1);
    EXPECT_EQ(sprite.currentFrame(), 1);
    EXPECT_EQ(sprite.frameWidth(), 252);
}

TEST(SkinPixmapTest, FrameCountCutsTheStripAndKeepsTheFrame)
{
    CSkinPixmap sprite(kSwitchStrip);
    sprite.setFrameCount(6);
    EXPECT_EQ(sprite.size(), QSize(42, 22));
    EXPECT_EQ(sprite.frameWidth(), 42);
    EXPECT_EQ(sprite.currentFrame(), 1);
    EXPECT_EQ(Grabbed(sprite), Frame(1));

    sprite.setFrameCount(0);
    EXPECT_EQ(sprite.frameCount(), 6) << "a count below 1 is ignored";
}

TEST(SkinPixmapTest, ShowsTheLastFrameOfSix)
{
    CSkinPixmap sprite(kSwitchStrip);
    ASSERT_TRUE(sprite.showFrame(6, 6));
    EXPECT_TRUE(sprite.isVisible());
    EXPECT_EQ(sprite.size(), QSize(42, 22));
    EXPECT_EQ(sprite.currentFrame(), 6);
    EXPECT_EQ(Grabbed(sprite), Frame(6)) << "x 210..251 of the strip";
    EXPECT_NE(Frame(6), Frame(1));
}

TEST(SkinPixmapTest, InvalidFramesChangeNothing)
{
    CSkinPixmap sprite(kSwitchStrip);
    ASSERT_TRUE(sprite.showFrame(6, 3));
    for (const auto& [count, index] : {std::pair{0, 1}, {6, 0}, {6, 7}, {3, 4}, {-1, -1}}) {
        EXPECT_FALSE(sprite.showFrame(count, index)) << count << " " << index;
    }
    EXPECT_EQ(sprite.frameCount(), 6);
    EXPECT_EQ(sprite.currentFrame(), 3);
    EXPECT_EQ(Grabbed(sprite), Frame(3));
}

TEST(SkinPixmapTest, LeftReleaseInsideClicksAndPressesReachTheParent)
{
    PressCounter parent;
    auto* sprite = new CSkinPixmap(kSwitchStrip, &parent);
    sprite->setFrameCount(6);
    QSignalSpy clicked(sprite, &CSkinPixmap::clicked);

    QTest::mousePress(sprite, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(parent.presses, 1);
    QTest::mouseRelease(sprite, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);

    QTest::mouseClick(sprite, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseClick(sprite, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(SkinPixmapTest, MissingImageGivesAnEmptyFrame)
{
    CSkinPixmap sprite(":/images/no_such_image.png");
    sprite.setFrameCount(6);
    EXPECT_EQ(sprite.size(), QSize(0, 0));
    EXPECT_TRUE(sprite.showFrame(6, 2));
}

} // namespace
