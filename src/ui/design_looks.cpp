#include "ui/design_looks.h"

#include <string>
#include <utility>

namespace velmora {

ControlDesign PlacedControl(Kind kind, std::string name, std::string parent, int left, int top,
                            int width, int height) {
  ControlDesign control;
  control.kind = kind;
  control.name = std::move(name);
  control.parent = std::move(parent);
  control.left = left;
  control.top = top;
  control.width = width;
  control.height = height;
  return control;
}

ControlDesign MakeControl(const ControlRow& row) {
  ControlDesign control =
      PlacedControl(row.kind, row.name, row.parent, row.left, row.top, row.width, row.height);
  control.text = row.text;
  control.look = row.look;
  control.cursor = row.cursor;
  if (row.handler != nullptr) {
    const Event event = row.kind == Kind::EditBox            ? Event::ContentChanged
                        : row.kind == Kind::TransparentLabel ? Event::LeftButtonDown
                                                             : Event::Clicked;
    control.events.push_back({event, row.handler});
  }
  return control;
}

Look TextLook(Colour colour, int pixel_size) {
  Look look;
  look.text_colour = colour;
  look.font.pixel_size = pixel_size;
  return look;
}

Look PanelLook() {
  Look look;
  look.has_background = true;
  look.background = kLightGrey;
  return look;
}

Look PictureButtonLook(std::string_view stem) {
  const std::string base = ":/pictures/" + std::string(stem);
  Look look;
  look.picture = base + "-normal.png";
  look.picture_hover = base + "-hover.png";
  look.picture_pressed = base + "-pressed.png";
  return look;
}

}  // namespace velmora
