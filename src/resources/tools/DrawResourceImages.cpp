// Draws every image of the resource bundle with QPainter and writes them
// below the given resources directory (the folder that holds images/ and
// base_ui_image/). Run it after changing a drawing, then commit the images:
//
//     draw_resource_images src/resources
//
// Strips hold their pictures side by side, each picture the same width. The
// button strips follow the order normal, hover, pressed, disabled.

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <array>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor kBlue("#00a6f7");
const QColor kBlueHover("#2bb6fa");
const QColor kBluePressed("#0092f5");
const QColor kBlueDisabled("#a9def8");
const QColor kOrange("#ff9d1e");
const QColor kOrangeHover("#ffb14d");
const QColor kOrangePressed("#f08800");
const QColor kOrangeDisabled("#fcd7a6");
const QColor kGreyTrack("#c6cbd6");
const QColor kInk("#716d8b");
const QColor kMuted("#b4aeae");

// Colours of one picture of a four-state button strip.
struct ButtonLook
{
    QColor fill;
    QColor border;
};
using ButtonLooks = std::array<ButtonLook, 4>;

using FramePainter = std::function<void(QPainter&, const QRectF&, int)>;

// Pixels per drawing unit of the images being drawn: 1 for "name.png", 2 for
// the "name@2x.png" versions that Qt picks on screens of device pixel ratio 2.
int g_scale = 1;

// A transparent image of width x height drawing units; a painter on it draws
// in those units whatever the scale.
QImage NewImage(int width, int height)
{
    QImage image(width * g_scale, height * g_scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(g_scale);
    image.fill(Qt::transparent);
    return image;
}

// An image of `frames` pictures of `frameSize` side by side; `paint` draws
// picture k into its rectangle.
QImage DrawStrip(QSize frameSize, int frames, const FramePainter& paint)
{
    QImage image = NewImage(frameSize.width() * frames, frameSize.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < frames; ++k) {
        const QRectF frame(k * frameSize.width(), 0, frameSize.width(), frameSize.height());
        painter.save();
        painter.setClipRect(frame);
        paint(painter, frame, k);
        painter.restore();
    }
    return image;
}

QImage DrawSingle(QSize size, const std::function<void(QPainter&, const QRectF&)>& paint)
{
    return DrawStrip(size, 1, [&](QPainter& p, const QRectF& r, int) { paint(p, r); });
}

QColor Mix(const QColor& from, const QColor& to, double t)
{
    auto channel = [t](int a, int b) { return static_cast<int>(a + (b - a) * t + 0.5); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()), channel(from.alpha(), to.alpha()));
}

