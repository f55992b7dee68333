#pragma once

#include <QImage>

namespace velmora::pictures {

// The program icon at `size` pixels (16, 32, 48, 72 or 128): a blue tile with two opposed arrows
// over a ruler. The 16 pixel image is drawn pixel by pixel so that it stays sharp.
QImage MakeIcon(int size);

}  // namespace velmora::pictures
