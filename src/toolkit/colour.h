#pragma once

#include <QColor>

#include "toolkit/design.h"

namespace velmora {

// Colours of the designs are 0x00BBGGRR.
inline QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

inline Colour FromQColor(const QColor& colour) {
  return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8) |
         (static_cast<Colour>(colour.blue()) << 16);
}

}  // namespace velmora