QPen RoundPen(const QColor& color, double width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Rounded flat button: fill and a one-pixel border, aligned to the pixel grid.
QImage DrawButtonStrip(QSize frameSize, const ButtonLooks& looks)
{
    return DrawStrip(frameSize, 4, [&](QPainter& p, const QRectF& frame, int state) {
        const ButtonLook& look = looks[static_cast<std::size_t>(state)];
        p.setPen(QPen(look.border, 1));
        p.setBrush(look.fill);
        p.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    });
}

// Six pictures from "on" (blue track, knob right) to "off" (grey, knob left).
QImage DrawSwitch()
{
    constexpr int kFrames = 6;
    return DrawStrip(QSize(42, 22), kFrames, [](QPainter& p, const QRectF& frame, int k) {
        const double t = static_cast<double>(k) / (kFrames - 1);
        const QRectF track = frame.adjusted(1, 2, -1, -2);
        p.setPen(Qt::NoPen);
        p.setBrush(Mix(kBlue, kGreyTrack, t));
        p.drawRoundedRect(track, track.height() / 2, track.height() / 2);

        constexpr double kKnob = 14;
        const double onX = track.right() - 2 - kKnob;
        const double offX = track.left() + 2;
        const QRectF knob(onX + (offX - onX) * t, track.top() + 2, kKnob, kKnob);
        p.setBrush(QColor(0, 0, 0, 30));
        p.drawEllipse(knob.translated(0, 0.8));
        p.setBrush(Qt::white);
        p.drawEllipse(knob);
    });
}

// White cross for a blue title band; hover and pressed add a soft round backdrop.
QImage DrawCloseStrip()
{
    return DrawStrip(QSize(24, 24), 4, [](QPainter& p, const QRectF& frame, int state) {
        const QPointF c = frame.center();
        const std::array<QColor, 4> backdrop = {QColor(Qt::transparent), QColor(255, 255, 255, 56),
                                                QColor(0, 40, 90, 56), QColor(Qt::transparent)};
        p.setPen(Qt::NoPen);
        p.setBrush(backdrop[static_cast<std::size_t>(state)]);
        p.drawEllipse(c, 9, 9);
        const int alpha = state == 3 ? 100 : (state == 0 ? 225 : 255);
        p.setPen(RoundPen(QColor(255, 255, 255, alpha), 1.6));
        constexpr double kArm = 4.2;
        p.drawLine(c + QPointF(-kArm, -kArm), c + QPointF(kArm, kArm));
        p.drawLine(c + QPointF(kArm, -kArm), c + QPointF(-kArm, kArm));
    });
}

QImage DrawLock()
{
    return DrawSingle(QSize(12, 14), [](QPainter& p, const QRectF&) {
        const QColor color("#b4bdd6");
        p.setPen(RoundPen(color, 1.5));
        p.setBrush(Qt::NoBrush);
        QPainterPath shackle;
        shackle.moveTo(3.25, 6.5);
        shackle.lineTo(3.25, 4.25);
        shackle.arcTo(QRectF(3.25, 1.0, 5.5, 6.5), 180, -180);
        shackle.lineTo(8.75, 6.5);
        p.drawPath(shackle);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(QRectF(0.5, 6, 11, 7.5), 1.5, 1.5);
        p.setBrush(QColor("#1a264b"));
        p.drawEllipse(QPointF(6, 9.2), 1.2, 1.2);
        p.drawRect(QRectF(5.5, 9.6, 1, 2.2));
    });
}

// Round 32 x 32 icon: a filled disc, then the symbol drawn in white.
QImage DrawRoundIcon(const QColor& disc, const std::function<void(QPainter&)>& symbol)
{
    return DrawSingle(QSize(32, 32), [&](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        p.setBrush(disc);
        p.drawEllipse(QPointF(16, 16), 15, 15);
        symbol(p);
    });
}

void DrawExclamation(QPainter& p)
{
    p.setPen(RoundPen(Qt::white, 3));
    p.drawLine(QPointF(16, 8.5), QPointF(16, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 23.2), 1.8, 1.8);
}

void DrawCross(QPainter& p)
{
    p.setPen(RoundPen(Qt::white, 3));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
}

void DrawCheck(QPainter& p)
{
    p.setPen(RoundPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    const QPointF tick[] = {QPointF(9.5, 16.5), QPointF(14, 21), QPointF(22.5, 11.5)};
    p.drawPolyline(tick, 3);
}

void DrawQuestion(QPainter& p)
{
    p.setPen(RoundPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(11.8, 12.2);
    hook.arcTo(QRectF(11.8, 7.6, 8.4, 8.4), 180, -235);
    hook.quadTo(16, 16.2, 16, 18.6);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 23.4), 1.8, 1.8);
}

QImage DrawUserIcon()
{
    return DrawSingle(QSize(32, 32), [](QPainter& p, const QRectF&) {
        QPainterPath disc;
        disc.addEllipse(QPointF(16, 16), 15, 15);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#e3f4fe"));
        p.drawPath(disc);
        p.setClipPath(disc);
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(16, 12.5), 5.5, 5.5);
        p.drawEllipse(QRectF(5.5, 20, 21, 18));
    });
}

QImage DrawBadge()
{
    return DrawSingle(QSize(32, 32), [](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(16, 16), 15, 15);
    });
}

