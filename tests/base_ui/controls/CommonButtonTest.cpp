// The strip button: states from mouse events, the picture each state draws,
// overlays, caption, the fixed-size flag, and the control setters that dress
// a button from pool entries (identifiers 9200xx of their own).

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/tools/CControlSetting.h"
#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoStringPool.h"

#include "LogCapture.h"
#include "TestDirectory.h"

#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The four pictures of the test strip, normal, hover, pressed, disabled.
const QColor kPictures[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                            QColor(255, 255, 0)};

constexpr int kStyledEntry = 920001; // object, caption, pixmap: the test strip
constexpr int kMissing = 920099;

class CommonButtonTest : public testing::Test
{
protected:
    // Holds the files until the process ends: the pools are process-wide.
    static const TestDirectory& Dir()
    {
        static const TestDirectory dir;
        return dir;
    }

    // A 280 x 30 strip of four solid 70 x 30 pictures.
    static QString StripPath() { return Dir().FilePath("strip.png"); }

    static void SetUpTestSuite()
    {
        QImage strip(280, 30, QImage::Format_ARGB32);
        QPainter painter(&strip);
        for (int k = 0; k < 4; ++k) {
            painter.fillRect(k * 70, 0, 70, 30, kPictures[k]);
        }
        painter.end();
        ASSERT_TRUE(strip.save(StripPath()));

        const QByteArray xml = R"(<string>
            <s id="920001" object="StyledButton" image=")" +
                               StripPath().toUtf8() + R"(">Styled</s>
        </string>)";
        const QString path = Dir().Write("entries.xml", xml);
        ASSERT_EQ(CKoStringPool::LoadXml(path), 0);
        ASSERT_EQ(CKoPixmapPool::LoadXml(path), 0);
    }

    static QColor PixelAt(CCommonButton& button, const QPoint& point)
    {
        return button.grab().toImage().pixelColor(point);
    }

    static void Enter(CCommonButton& button)
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&button, &enter);
    }

    static void Leave(CCommonButton& button)
    {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
    }
};

TEST_F(CommonButtonTest, FourPictureStripGivesOnePictureSizedButton)
{
    const CCommonButton button(StripPath(), 4);
    EXPECT_EQ(button.size(), QSize(70, 30));
    EXPECT_EQ(button.buttonRect(), QRect(0, 0, 70, 30));
    EXPECT_EQ(button.sizeHint(), QSize(70, 30));
    EXPECT_EQ(button.state(), CCommonButton::StateNormal);
    EXPECT_EQ(button.textColor(), QColor("#ffffff"));
}

TEST_F(CommonButtonTest, EachStateDrawsItsPartOfTheStrip)
{
    struct Case
    {
        int state;
        int pictureCount;
        int picture; // -1: nothing drawn
    };
    const Case cases[] = {
        {CCommonButton::StateNormal, 4, 0},   {CCommonButton::StateReleased, 4, 0},
        {CCommonButton::StateHover, 4, 1},    {CCommonButton::StateMarked, 4, 1},
        {CCommonButton::StatePressed, 4, 2},  {CCommonButton::StateDisabled, 4, 3},
        {CCommonButton::StatePressed, 3, 2},  {CCommonButton::StateDisabled, 3, 2},
        {CCommonButton::StatePressed, 2, 1},  {CCommonButton::StateHover, 2, 1},
        {CCommonButton::StatePressed, 1, -1}, {CCommonButton::StateHover, 1, -1},
    };
    for (const Case& c : cases) {
        // The first pictures of the strip, cut into `pictureCount` pictures.
        CCommonButton button(StripPath(), c.pictureCount);
        button.setState(c.state);
        const QImage image = button.grab().toImage();
        const int width = 280 / c.pictureCount;
        ASSERT_EQ(image.size(), QSize(width, 30));
        for (const QPoint& point : {QPoint(1, 1), QPoint(width - 2, 28)}) {
            const QRgb pixel = image.pixel(point);
            if (c.picture < 0) {
                for (const QColor& picture : kPictures) {
                    EXPECT_NE(pixel, picture.rgba()) << "state " << c.state << " draws nothing";
                }
                continue;
            }
            // Picture k of a strip cut into pictures of `width` starts at k * width.
            const QColor expected = kPictures[(c.picture * width + point.x()) / 70];
            EXPECT_EQ(pixel, expected.rgba())
                << "state " << c.state << " count " << c.pictureCount << " x " << point.x();
        }
    }
}

