#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

// Pictures for screens of any device pixel ratio. Sizes and frame positions
// are in device-independent pixels, so a "name@2x.png" strip, twice as large
// in pixels, shows the same frames in the same places as "name.png".
namespace HiDpiPixmap {

// The picture at path, or its "@2x" version beside it when the application's
// device pixel ratio is above 1 and that file exists (Qt gives it ratio 2).
QPixmap load(const QString& path);

// The "@2x" version's path of path: ":/images/a.png" -> ":/images/a@2x.png".
QString doubleSizePath(const QString& path);

// Size of one of count equal pictures side by side, in device-independent pixels.
QSize frameSize(const QPixmap& strip, int count);

// Picture index (from 0) of count, in the strip's own pixels, to draw from.
QRect frameSource(const QPixmap& strip, int count, int index);

} // namespace HiDpiPixmap
