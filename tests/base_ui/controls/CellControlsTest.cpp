// The cell controls: the painted check box, the combo box that leaves the
// wheel to the table, the push button that reports where it sits.

#include "base_ui/controls/CCheckBox.h"
#include "base_ui/controls/ComboBox.h"
#include "base_ui/controls/PushButton.h"

#include "TableTestSupport.h"
#include "TestDirectory.h"

#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A parent that records the presses its children pass on.
class PressRecorder : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

QFont PixelFont(int pixels)
{
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

TEST(CCheckBoxTest, DefaultLayoutPutsTheTextAfterTheBox)
{
    CCheckBox box;
    EXPECT_EQ(box.size(), QSize(150, 43));
    EXPECT_EQ(box.boxRect(), QRect(32, 15, 12, 12));
    EXPECT_EQ(box.textRect().x(), 56);
}

TEST(CCheckBoxTest, ElidesExactlyTheTextsWiderThanTheRoomLeft)
{
    // Room after the text start at 56, less the right margin: 150 - 56 - 12.
    constexpr int kRoom = 82;
    const QFontMetrics metrics(PixelFont(12));
    QString text;
    int checkedBothSides = 0;
    for (char c = 'a'; metrics.horizontalAdvance(text) <= kRoom + 10; c = c == 'z' ? 'a' : c + 1) {
        text += QChar(c);
        CCheckBox box;
        const int mode = 0;
        box.setText(text, &mode);
        const int width = metrics.horizontalAdvance(text);
        ASSERT_EQ(box.isElided(), width > kRoom) << text.toStdString() << " " << width;
        EXPECT_EQ(box.text(), text);
        if (box.isElided()) {
            EXPECT_EQ(box.displayText(), metrics.elidedText(text, Qt::ElideRight, kRoom));
            EXPECT_EQ(box.textRect().width(), kRoom);
        } else {
            EXPECT_EQ(box.displayText(), text);
            EXPECT_EQ(box.textRect().width(), width + 2);
        }
        checkedBothSides |= box.isElided() ? 2 : 1;
    }
    EXPECT_EQ(checkedBothSides, 3);
}

TEST(CCheckBoxTest, MiddleElisionFollowsTheMode)
{
    CCheckBox box;
    const int middle = 1;
    const QString text = "a long text that never fits into the box";
    box.setText(text, &middle);
    EXPECT_EQ(box.displayText(), QFontMetrics(PixelFont(12)).elidedText(text, Qt::ElideMiddle, 82));
}

TEST(CCheckBoxTest, ClickOnTheBoxTogglesAndEmitsInOrder)
{
    CCheckBox box;
    box.setChecked(true);
    std::vector<std::string> order;
    QObject::connect(&box, &CCheckBox::checked, [&] { order.push_back("checked"); });
    QObject::connect(&box, &CCheckBox::noChecked, [&] { order.push_back("noChecked"); });
    QObject::connect(&box, &CCheckBox::click, [&] { order.push_back("click"); });
    QSignalSpy text(&box, &CCheckBox::signal_text);
    box.setText("label", nullptr);

    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, box.boxRect().center());
    EXPECT_EQ(order, (std::vector<std::string>{"noChecked", "click"}));
    EXPECT_FALSE(box.isChecked());
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text.at(0).at(0).toString(), "label");

    order.clear();
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, box.boxRect().center());
    EXPECT_EQ(order, (std::vector<std::string>{"checked", "click"}));
    EXPECT_TRUE(box.isChecked());
}

TEST(CCheckBoxTest, ClickBesideTheBoxPassesTheClickOn)
{
    PressRecorder parent;
    auto* box = new CCheckBox(&parent);
    QSignalSpy click(box, &CCheckBox::click);
    QSignalSpy text(box, &CCheckBox::signal_text);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
    EXPECT_EQ(click.count(), 0);
    EXPECT_EQ(text.count(), 0);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(parent.presses, 1);
}

