#pragma once

#include <string>
#include <string_view>

#include "toolkit/design.h"

namespace velmora {

// Looks and placements the window designs share.

// A control of `kind` named `name`, placed in `parent` (the window when empty) at left, top with
// the size width x height; everything else as a control design starts.
ControlDesign PlacedControl(Kind kind, std::string name, std::string parent, int left, int top,
                            int width, int height);

// Text of a colour at a pixel size of the design font.
Look TextLook(Colour colour, int pixel_size = 12);
// The light grey of every window's panels.
Look PanelLook();
// A picture button drawn from ":/pictures/<stem>-normal.png", "-hover.png" and "-pressed.png".
Look PictureButtonLook(std::string_view stem);

}  // namespace velmora
