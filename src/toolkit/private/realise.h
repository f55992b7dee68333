#pragma once

#include "toolkit/design.h"

class QObject;
class QWidget;

namespace velmora {

class Window;

// Creates the Qt object that realises one control design inside `parent` (a widget of `host`, or
// `host` itself). Geometry, texts and looks come from the design; events are wired to `host`.
// Each kind's own file makes its widget; this adds what every widget takes from its design.
QObject* RealiseControl(Window* host, const ControlDesign& design, QWidget* parent);

// Gives `copy` the run-time properties of `original` (both of `kind`): place, size, text,
// visibility, enabled state, colours, font, cursor and pictures.
void CopyProperties(Kind kind, const QObject* original, QObject* copy);

}  // namespace velmora
