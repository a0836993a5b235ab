// The control setting helpers on the process-wide pools. The entries use
// identifiers of their own (9100xx), so they never meet other files' entries.

#include "base_ui/tools/CControlSetting.h"
#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoStringPool.h"

#include "LogCapture.h"
#include "TestDirectory.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

constexpr int kPlaced = 910001;   // object, text, position (40, 50)
constexpr int kUnplaced = 910002; // object and text, no position
constexpr int kNumber = 910003;   // "35"
constexpr int kImage = 910004;    // pixmap entry with an image at (7, 8)
constexpr int kMissing = 910099;

class ControlSettingTest : public testing::Test
{
protected:
    // Holds the entry files until the process ends: the pools are process-wide.
    static const TestDirectory& Dir()
    {
        static const TestDirectory dir;
        return dir;
    }

    static void SetUpTestSuite()
    {
        QImage image(20, 10, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        const QString imagePath = Dir().FilePath("image.png");
        ASSERT_TRUE(image.save(imagePath));
        const QByteArray xml = R"(<string>
            <s id="910001" object="PlacedName" location-x="40" location-y="50">placed text</s>
            <s id="910002" object="UnplacedName">unplaced text</s>
            <s id="910003">35</s>
            <s id="910004" image=")" +
                               imagePath.toUtf8() +
                               R"(" location-x="7" location-y="8"/>
        </string>)";
        const QString path = Dir().Write("entries.xml", xml);
        ASSERT_EQ(CKoStringPool::LoadXml(path), 0);
        ASSERT_EQ(CKoPixmapPool::LoadXml(path), 0);
    }

    const QPoint kStart{3, 4};
};

struct ModeCase
{
    int mode;
    bool named;
    bool texted;
    bool moved;
};

// Expected effects of a mode on a control that starts at (3, 4) without text.
void ExpectEffects(const QWidget& control, const QString& text, const ModeCase& c,
                   const QPoint& start)
{
    EXPECT_EQ(control.objectName(), c.named ? "PlacedName" : "") << "mode " << c.mode;
    EXPECT_EQ(text, c.texted ? "placed text" : "") << "mode " << c.mode;
    EXPECT_EQ(control.pos(), c.moved ? QPoint(40, 50) : start) << "mode " << c.mode;
}

TEST_F(ControlSettingTest, LabelTextModesAreExactValues)
{
    const ModeCase cases[] = {
        {0, false, false, true}, {1, true, false, false},  {2, false, true, false},
        {3, true, true, true},   {4, false, false, false}, {-1, false, false, false},
    };
    for (const ModeCase& c : cases) {
        QLabel label;
        label.move(kStart);
        CControlSetting::Set_Label_Text(&label, kPlaced, c.mode);
        ExpectEffects(label, label.text(), c, kStart);
    }
}

TEST_F(ControlSettingTest, LabelTextFitsTheLabelBeforeMoving)
{
    QLabel label;
    label.resize(1, 1);
    CControlSetting::Set_Label_Text(&label, kPlaced, 3);
    EXPECT_EQ(label.size(), label.sizeHint());
    EXPECT_EQ(label.pos(), QPoint(40, 50));
}

TEST_F(ControlSettingTest, EntriesWithoutPositionDoNotMove)
{
    QLabel label;
    label.move(kStart);
    CControlSetting::Set_Label_Text(&label, kUnplaced, 0);
    EXPECT_EQ(label.pos(), kStart);
    CControlSetting::Set_Label_Text(&label, kMissing, 3);
    EXPECT_EQ(label.pos(), kStart);
    EXPECT_EQ(label.text(), "");

    QPushButton button;
    button.move(kStart);
    CControlSetting::Set_Btn_Style(&button, kUnplaced, 3);
    EXPECT_EQ(button.pos(), kStart);
    EXPECT_EQ(button.objectName(), "UnplacedName");
}

TEST_F(ControlSettingTest, ButtonStyleModesAreBits)
{
    const ModeCase cases[] = {
        {0, false, false, false},
        {1, true, false, false},
        {2, false, true, false},
        {3, true, true, true},
    };
    for (const ModeCase& c : cases) {
        QPushButton button;
        button.move(kStart);
        CControlSetting::Set_Btn_Style(&button, kPlaced, c.mode);
        ExpectEffects(button, button.text(), c, kStart);
        if (c.texted) {
            EXPECT_EQ(button.size(), button.sizeHint());
        }
    }
}

