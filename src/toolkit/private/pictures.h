#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace velmora {

// A picture from the resources, cached; a null pixmap when it does not exist. With a `clip` (in
// logical pixels), only its top-left part of that size. Where the screen has more than one device
// pixel per logical pixel, the picture drawn for two (its `name@2x` file) when there is one: its
// device pixel ratio is then 2, and its logical size (deviceIndependentSize) that of the 1x file.
// A prefetched picture (see picture_prefetch.h) is taken rather than decoded again.
QPixmap LoadPicture(const QString& path, QSize clip = {});

}  // namespace velmora
