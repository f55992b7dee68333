#pragma once

#include <QImage>

namespace velmora::pictures {

// The three window backgrounds, 1024 x 768. Windows show them from their top-left corner, so the
// top band (title and menu buttons) and the main window's bottom band (notice lines) stay dark
// enough for white text in all three.
QImage MakeBluePhantomBackground();
QImage MakeGreenHillsBackground();
QImage MakeVistaBackground();

}  // namespace velmora::pictures