TEST_F(CommonButtonTest, MouseDrivesTheStatesAndPictures)
{
    CCommonButton button(StripPath(), 4);
    QSignalSpy clicked(&button, &CCommonButton::clicked);

    Enter(button);
    EXPECT_EQ(button.state(), CCommonButton::StateHover);
    EXPECT_EQ(PixelAt(button, QPoint(35, 15)), kPictures[1]);
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(35, 15));
    EXPECT_EQ(button.state(), CCommonButton::StatePressed);
    EXPECT_EQ(PixelAt(button, QPoint(35, 15)), kPictures[2]);

    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(35, 15));
    EXPECT_EQ(button.state(), CCommonButton::StateReleased);
    EXPECT_EQ(PixelAt(button, QPoint(35, 15)), kPictures[0]);
    EXPECT_EQ(clicked.count(), 1);

    Leave(button);
    EXPECT_EQ(button.state(), CCommonButton::StateNormal);
}

TEST_F(CommonButtonTest, ReleaseOutsideTheButtonDoesNotClick)
{
    CCommonButton button(StripPath(), 4);
    QSignalSpy clicked(&button, &CCommonButton::clicked);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(35, 15));
    QTest::mouseMove(&button, QPoint(120, 60));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(120, 60));

    EXPECT_EQ(button.state(), CCommonButton::StateReleased);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(CommonButtonTest, OnlyTheLeftButtonReleaseClicks)
{
    CCommonButton button(StripPath(), 4);
    QSignalSpy clicked(&button, &CCommonButton::clicked);

    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(35, 15));
    EXPECT_EQ(button.state(), CCommonButton::StatePressed);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(CommonButtonTest, DisabledButtonIgnoresTheMouse)
{
    CCommonButton button(StripPath(), 4);
    QSignalSpy clicked(&button, &CCommonButton::clicked);
    button.setState(CCommonButton::StateDisabled);
    EXPECT_EQ(button.cursor().shape(), Qt::ArrowCursor);

    Enter(button);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(35, 15));
    Leave(button);

    EXPECT_EQ(button.state(), CCommonButton::StateDisabled);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(PixelAt(button, QPoint(35, 15)), kPictures[3]);
}

TEST_F(CommonButtonTest, TextColourSetterMarksTheButtonUntilTheMouseComes)
{
    CCommonButton button(StripPath(), 4);
    button.setTextColor(QColor("#393164"), CCommonButton::StateMarked);
    EXPECT_EQ(button.textColor(), QColor("#393164"));
    EXPECT_EQ(button.state(), CCommonButton::StateMarked);
    EXPECT_EQ(PixelAt(button, QPoint(35, 15)), kPictures[1]);

    Leave(button);
    EXPECT_EQ(button.state(), CCommonButton::StateNormal);

    button.setTextColor(Qt::black, 4);
    EXPECT_EQ(button.state(), CCommonButton::StateNormal) << "unknown states are ignored";
}

TEST_F(CommonButtonTest, CaptionIsDrawnInTheTextColour)
{
    CCommonButton button(StripPath(), 4);
    const QImage plain = button.grab().toImage();
    button.setText("OK");
    button.setTextColor(Qt::black, CCommonButton::StateNormal);
    const QImage captioned = button.grab().toImage();

    EXPECT_EQ(button.text(), "OK");
    int inked = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 70; ++x) {
            if (captioned.pixelColor(x, y) != plain.pixelColor(x, y)) {
                ++inked;
                EXPECT_LT(qAbs(x - 35), 20) << "caption is centred";
            }
        }
    }
    EXPECT_GT(inked, 0);
}

TEST_F(CommonButtonTest, OverlayIsDrawnOverTheMatchingState)
{
    CCommonButton button(StripPath(), 4);
    QPixmap overlay(10, 10);
    overlay.fill(Qt::white);
    button.setOverlay(CCommonButton::StateHover, overlay);

    EXPECT_EQ(PixelAt(button, QPoint(5, 5)), kPictures[0]);
    button.setState(CCommonButton::StateMarked);
    EXPECT_EQ(PixelAt(button, QPoint(5, 5)), QColor(Qt::white));
    EXPECT_EQ(PixelAt(button, QPoint(15, 15)), kPictures[1]);
}

TEST_F(CommonButtonTest, FixedSizeHoldsUntilThePress)
{
    CCommonButton button(StripPath(), 4);
    button.show();
    button.setFixedToPicture(true);
    button.resize(200, 100);
    EXPECT_EQ(button.size(), QSize(70, 30));

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(35, 15));
    EXPECT_FALSE(button.isFixedToPicture());
    button.resize(200, 100);
    EXPECT_EQ(button.size(), QSize(200, 100));
}

