#include "base_ui/tools/HiDpiPixmap.h"

#include <QFile>
#include <QGuiApplication>

namespace HiDpiPixmap {

QPixmap load(const QString& path)
{
    if (qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0) {
        const QString doubled = doubleSizePath(path);
        if (QFile::exists(doubled)) {
            return QPixmap(doubled);
        }
    }
    return QPixmap(path);
}

QString doubleSizePath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const qsizetype dot = path.lastIndexOf('.');
    if (dot <= slash + 1) {
        return path + "@2x";
    }
    return path.left(dot) + "@2x" + path.mid(dot);
}

QSize frameSize(const QPixmap& strip, int count)
{
    const QSizeF size = strip.deviceIndependentSize();
    return QSize(qRound(size.width()) / (count < 1 ? 1 : count), qRound(size.height()));
}

QRect frameSource(const QPixmap& strip, int count, int index)
{
    const qreal ratio = strip.devicePixelRatio();
    const int width = frameSize(strip, count).width();
    return QRect(qRound(index * width * ratio), 0, qRound(width * ratio), strip.height());
}

} // namespace HiDpiPixmap