// Two 14 x 14 pictures of an "i" sign: muted outline, then filled blue (hovered).
QImage DrawAboutStrip()
{
    return DrawStrip(QSize(14, 14), 2, [](QPainter& p, const QRectF& frame, int k) {
        const QPointF c = frame.center();
        const bool hovered = k == 1;
        p.setPen(hovered ? QPen(Qt::NoPen) : QPen(kMuted, 1.2));
        p.setBrush(hovered ? QBrush(kBlue) : QBrush(Qt::NoBrush));
        p.drawEllipse(c, 6.2, 6.2);
        const QColor ink = hovered ? QColor(Qt::white) : kMuted;
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(c + QPointF(0, -3.1), 1.0, 1.0);
        p.setPen(RoundPen(ink, 1.5));
        p.drawLine(c + QPointF(0, -0.6), c + QPointF(0, 3.4));
    });
}

QImage DrawDownArrow()
{
    return DrawSingle(QSize(12, 8), [](QPainter& p, const QRectF&) {
        p.setPen(RoundPen(kInk, 1.6));
        p.setBrush(Qt::NoBrush);
        const QPointF chevron[] = {QPointF(2, 2.2), QPointF(6, 6), QPointF(10, 2.2)};
        p.drawPolyline(chevron, 3);
    });
}

// Sort indicator: a filled triangle pointing up (values grow towards the
// top) or down.
QImage DrawSortArrow(bool up)
{
    return DrawSingle(QSize(9, 6), [up](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        const QPointF upward[] = {QPointF(0, 6), QPointF(4.5, 0), QPointF(9, 6)};
        const QPointF downward[] = {QPointF(0, 0), QPointF(4.5, 6), QPointF(9, 0)};
        p.drawPolygon(up ? upward : downward, 3);
    });
}

QImage DrawCalendar()
{
    return DrawSingle(QSize(16, 16), [](QPainter& p, const QRectF&) {
        const QRectF body(1.5, 2.5, 13, 12);
        p.setPen(QPen(kBlue, 1.2));
        p.setBrush(Qt::white);
        p.drawRoundedRect(body, 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 2.5, 13, 3.5));
        p.setPen(RoundPen(kBlue, 1.6));
        p.drawLine(QPointF(5, 1), QPointF(5, 4));
        p.drawLine(QPointF(11, 1), QPointF(11, 4));
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 3; ++column) {
                p.drawRect(QRectF(3.8 + column * 3.2, 7.8 + row * 3.2, 2, 2));
            }
        }
    });
}

// Two 16 x 16 radio pictures: unchecked, checked.
QImage DrawRadioStrip()
{
    return DrawStrip(QSize(16, 16), 2, [](QPainter& p, const QRectF& frame, int k) {
        const QPointF c = frame.center();
        const bool checked = k == 1;
        p.setPen(QPen(checked ? kBlue : kMuted, 1.2));
        p.setBrush(Qt::white);
        p.drawEllipse(c, 6.5, 6.5);
        if (checked) {
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawEllipse(c, 3.5, 3.5);
        }
    });
}

