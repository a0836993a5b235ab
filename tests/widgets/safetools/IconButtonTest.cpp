// The icon button: its rectangles and setters, the states that real mouse
// events give it, the signals of a click and how each state paints.

#include "widgets/safetools/CIconButton.h"

#include "WindowMouse.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const char* const kIcon = "://src_personal/images/png/icons/tools_pix/pix_scan.png";
const QColor kHover("#f2fbff");
const QColor kBorder("#55c7ff");

QFont Font(int pixelSize)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    return font;
}

TEST(IconButtonTest, StartsAsA200By60ButtonWithDefaultRectangles)
{
    const CIconButton button;
    EXPECT_EQ(button.size(), QSize(200, 60));
    EXPECT_EQ(button.minimumSize(), button.maximumSize());
    EXPECT_TRUE(button.hasMouseTracking());
    EXPECT_EQ(button.state(), CIconButton::StateNormal);
    EXPECT_EQ(button.iconRect(), QRect(10, 10, 40, 40));
    EXPECT_EQ(button.titleRect(), QRect(59, 10, 135, 14));
    EXPECT_EQ(button.subTitleRect(), QRect(59, 34, 135, 14));
}

TEST(IconButtonTest, IconAndTextsSizeTheirRectangles)
{
    CIconButton button;
    button.setIcon(kIcon);
    EXPECT_EQ(button.iconRect(), QRect(10, 10, 40, 40));
    button.setIcon(":/no/such/icon.png");
    EXPECT_EQ(button.iconRect(), QRect(10, 10, 0, 0));

    button.setTitle("执行扫描");
    button.setSubTitle("quick and full scans");
    EXPECT_EQ(button.title(), "执行扫描");
    EXPECT_EQ(button.titleRect(),
              QRect(59, 10, 135, QFontMetrics(Font(14)).boundingRect("执行扫描").height()));
    EXPECT_EQ(
        button.subTitleRect(),
        QRect(59, 34, 135, QFontMetrics(Font(12)).boundingRect("quick and full scans").height()));

    button.setTitleOnly();
    EXPECT_EQ(button.titleRect(), QRect(59, 10, 135, 40));
    EXPECT_EQ(button.subTitle(), "");
}

TEST(IconButtonTest, ButtonSizeLaysOutIconAndTexts)
{
    CIconButton withIcon;
    withIcon.setIcon(kIcon);
    withIcon.setButtonSize(300, 80);
    EXPECT_EQ(withIcon.size(), QSize(300, 80));
    EXPECT_EQ(withIcon.iconRect(), QRect(10, 20, 40, 40));
    EXPECT_EQ(withIcon.titleRect(), QRect(64, 20, 245, 13));
    EXPECT_EQ(withIcon.subTitleRect(), QRect(64, 45, 245, 13));

    CIconButton withoutIcon;
    withoutIcon.setButtonSize(300, 80);
    EXPECT_EQ(withoutIcon.iconRect(), QRect(10, 10, 40, 40));
    EXPECT_EQ(withoutIcon.titleRect(), QRect(59, 14, 235, 13));
    EXPECT_EQ(withoutIcon.subTitleRect(), QRect(59, 36, 235, 13));
}

class IconButtonMouseTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_parent.resize(400, 100);
        m_button = new CIconButton(&m_parent);
        m_button->move(100, 20);
        m_button->setIcon(kIcon);
        m_button->setTitle("执行扫描");
        m_button->setTitleColor(QColor("#393164"));
        m_button->setTitleOnly();
        m_button->setHoverColor(kHover);
        m_button->setBorderColor(kBorder);
        m_parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_parent));
        WindowMouse::Park(&m_parent);
    }

    // The parent's picture, so that a transparent button shows what is behind it.
    QColor Pixel(const QPoint& inButton)
    {
        return m_parent.grab().toImage().pixelColor(m_button->mapToParent(inButton));
    }

    QWidget m_parent;
    CIconButton* m_button = nullptr;
};

TEST_F(IconButtonMouseTest, HoverHighlightsAndLeavingRestores)
{
    const QColor background = Pixel(QPoint(190, 50));
    EXPECT_NE(background, kHover);

    WindowMouse::Move(m_button, QPoint(150, 30));
    EXPECT_EQ(m_button->state(), CIconButton::StateHover);
    EXPECT_EQ(Pixel(QPoint(190, 50)), kHover);
    EXPECT_EQ(Pixel(QPoint(0, 0)), kBorder);
    EXPECT_EQ(Pixel(QPoint(199, 59)), kBorder);

    WindowMouse::Move(&m_parent, QPoint(20, 90));
    EXPECT_EQ(m_button->state(), CIconButton::StateNormal);
    EXPECT_EQ(Pixel(QPoint(190, 50)), background);
    EXPECT_EQ(Pixel(QPoint(0, 0)), background);
}

TEST_F(IconButtonMouseTest, PressAndDragHighlight)
{
    WindowMouse::Move(m_button, QPoint(150, 30));
    WindowMouse::Press(m_button, QPoint(150, 30));
    EXPECT_EQ(m_button->state(), CIconButton::StatePressed);
    EXPECT_EQ(Pixel(QPoint(190, 50)), kHover);

    WindowMouse::Move(m_button, QPoint(160, 35));
    EXPECT_EQ(m_button->state(), CIconButton::StateDragged);
    EXPECT_EQ(Pixel(QPoint(0, 0)), kBorder);
    WindowMouse::Release(m_button, QPoint(160, 35));
    EXPECT_EQ(m_button->state(), CIconButton::StateReleased);
}

TEST_F(IconButtonMouseTest, ReleaseInsideEmitsBothClicksWithTheParentPoint)
{
    QSignalSpy plain(m_button, qOverload<>(&CIconButton::clicked));
    QSignalSpy located(m_button, qOverload<QPoint>(&CIconButton::clicked));
    WindowMouse::Click(m_button, QPoint(150, 30));
    EXPECT_EQ(plain.count(), 1);
    ASSERT_EQ(located.count(), 1);
    EXPECT_EQ(located.at(0).at(0).toPoint(), QPoint(250, 50));
}

TEST_F(IconButtonMouseTest, ReleaseOutsideAfterPressEmitsNothing)
{
    QSignalSpy plain(m_button, qOverload<>(&CIconButton::clicked));
    QSignalSpy located(m_button, qOverload<QPoint>(&CIconButton::clicked));
    WindowMouse::Press(m_button, QPoint(150, 30));
    WindowMouse::Move(&m_parent, QPoint(50, 50));
    WindowMouse::Release(&m_parent, QPoint(50, 50));
    EXPECT_EQ(plain.count(), 0);
    EXPECT_EQ(located.count(), 0);
}

TEST_F(IconButtonMouseTest, PaintsIconAndTitleInEveryState)
{
    const QColor iconBlue("#00a6f7");
    EXPECT_EQ(Pixel(QPoint(30, 12)), iconBlue); // the icon's disc
    WindowMouse::Move(m_button, QPoint(150, 30));
    EXPECT_EQ(Pixel(QPoint(30, 12)), iconBlue);

    // The title is drawn in the title colour inside the title band.
    const QImage image = m_parent.grab().toImage();
    const QRect title = m_button->titleRect().translated(m_button->pos());
    bool inked = false;
    for (int x = title.left(); x <= title.right() && !inked; ++x) {
        for (int y = title.top(); y <= title.bottom() && !inked; ++y) {
            inked = image.pixelColor(x, y) == QColor("#393164");
        }
    }
    EXPECT_TRUE(inked);
}

} // namespace
