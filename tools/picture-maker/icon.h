#pragma once

#include <QImage>

namespace velmora::pictures {

// The program icon at `size` pixels (16, 32, 48, 72 or 128): a blue tile with two opposed arrows
// over a ruler. The 16 pixel image is drawn pixel by pixel so that it stays sharp.
QImage MakeIcon(int size);

// The About window's 48 x 48 picture: the program's tile with an information badge.
QImage MakeAboutPicture();

}  // namespace velmora::pictures
