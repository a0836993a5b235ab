// Strip controls at device pixel ratio 2 (the test runs with QT_SCALE_FACTOR=2):
// each shows the "@2x" picture of the frame it shows at 1x, cut in
// device-independent pixels. The reference is the same control over a copy
// of the 1x strip alone, which Qt draws scaled up.

#include "TestDirectory.h"
#include "base_ui/controls/CCheckBox.h"
#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CSkinPixmap.h"
#include "base_ui/controls/CSwitchButton.h"
#include "base_ui/tools/HiDpiPixmap.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

namespace {

// Mean absolute difference per colour channel, 0 to 255.
double MeanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * x.width() * x.height());
}

// The widget drawn at device pixel ratio 2 on a dark blue, under which the
// white crosses of the close buttons show as well as the light buttons.
QImage Render(QWidget& widget)
{
    QImage image(widget.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(QColor(0, 70, 140));
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Picture frame of count in the "@2x" file beside path, drawn like Render
// draws: what a sharp control shows.
QImage DoubleSizeFrame(const QString& path, int count, int frame)
{
    const QImage single(path);
    QImage doubled(HiDpiPixmap::doubleSizePath(path));
    doubled.setDevicePixelRatio(1);
    const int width = single.width() / count * 2;
    QImage image(width, single.height() * 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0, 70, 140));
    QPainter(&image).drawImage(0, 0, doubled.copy(frame * width, 0, width, image.height()));
    return image;
}

// A copy of the 1x picture at path in dir, with no "@2x" beside it.
QString SingleSizeCopy(const TestDirectory& dir, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? dir.Write("single.png", file.readAll()) : QString();
}

// Makes a strip control over a picture and shows frame k of it.
struct StripControl
{
    const char* name;
    QString path;
    int frames;
    std::function<std::unique_ptr<QWidget>(const QString& path)> make;
    std::function<void(QWidget& control, int frame)> show;
};

void PrintTo(const StripControl& control, std::ostream* out)
{
    *out << control.name;
}

std::unique_ptr<QWidget> MakeButton(const QString& path)
{
    return std::make_unique<CCommonButton>(path, 4);
}

// Pictures 0..3 of a button's strip are its states normal, hover, pressed, disabled.
void ShowButtonFrame(QWidget& control, int frame)
{
    static const int kStates[] = {CCommonButton::StateNormal, CCommonButton::StateHover,
                                  CCommonButton::StatePressed, CCommonButton::StateDisabled};
    auto& button = static_cast<CCommonButton&>(control);
    button.setEnabled(frame != 3);
    button.setState(kStates[frame]);
}

std::unique_ptr<QWidget> MakeSwitch(const QString& path)
{
    return std::make_unique<CSwitchButton>(path);
}

void ShowSwitchFrame(QWidget& control, int frame)
{
    control.findChild<CSkinPixmap*>()->showFrame(6, frame + 1);
}

std::unique_ptr<QWidget> MakeCheckBox(const QString& path)
{
    auto box = std::make_unique<CCheckBox>();
    box->setImage(path);
    return box;
}

// Unchecked shows picture 0, checked picture 2.
void ShowCheckBoxFrame(QWidget& control, int frame)
{
    static_cast<CCheckBox&>(control).setChecked(frame == 2);
}

// A four-picture 12 x 12 check-box strip at the given scale: an outlined box
// in a colour of its own per picture, with a tick in the third.
QImage DrawCheckBoxStrip(int scale)
{
    QImage image(48 * scale, 12 * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {Qt::gray, Qt::blue, Qt::darkGreen, Qt::red};
    for (int k = 0; k < 4; ++k) {
        const QRectF frame(k * 12 + 1, 1, 10, 10);
        painter.setPen(QPen(colours[k], 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);
        if (k == 2) {
            painter.drawPolyline(
                QPolygonF({QPointF(3, 6), QPointF(5, 9), QPointF(9, 3)}).translated(k * 12, 0));
        }
    }
    return image;
}

class HiDpiStripTest : public ::testing::TestWithParam<StripControl>
{
protected:
    TestDirectory m_dir;
};

TEST(HiDpiPixmapTest, LoadsTheDoubleSizePictureAtRatioTwo)
{
    ASSERT_EQ(qGuiApp->devicePixelRatio(), 2.0);
    EXPECT_EQ(HiDpiPixmap::doubleSizePath(":/images/pix_switch.png"), ":/images/pix_switch@2x.png");
    const QPixmap strip = HiDpiPixmap::load(":/images/pix_switch.png");
    EXPECT_EQ(strip.devicePixelRatio(), 2.0);
    EXPECT_EQ(strip.size(), QSize(504, 44));
    EXPECT_EQ(HiDpiPixmap::frameSize(strip, 6), QSize(42, 22));
    EXPECT_EQ(HiDpiPixmap::frameSource(strip, 6, 2), QRect(168, 0, 84, 44));

    TestDirectory dir;
    const QPixmap single = HiDpiPixmap::load(SingleSizeCopy(dir, ":/images/pix_switch.png"));
    EXPECT_EQ(single.devicePixelRatio(), 1.0);
    EXPECT_EQ(HiDpiPixmap::frameSize(single, 6), QSize(42, 22));
    EXPECT_EQ(HiDpiPixmap::frameSource(single, 6, 2), QRect(84, 0, 42, 22));
}

// Every frame at ratio 2 keeps the 1x size and matches the 1x frame scaled
// up; the neighbouring 1x frame does not match, so the tolerance tells frames apart.
TEST_P(HiDpiStripTest, EachFrameMatchesTheScaledSingleSizeFrame)
{
    const StripControl& strip = GetParam();
    const auto sharp = strip.make(strip.path);
    const auto scaled = strip.make(SingleSizeCopy(m_dir, strip.path));
    ASSERT_EQ(sharp->size(), scaled->size());
    constexpr double kSameFrame = 6.0;
    for (int frame = 0; frame < strip.frames; ++frame) {
        strip.show(*sharp, frame);
        strip.show(*scaled, frame);
        const QImage image = Render(*sharp);
        EXPECT_EQ(image.size(), scaled->size() * 2);
        EXPECT_LT(MeanDifference(image, DoubleSizeFrame(strip.path, strip.frames, frame)), 0.5)
            << strip.name << " frame " << frame;
        const double same = MeanDifference(image, Render(*scaled));
        EXPECT_LT(same, kSameFrame) << strip.name << " frame " << frame;

        const int other = frame == 0 ? strip.frames - 1 : frame - 1;
        strip.show(*scaled, other);
        EXPECT_GT(MeanDifference(image, Render(*scaled)), same)
            << strip.name << " frame " << frame << " against " << other;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, HiDpiStripTest,
    ::testing::Values(
        StripControl{"button", ":/images/pix_button.png", 4, MakeButton, ShowButtonFrame},
        StripControl{"blue_button", ":/base_ui_image/CInfoMessageBox/pix_btn_blue.png", 4,
                     MakeButton, ShowButtonFrame},
        StripControl{"close", ":/images/pix_btn_close.png", 4, MakeButton, ShowButtonFrame},
        StripControl{"box_close", ":/base_ui_image/CInfoMessageBox/info_close.png", 4, MakeButton,
                     ShowButtonFrame},
        StripControl{"switch", ":/images/pix_switch.png", 6, MakeSwitch, ShowSwitchFrame}),
    [](const ::testing::TestParamInfo<StripControl>& info) { return info.param.name; });

TEST(HiDpiCheckBoxTest, CheckedAndUncheckedFramesMatchTheScaledSingleSizeFrames)
{
    TestDirectory dir;
    DrawCheckBoxStrip(1).save(dir.FilePath("box.png"));
    DrawCheckBoxStrip(2).save(dir.FilePath("box@2x.png"));
    DrawCheckBoxStrip(1).save(dir.FilePath("single.png"));
    const auto sharp = MakeCheckBox(dir.FilePath("box.png"));
    const auto scaled = MakeCheckBox(dir.FilePath("single.png"));
    for (const int frame : {0, 2}) {
        ShowCheckBoxFrame(*sharp, frame);
        ShowCheckBoxFrame(*scaled, frame);
        const QImage image = Render(*sharp);
        const double same = MeanDifference(image, Render(*scaled));
        EXPECT_LT(same, 1.0) << "frame " << frame;
        ShowCheckBoxFrame(*scaled, 2 - frame);
        EXPECT_GT(MeanDifference(image, Render(*scaled)), same) << "frame " << frame;
    }
}

} // namespace
