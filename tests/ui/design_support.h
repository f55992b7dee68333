#pragma once

#include <QRect>

#include "toolkit/design.h"

namespace velmora::testing {

// A control design of `kind` named `name` at `place`, with its text and tag.
inline ControlDesign Make(Kind kind, const char* name, QRect place = {}, const char* text = "",
                          const char* tag = "") {
  ControlDesign control;
  control.kind = kind;
  control.name = name;
  control.left = place.x();
  control.top = place.y();
  control.width = place.width();
  control.height = place.height();
  control.text = text;
  control.tag = tag;
  return control;
}

}  // namespace velmora::testing