TEST_F(ControlSettingTest, CheckBoxTextNeverMoves)
{
    const ModeCase cases[] = {
        {1, true, false, false},
        {2, false, true, false},
        {3, true, true, false},
    };
    for (const ModeCase& c : cases) {
        QCheckBox checkBox;
        checkBox.move(kStart);
        CControlSetting::Set_Check_Box_Text(&checkBox, kPlaced, c.mode);
        ExpectEffects(checkBox, checkBox.text(), c, kStart);
    }
}

TEST_F(ControlSettingTest, LabelPixmapShowsTheImageAtItsSize)
{
    QLabel label;
    CControlSetting::Set_Label_Pixmap(&label, kImage);
    EXPECT_EQ(label.pixmap().size(), QSize(20, 10));
    EXPECT_EQ(label.size(), QSize(20, 10));

    QLabel missing;
    CControlSetting::Set_Label_Pixmap(&missing, kMissing);
    EXPECT_TRUE(missing.pixmap().isNull());
}

TEST_F(ControlSettingTest, NullControlsWriteAnErrorLineAndDoNothing)
{
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"Set_Label_Text", [] { CControlSetting::Set_Label_Text(nullptr, kPlaced, 3); }},
        {"Set_Btn_Style", [] { CControlSetting::Set_Btn_Style(nullptr, kPlaced, 3); }},
        {"Set_Check_Box_Text", [] { CControlSetting::Set_Check_Box_Text(nullptr, kPlaced, 3); }},
        {"Set_Label_Pixmap", [] { CControlSetting::Set_Label_Pixmap(nullptr, kImage); }},
        {"Set_Checked", [] { CControlSetting::Set_Checked(nullptr, true); }},
    };
    for (const auto& [helper, call] : calls) {
        const LogCapture log;
        call();
        EXPECT_TRUE(log.Contains(std::string("[ERROR] <CControlSetting.cpp> <CControlSetting::") +
                                 helper + "> "))
            << log.Text();
        EXPECT_TRUE(log.HasLine("ERROR", "invalid parameters.")) << log.Text();
    }
}

TEST_F(ControlSettingTest, AccessorsReadThePools)
{
    EXPECT_EQ(CControlSetting::Get_Text(kPlaced), "placed text");
    EXPECT_EQ(CControlSetting::Get_Text(kMissing), "");
    EXPECT_EQ(CControlSetting::Get_Object_Name(kPlaced), "PlacedName");
    EXPECT_EQ(CControlSetting::Get_Object_Name(kMissing), "");
    EXPECT_EQ(CControlSetting::Get_Text_Pos(kPlaced), QPoint(40, 50));
    EXPECT_EQ(CControlSetting::Get_Text_Pos(kUnplaced), QPoint(-1, -1));
    EXPECT_EQ(CControlSetting::Get_Text_Pos(kMissing), QPoint(-1, -1));
    EXPECT_EQ(CControlSetting::Get_Int(kNumber), 35);
    EXPECT_EQ(CControlSetting::Get_Int(kPlaced), 0);
    EXPECT_EQ(CControlSetting::Get_Int(kMissing), 0);

    EXPECT_EQ(CControlSetting::Get_Pixmap_Path(kImage), Dir().FilePath("image.png").toStdString());
    EXPECT_EQ(CControlSetting::Get_Pixmap_Path(kMissing), "error");
    EXPECT_EQ(CControlSetting::Get_Pixmap_Pos(kImage), QPoint(7, 8));
    EXPECT_EQ(CControlSetting::Get_Pixmap_Pos(kMissing), QPoint(0, 0));
}

TEST_F(ControlSettingTest, ElidedTextKeepsTextsThatFit)
{
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const QString text = "2020-10-27 15:00:00 detail";
    const int width = metrics.horizontalAdvance(text);

    EXPECT_EQ(CControlSetting::Get_Elided_Text(text, width + 1, font), text);
    EXPECT_EQ(CControlSetting::Get_Elided_Text(text, width, font), text);

    const QString elided = CControlSetting::Get_Elided_Text(text, width / 2, font);
    EXPECT_LE(metrics.horizontalAdvance(elided), width / 2);
    EXPECT_TRUE(elided.contains(QChar(0x2026))) << elided.toStdString();
    EXPECT_TRUE(elided.startsWith("20")) << elided.toStdString();
    EXPECT_TRUE(elided.endsWith("il")) << elided.toStdString();
}

TEST_F(ControlSettingTest, SetCheckedSetsTheState)
{
    QCheckBox checkBox;
    CControlSetting::Set_Checked(&checkBox, true);
    EXPECT_TRUE(checkBox.isChecked());
    CControlSetting::Set_Checked(&checkBox, false);
    EXPECT_FALSE(checkBox.isChecked());
}

} // namespace
