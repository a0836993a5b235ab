// Draws the 40 x 40 category icons that the catalogue expects from the host
// ("://src_personal/images/png/icons/tools_pix/...") into the given
// directory, for the tests' stand-in resource file tool_icons.qrc. Run it
// after changing a drawing, then commit the images:
//
//     draw_tool_icons tests/support/tool_icons

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

const QColor kBlue("#00a6f7");
const QColor kWhite("#ffffff");
constexpr int kSize = 40;

using IconPainter = std::function<void(QPainter&)>;

// A blue disc with a white figure drawn by `paint` in a 40 x 40 square.
QImage DrawIcon(const IconPainter& paint)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBlue);
    painter.drawEllipse(QRectF(1, 1, kSize - 2, kSize - 2));
    painter.setPen(QPen(kWhite, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    paint(painter);
    return image;
}

// Program start: a play triangle.
void PaintStart(QPainter& p)
{
    p.setBrush(kWhite);
    p.drawPolygon(QPolygonF({QPointF(16, 12), QPointF(29, 20), QPointF(16, 28)}));
}

// Execute scan: a magnifier.
void PaintScan(QPainter& p)
{
    p.drawEllipse(QPointF(18, 18), 7, 7);
    p.drawLine(QPointF(23, 23), QPointF(29, 29));
}

// Ransomware found: a virus, a body with spikes.
void PaintVirus(QPainter& p)
{
    p.drawEllipse(QPointF(20, 20), 6, 6);
    for (int k = 0; k < 8; ++k) {
        const double angle = k * M_PI / 4;
        const QPointF from(20 + 7 * qCos(angle), 20 + 7 * qSin(angle));
        const QPointF to(20 + 11 * qCos(angle), 20 + 11 * qSin(angle));
        p.drawLine(from, to);
    }
}

// Heartbeat: a heart.
void PaintHeart(QPainter& p)
{
    QPainterPath heart(QPointF(20, 29));
    heart.cubicTo(QPointF(8, 21), QPointF(11, 10), QPointF(20, 16));
    heart.cubicTo(QPointF(29, 10), QPointF(32, 21), QPointF(20, 29));
    p.setBrush(kWhite);
    p.drawPath(heart);
}

// Download update package: an arrow into a tray.
void PaintDownload(QPainter& p)
{
    p.drawLine(QPointF(20, 10), QPointF(20, 23));
    p.drawPolyline(QPolygonF({QPointF(15, 18), QPointF(20, 23), QPointF(25, 18)}));
    p.drawPolyline(QPolygonF({QPointF(12, 24), QPointF(12, 29), QPointF(28, 29), QPointF(28, 24)}));
}

// Behaviour monitor: an eye.
void PaintMonitor(QPainter& p)
{
    QPainterPath eye(QPointF(10, 20));
    eye.quadTo(QPointF(20, 9), QPointF(30, 20));
    eye.quadTo(QPointF(20, 31), QPointF(10, 20));
    p.drawPath(eye);
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(20, 20), 3, 3);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_tool_icons DIRECTORY\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const struct
    {
        const char* name;
        IconPainter paint;
    } icons[] = {
        {"pix_logreport.png", PaintStart},   {"pix_scan.png", PaintScan},
        {"pix_virus.png", PaintVirus},       {"pix_heart.png", PaintHeart},
        {"pix_download.png", PaintDownload}, {"pic_start.png", PaintMonitor},
    };
    int status = 0;
    for (const auto& icon : icons) {
        const QString path = dir.filePath(icon.name);
        if (!DrawIcon(icon.paint).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            status = 1;
        }
    }
    return status;
}