TEST(CCheckBoxTest, InactiveBoxIgnoresClicks)
{
    CCheckBox box;
    box.setInteractive(false);
    QSignalSpy click(&box, &CCheckBox::click);
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, box.boxRect().center());
    EXPECT_EQ(click.count(), 0);
    EXPECT_FALSE(box.isChecked());
}

TEST(CCheckBoxTest, CellSizeAndSpacingRelayTheText)
{
    CCheckBox box;
    box.setCellSize(200, 30);
    EXPECT_EQ(box.size(), QSize(200, 30));
    EXPECT_EQ(box.boxRect(), QRect(32, 9, 12, 12));
    EXPECT_EQ(box.textRect(), QRect(56, 0, 200 - 32 - 12 - 12 - 5, 30));
    box.setSpacing(4);
    EXPECT_EQ(box.textRect().x(), 48);
    box.setBoxX(10);
    EXPECT_EQ(box.boxRect().x(), 10);
    EXPECT_EQ(box.textRect().x(), 26);
}

TEST(CCheckBoxTest, PixmapModeDrawsTheFrameOfTheState)
{
    const TestDirectory dir;
    const QColor frames[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QImage strip(48, 12, QImage::Format_ARGB32);
    for (int k = 0; k < 4; ++k) {
        for (int x = 0; x < 12; ++x) {
            for (int y = 0; y < 12; ++y) {
                strip.setPixelColor(k * 12 + x, y, frames[k]);
            }
        }
    }
    const QString path = dir.FilePath("frames.png");
    ASSERT_TRUE(strip.save(path));

    CCheckBox box;
    box.setImage(path);
    const QPoint centre = box.boxRect().center();
    auto shown = [&] { return box.grab().toImage().pixelColor(centre); };
    EXPECT_EQ(shown(), QColor(Qt::red)); // unchecked
    box.setChecked(true);
    EXPECT_EQ(shown(), QColor(Qt::blue)); // checked
    Hover(box, centre);
    EXPECT_EQ(shown(), QColor(Qt::yellow)); // checked, hovered
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(shown(), QColor(Qt::green)); // unchecked, hovered
}

TEST(ComboBoxTest, LeavesTheWheelToItsParent)
{
    QWidget parent;
    auto* combo = new ComboBox(&parent);
    combo->addItems({"a", "b", "c"});
    combo->setCurrentIndex(1);
    EXPECT_EQ(combo->size(), QSize(120, 26));
    QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &event);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_FALSE(event.isAccepted());
}

TEST(ComboBoxTest, KeepsBothIndices)
{
    ComboBox combo;
    combo.setRecordIndex(7);
    combo.setSecondIndex(3);
    EXPECT_EQ(combo.recordIndex(), 7);
    EXPECT_EQ(combo.secondIndex(), 3);
}

TEST(PushButtonTest, ReleaseReportsRecordColumnAndThePointBelowIt)
{
    QWidget window;
    window.resize(400, 300);
    auto* button = new PushButton(&window);
    button->setFixedSize(60, 20);
    button->setRecordIndex(4);
    button->setColumn(2);
    button->move(30, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Puts the button's top-left corner at global (300, 200).
    window.move(window.pos() + QPoint(300, 200) - button->mapToGlobal(QPoint(0, 0)));
    ASSERT_EQ(button->mapToGlobal(QPoint(0, 0)), QPoint(300, 200));
    QSignalSpy spy(button, &PushButton::toTableWidget);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(17, 9));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 4);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 2);
    EXPECT_EQ(spy.at(0).at(2).toPoint(), QPoint(300, 220));
}

TEST(PushButtonTest, ReleaseOffTheButtonReportsNothing)
{
    PushButton button;
    button.setFixedSize(60, 20);
    QSignalSpy spy(&button, &PushButton::toTableWidget);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(90, 5));
    EXPECT_EQ(spy.count(), 0);
}

} // namespace
