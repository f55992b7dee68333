#pragma once

#include <QFont>

#include "toolkit/design.h"

class QObject;
class QWidget;

namespace velmora {

class Window;

// Creates the Qt object that realises one control design inside `parent` (a widget of `host`, or
// `host` itself). Geometry, texts and looks come from the design; events are wired to `host`.
QObject* RealiseControl(Window* host, const ControlDesign& design, QWidget* parent);

// Gives `copy` the run-time properties of `original` (both of `kind`): place, size, text,
// visibility, enabled state, colours, font, cursor and pictures.
void CopyProperties(Kind kind, const QObject* original, QObject* copy);

// The machine's CJK font family, which stands in for the Chinese system font of the designs
// ("宋体", "SimSun"), for the Latin digits as well.
inline constexpr const char* kCjkFamily = "Noto Sans CJK SC";
inline constexpr const char* kChineseSystemFamilies[] = {"宋体", "SimSun"};
bool IsChineseSystemFamily(const QString& family);

// The font a design asks for, at its pixel size (12 when the design gives none).
QFont DesignFont(const FontDesign& font);

}  // namespace velmora