TEST_F(CommonButtonTest, ButtonWithoutStripPaintsPlaceholdersAndClicks)
{
    CCommonButton button;
    button.resize(20, 10);
    QSignalSpy clicked(&button, &CCommonButton::clicked);
    EXPECT_EQ(PixelAt(button, QPoint(10, 5)), QColor(Qt::blue));

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(PixelAt(button, QPoint(10, 5)), QColor(Qt::red));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(clicked.count(), 1);

    button.setState(CCommonButton::StateMarked);
    EXPECT_EQ(PixelAt(button, QPoint(10, 5)), QColor(Qt::black));
    button.setState(CCommonButton::StateDisabled);
    EXPECT_EQ(PixelAt(button, QPoint(10, 5)), QColor(Qt::green));
}

TEST_F(CommonButtonTest, MissingImageGivesAnEmptyButton)
{
    const CCommonButton button(Dir().FilePath("missing.png"), 4);
    EXPECT_EQ(button.size(), QSize(0, 0));
}

TEST_F(CommonButtonTest, PictureCountBelowOneIsTakenAsOne)
{
    const LogCapture log;
    const CCommonButton button(StripPath(), 0);
    EXPECT_EQ(button.pictureCount(), 1);
    EXPECT_EQ(button.size(), QSize(280, 30));
    EXPECT_TRUE(log.Contains("[WARN]")) << log.Text();
}

TEST_F(CommonButtonTest, ChangeButtonStyleSetsStripNameAndCaption)
{
    struct Case
    {
        int mode;
        bool named;
        bool captioned;
    };
    const Case cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
    for (const Case& c : cases) {
        CCommonButton button;
        CControlSetting::Set_Change_Btn_Style(&button, kStyledEntry, c.mode);
        EXPECT_EQ(button.buttonRect(), QRect(0, 0, 70, 30)) << "mode " << c.mode;
        EXPECT_EQ(button.size(), QSize(70, 30)) << "mode " << c.mode;
        EXPECT_EQ(button.objectName(), c.named ? "StyledButton" : "") << "mode " << c.mode;
        EXPECT_EQ(button.text(), c.captioned ? "Styled" : "") << "mode " << c.mode;
    }
}

TEST_F(CommonButtonTest, ChangeButtonStylePixmapKeepsTheStrip)
{
    CCommonButton button(StripPath(), 2);
    CControlSetting::Set_Change_Btn_Style_Pixmap(&button, kStyledEntry, 3);
    EXPECT_EQ(button.objectName(), "StyledButton");
    EXPECT_EQ(button.text(), "Styled");
    EXPECT_EQ(button.size(), QSize(140, 30));

    CControlSetting::Set_Change_Btn_Style(&button, kMissing, 3);
    EXPECT_EQ(button.size(), QSize(0, 0)) << "a missing image loads nothing";
}

TEST_F(CommonButtonTest, ChangeButtonStyleOnNullWritesAnError)
{
    for (const auto& call :
         {+[] { CControlSetting::Set_Change_Btn_Style(nullptr, kStyledEntry, 3); },
          +[] { CControlSetting::Set_Change_Btn_Style_Pixmap(nullptr, kStyledEntry, 3); }}) {
        const LogCapture log;
        call();
        EXPECT_TRUE(log.Contains("[ERROR]")) << log.Text();
        EXPECT_TRUE(log.Contains("invalid parameters.")) << log.Text();
    }
}

TEST(CommonButtonKeyTest, SpaceEnterAndReturnClickUnlessDisabled)
{
    CCommonButton button;
    button.setText("关闭");
    EXPECT_EQ(button.focusPolicy(), Qt::TabFocus) << "a tab stop that clicks do not focus";
    QSignalSpy clicks(&button, &CCommonButton::clicked);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&button, key);
    }
    EXPECT_EQ(clicks.count(), 3);
    QTest::keyClick(&button, Qt::Key_A);
    button.setState(CCommonButton::StateDisabled);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 3);
}

TEST(CommonButtonKeyTest, FocusMarkShowsOnlyForKeyboardFocus)
{
    CCommonButton button;
    button.setText("清空");
    button.resize(80, 30);
    button.show();
    button.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&button));
    const QImage unfocused = button.grab().toImage();
    button.setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.hasFocus(); }));
    EXPECT_EQ(button.grab().toImage(), unfocused);
    button.clearFocus();
    button.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.hasFocus(); }));
    EXPECT_NE(button.grab().toImage(), unfocused);
    button.clearFocus();
    EXPECT_EQ(button.grab().toImage(), unfocused);
}

} // namespace
