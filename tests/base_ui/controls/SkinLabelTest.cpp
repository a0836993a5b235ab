// The skinned label: click signals, hover tool tip, background, fades, and
// the control setter that dresses it from a pool entry.

#include "base_ui/controls/CSkinLabel.h"
#include "base_ui/tools/CControlSetting.h"
#include "base_ui/tools/CKoStringPool.h"

#include "LogCapture.h"
#include "TestDirectory.h"

#include <QCursor>
#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

constexpr int kDeadlineMs = 5000;

void Enter(QWidget& widget)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&widget, &enter);
}

void Leave(QWidget& widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &leave);
}

TEST(SkinLabelTest, LeftReleaseInsideEmitsBothClicks)
{
    CSkinLabel label("quit");
    label.resize(55, 15);
    std::vector<QWidget*> order;
    QObject::connect(&label, qOverload<QWidget*>(&CSkinLabel::clicked),
                     [&](QWidget* sender) { order.push_back(sender); });
    QObject::connect(&label, qOverload<>(&CSkinLabel::clicked), [&] { order.push_back(nullptr); });

    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 7));
    const std::vector<QWidget*> expected = {&label, nullptr};
    EXPECT_EQ(order, expected);

    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(10, 7));
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 7));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(70, 7));
    EXPECT_EQ(order.size(), 2U);
}

TEST(SkinLabelTest, HoverShowsTheTextAsToolTipWhenAsked)
{
    // Away from the cursor, so that the tip never covers the label.
    QCursor::setPos(0, 0);
    CSkinLabel label("a long file name");
    label.move(400, 400);
    label.show();
    QSignalSpy entered(&label, &CSkinLabel::Enter_Msg);
    QSignalSpy left(&label, &CSkinLabel::Leave_Msg);

    Enter(label);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_FALSE(QToolTip::isVisible());
    Leave(label);
    EXPECT_EQ(left.count(), 1);

    label.setTextToolTip(true);
    EXPECT_TRUE(label.hasTextToolTip());
    Enter(label);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "a long file name");
    Leave(label);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, kDeadlineMs));
    EXPECT_EQ(entered.count(), 2);
    EXPECT_EQ(left.count(), 2);
}

TEST(SkinLabelTest, BackgroundFillsTheLabel)
{
    CSkinLabel label;
    label.resize(30, 10);
    EXPECT_FALSE(label.hasBackground());
    label.setBackgroundColor(QColor("#3f465c"));
    EXPECT_TRUE(label.hasBackground());
    EXPECT_EQ(label.grab().toImage().pixelColor(15, 5), QColor("#3f465c"));
}

TEST(SkinLabelTest, FadeOutEndsHiddenAndIgnoresASecondStart)
{
    CSkinLabel label("fading");
    label.show();
    ASSERT_EQ(label.fadeOut(), 0);
    EXPECT_TRUE(label.isFading());
    EXPECT_EQ(label.fadeIn(), -1);
    EXPECT_EQ(label.fadeOut(), -1);

    // The running fade goes on: the label loses opacity on its way out.
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(label.graphicsEffect());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            effect = qobject_cast<QGraphicsOpacityEffect*>(label.graphicsEffect());
            return effect != nullptr && effect->opacity() < 0.5;
        },
        kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !label.isFading(); }, kDeadlineMs));
    EXPECT_FALSE(label.isVisible());
    EXPECT_EQ(effect->opacity(), 0.0);
}

TEST(SkinLabelTest, FadeInEndsVisible)
{
    CSkinLabel label("fading");
    ASSERT_EQ(label.fadeIn(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !label.isFading(); }, kDeadlineMs));
    EXPECT_TRUE(label.isVisible());
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(label.graphicsEffect());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->opacity(), 1.0) << "a finished fade in leaves the label fully opaque";

    EXPECT_EQ(label.fadeOut(), 0) << "a new fade starts once the last one ended";
}

class SkinLabelSettingTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static const TestDirectory dir;
        const QString path = dir.Write("entries.xml", R"(<string>
            <s id="930001" object="QuitLabel" location-x="25" location-y="10">quit</s>
        </string>)");
        ASSERT_EQ(CKoStringPool::LoadXml(path), 0);
    }
};

TEST_F(SkinLabelSettingTest, SetsNameTextAndPosition)
{
    CSkinLabel label;
    CControlSetting::Set_SkinLabel_Text(&label, 930001, 3);
    EXPECT_EQ(label.objectName(), "QuitLabel");
    EXPECT_EQ(label.text(), "quit");
    EXPECT_EQ(label.size(), label.sizeHint());
    EXPECT_EQ(label.pos(), QPoint(25, 10));

    CSkinLabel named;
    CControlSetting::Set_SkinLabel_Text(&named, 930001, 1);
    EXPECT_EQ(named.objectName(), "QuitLabel");
    EXPECT_EQ(named.text(), "");
    EXPECT_EQ(named.pos(), QPoint(0, 0));
}

TEST_F(SkinLabelSettingTest, NullLabelWritesAnError)
{
    const LogCapture log;
    CControlSetting::Set_SkinLabel_Text(nullptr, 930001, 3);
    EXPECT_TRUE(log.Contains("[ERROR]")) << log.Text();
    EXPECT_TRUE(log.Contains("Set_SkinLabel_Text>")) << log.Text();
    EXPECT_TRUE(log.Contains(" invalid parameters.")) << log.Text();
}

} // namespace
