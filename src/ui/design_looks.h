#pragma once

#include <string_view>

#include "toolkit/design.h"

namespace velmora {

// Looks the window designs share.

// Text of a colour at a pixel size of the design font.
Look TextLook(Colour colour, int pixel_size = 12);
// The light grey of every window's panels.
Look PanelLook();
// A picture button drawn from ":/pictures/<stem>-normal.png", "-hover.png" and "-pressed.png".
Look PictureButtonLook(std::string_view stem);

}  // namespace velmora
