// The switch on the bundle's strip: states, the frame animation, clicks.

#include "base_ui/controls/CSkinPixmap.h"
#include "base_ui/controls/CSwitchButton.h"

#include "LogCapture.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const QString kSwitchStrip = ":/images/pix_switch.png";
// Long enough that the timer never fires while a test steps by hand.
constexpr int kNeverMs = 600000;
constexpr int kDeadlineMs = 5000;

bool WaitForRest(const CSwitchButton& button)
{
    return QTest::qWaitFor([&] { return !button.isAnimating(); }, kDeadlineMs);
}

TEST(SwitchButtonTest, NewSwitchIsOnAtRest)
{
    const CSwitchButton button(kSwitchStrip);
    EXPECT_TRUE(button.isChecked());
    EXPECT_FALSE(button.isAnimating());
    EXPECT_EQ(button.shownFrame(), 1);
    EXPECT_EQ(button.frameCount(), 6);
    EXPECT_EQ(button.interval(), 20);
    EXPECT_EQ(button.size(), QSize(42, 22));
    EXPECT_TRUE(button.isClickable());
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
}

TEST(SwitchButtonTest, AnimationsStepThroughTheStrip)
{
    struct Case
    {
        bool target;
        std::vector<int> frames;
    };
    const Case cases[] = {{false, {2, 3, 4, 5, 6}}, {true, {5, 4, 3, 2, 1}}};

    CSwitchButton button(kSwitchStrip);
    button.setInterval(kNeverMs);
    for (const Case& c : cases) {
        button.setChecked(c.target);
        EXPECT_EQ(button.isChecked(), c.target);
        EXPECT_TRUE(button.isAnimating());
        std::vector<int> shown;
        while (button.isAnimating() && shown.size() < 10) {
            c.target ? button.sltOnSelected() : button.sltOnUnSelected();
            shown.push_back(button.shownFrame());
        }
        shown.pop_back(); // the step that ends the animation shows nothing new
        EXPECT_EQ(shown, c.frames) << "to " << c.target;
        EXPECT_FALSE(button.isAnimating());
    }
}

TEST(SwitchButtonTest, TimerAnimatesToTheFinalFrame)
{
    CSwitchButton button(kSwitchStrip);
    auto* sprite = button.findChild<CSkinPixmap*>();
    ASSERT_NE(sprite, nullptr);
    const QImage on = button.grab().toImage();

    button.setChecked(false);
    ASSERT_TRUE(WaitForRest(button));
    EXPECT_FALSE(button.isChecked());
    EXPECT_EQ(button.shownFrame(), 6);
    EXPECT_NE(button.grab().toImage(), on);

    button.setChecked(true);
    ASSERT_TRUE(WaitForRest(button));
    EXPECT_EQ(button.shownFrame(), 1);
    EXPECT_EQ(button.grab().toImage(), on);
}

TEST(SwitchButtonTest, ChangeDuringAnimationRestartsFromTheNewDirection)
{
    CSwitchButton button(kSwitchStrip);
    button.setInterval(kNeverMs);
    button.setChecked(false);
    button.sltOnUnSelected();
    button.sltOnUnSelected();
    ASSERT_EQ(button.shownFrame(), 3);

    button.setChecked(true);
    EXPECT_TRUE(button.isAnimating());
    button.sltOnSelected();
    EXPECT_EQ(button.shownFrame(), 5) << "turning on starts at the off end";
}

TEST(SwitchButtonTest, SettingTheCurrentStateDoesNothing)
{
    CSwitchButton button(kSwitchStrip);
    QSignalSpy clicked(&button, qOverload<>(&CSwitchButton::clicked));
    button.setChecked(true);
    EXPECT_FALSE(button.isAnimating());
    EXPECT_EQ(clicked.count(), 0);
}

TEST(SwitchButtonTest, PressFlipsAndEmitsBothSignalsInOrder)
{
    CSwitchButton button(kSwitchStrip);
    std::vector<std::string> emitted;
    QObject::connect(&button, qOverload<>(&CSwitchButton::clicked),
                     [&] { emitted.push_back("clicked()"); });
    QObject::connect(&button, qOverload<bool>(&CSwitchButton::clicked),
                     [&](bool on) { emitted.push_back(on ? "clicked(true)" : "clicked(false)"); });

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(button.isChecked());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mousePress(&button, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_TRUE(button.isChecked());

    const std::vector<std::string> expected = {"clicked()", "clicked(false)", "clicked()",
                                               "clicked(true)"};
    EXPECT_EQ(emitted, expected);
}

TEST(SwitchButtonTest, TwoQuickClicksEndInTheSecondState)
{
    CSwitchButton button(kSwitchStrip);
    QSignalSpy states(&button, qOverload<bool>(&CSwitchButton::clicked));

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 10));

    ASSERT_EQ(states.count(), 2);
    EXPECT_FALSE(states.at(0).at(0).toBool());
    EXPECT_TRUE(states.at(1).at(0).toBool());
    ASSERT_TRUE(WaitForRest(button));
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(button.shownFrame(), 1);
}

TEST(SwitchButtonTest, NotClickableIgnoresPresses)
{
    CSwitchButton button(kSwitchStrip);
    QSignalSpy clicked(&button, qOverload<>(&CSwitchButton::clicked));
    button.setClickable(false);
    EXPECT_EQ(button.cursor().shape(), Qt::ArrowCursor);

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(button.isChecked());
    EXPECT_FALSE(button.isAnimating());
    EXPECT_EQ(clicked.count(), 0);

    button.setClickable(true);
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(button.isChecked());
}

TEST(SwitchButtonTest, EmptyPathWarnsAndStillKeepsState)
{
    const LogCapture log;
    CSwitchButton button(QString{});
    EXPECT_TRUE(log.Contains("[WARN]")) << log.Text();
    EXPECT_TRUE(log.Contains("str_png_path.isEmpty(),invalid parameters.")) << log.Text();
    EXPECT_EQ(button.size(), QSize(0, 0));

    button.setChecked(false);
    EXPECT_FALSE(button.isChecked());
    EXPECT_TRUE(WaitForRest(button));
}

TEST(SwitchButtonTest, SpaceFlipsTheStateAsAPressDoes)
{
    CSwitchButton button(kSwitchStrip);
    button.setInterval(kNeverMs);
    QSignalSpy states(&button, qOverload<bool>(&CSwitchButton::clicked));
    EXPECT_EQ(button.focusPolicy(), Qt::StrongFocus);

    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_FALSE(button.isChecked());
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_TRUE(button.isChecked());
    ASSERT_EQ(states.count(), 2);
    EXPECT_FALSE(states.at(0).at(0).toBool());
    EXPECT_TRUE(states.at(1).at(0).toBool());

    // Other keys, Space with a modifier and an unclickable switch: nothing.
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Space, Qt::ControlModifier);
    button.setClickable(false);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(states.count(), 2);
}

TEST(SwitchButtonTest, FocusFrameShowsOnlyForKeyboardFocus)
{
    CSwitchButton button(kSwitchStrip);
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
    const QImage marked = button.grab().toImage();
    EXPECT_NE(marked, unfocused);

    button.clearFocus();
    EXPECT_EQ(button.grab().toImage(), unfocused);
}

} // namespace
