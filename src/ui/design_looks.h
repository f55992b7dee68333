#pragma once

#include <string>
#include <string_view>

#include "toolkit/design.h"

namespace velmora {

// Looks and placements the window designs share.

// The close picture button that every window has in its top right corner.
inline constexpr const char* kCloseButton = "控件_图形按钮_关闭";

// One fixed control of a window as a line of the window's control table: kind, design name,
// parent ("" for the window), place and size, text, look, cursor and the handler of its one event
// (nullptr for none). That event is content changed for an edit box, the left button going down
// for a transparent label and a click for every other kind.
struct ControlRow {
  Kind kind;
  const char* name;
  const char* parent;
  int left;
  int top;
  int width;
  int height;
  std::string text;
  Look look;
  Cursor cursor;
  const char* handler;
};

// The control design of a row; everything the row does not hold as a control design starts.
ControlDesign MakeControl(const ControlRow& row);

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