// Application icon: a blue shield with a white tick.
QImage DrawAppIcon()
{
    return DrawSingle(QSize(32, 32), [](QPainter& p, const QRectF&) {
        QPainterPath shield;
        shield.moveTo(16, 2);
        shield.cubicTo(20, 4.5, 24, 5.5, 28, 5.5);
        shield.cubicTo(28, 18, 24, 25.5, 16, 30);
        shield.cubicTo(8, 25.5, 4, 18, 4, 5.5);
        shield.cubicTo(8, 5.5, 12, 4.5, 16, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPath(shield);
        p.setPen(RoundPen(Qt::white, 3));
        p.setBrush(Qt::NoBrush);
        const QPointF tick[] = {QPointF(10.5, 16), QPointF(14.5, 20), QPointF(21.5, 12)};
        p.drawPolyline(tick, 3);
    });
}

bool Save(const QImage& image, const QString& path, const char* format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, format);
    if (!writer.write(image.convertToFormat(QImage::Format_ARGB32))) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_DIR\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString images = root + "/images/";
    const QString box = root + "/base_ui_image/CInfoMessageBox/";

    const ButtonLooks blue = {{{kBlue, kBlue},
                               {kBlueHover, kBlueHover},
                               {kBluePressed, kBluePressed},
                               {kBlueDisabled, kBlueDisabled}}};
    const ButtonLooks orange = {{{kOrange, kOrange},
                                 {kOrangeHover, kOrangeHover},
                                 {kOrangePressed, kOrangePressed},
                                 {kOrangeDisabled, kOrangeDisabled}}};
    const ButtonLooks outlined = {{{Qt::white, kBlue},
                                   {QColor("#e6f6fe"), kBlue},
                                   {QColor("#c6eafd"), kBluePressed},
                                   {QColor("#f3f4f7"), QColor("#dde1e8")}}};
    const ButtonLooks neutral = {{{Qt::white, QColor("#c4c9d4")},
                                  {QColor("#f1f3f6"), QColor("#a7aebb")},
                                  {QColor("#e2e5ea"), QColor("#939bab")},
                                  {QColor("#f6f7f9"), QColor("#e2e5ea")}}};

    struct Picture
    {
        QString directory;
        QString name;
        const char* format;
        std::function<QImage()> draw;
    };
    const std::vector<Picture> pictures = {
        {images, "pix_switch", "png", [&] { return DrawSwitch(); }},
        {images, "pix_btn_close", "png", [&] { return DrawCloseStrip(); }},
        {images, "pix_button", "png", [&] { return DrawButtonStrip(QSize(70, 30), outlined); }},
        {images, "pix_button_cancel", "png",
         [&] { return DrawButtonStrip(QSize(70, 30), neutral); }},
        {images, "pix_data", "png", [&] { return DrawCalendar(); }},
        {images, "pix_down_arrow", "png", [&] { return DrawDownArrow(); }},
        {images, "asc", "png", [&] { return DrawSortArrow(true); }},
        {images, "desc", "png", [&] { return DrawSortArrow(false); }},
        {images, "pix_list_about", "png", [&] { return DrawAboutStrip(); }},
        {images, "pix_list_num", "png", [&] { return DrawBadge(); }},
        {images, "pix_radio_btn", "png", [&] { return DrawRadioStrip(); }},
        {box, "hvn_icon", "ico", [&] { return DrawAppIcon(); }},
        {box, "info_close", "png", [&] { return DrawCloseStrip(); }},
        {box, "pix_btn_blue", "png", [&] { return DrawButtonStrip(QSize(70, 30), blue); }},
        {box, "pix_btn_orange", "png", [&] { return DrawButtonStrip(QSize(70, 30), orange); }},
        {box, "pix_lock", "png", [&] { return DrawLock(); }},
        {box, "pix_orange_exclamation", "png",
         [&] { return DrawRoundIcon(kOrange, DrawExclamation); }},
        {box, "pix_orange_fail", "png", [&] { return DrawRoundIcon(kOrange, DrawCross); }},
        {box, "pix_blue_success", "png", [&] { return DrawRoundIcon(kBlue, DrawCheck); }},
        {box, "pix_blue_ask", "png", [&] { return DrawRoundIcon(kBlue, DrawQuestion); }},
        {box, "pix_usr_icon", "png", [&] { return DrawUserIcon(); }},
    };

    bool ok = true;
    for (const int scale : {1, 2}) {
        g_scale = scale;
        const QString suffix = scale == 1 ? QString() : QString("@%1x").arg(scale);
        for (const Picture& picture : pictures) {
            const QString file = picture.directory + picture.name + suffix + "." + picture.format;
            ok &= Save(picture.draw(), file, picture.format);
        }
    }
    return ok ? 0 : 1;
}
