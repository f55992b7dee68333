#pragma once

#include "toolkit/design.h"

class QObject;
class QWidget;

namespace velmora {

class Window;

// The kinds that Qt's own classes realise without a class of the toolkit: push, check and radio
// buttons, group boxes, canvases and shape boxes (frames), timers, and the holders of hyperlink
// boxes and menu skins. Each kind's make and copy functions; realise.cpp picks them by kind.

// Kind::Button, Kind::CheckBox, Kind::RadioButton: raise clicked.
QWidget* MakeButton(Window* host, const ControlDesign& design, QWidget* parent);
QWidget* MakeCheckBox(Window* host, const ControlDesign& design, QWidget* parent);
QWidget* MakeRadioButton(Window* host, const ControlDesign& design, QWidget* parent);
// Gives a copy of any of the three the original's caption.
void CopyButtonCaption(const QWidget* original, QWidget* copy);

QWidget* MakeGroupBox(const ControlDesign& design, QWidget* parent);
// Kind::Canvas (a plain panel) and Kind::ShapeBox (a panel with a box frame).
QWidget* MakeFrame(const ControlDesign& design, QWidget* parent);

// Kind::Timer: raises tick; stopped until code sets its interval.
QObject* MakeTimer(Window* host);
void CopyTimer(const QObject* original, QObject* copy);
// Kind::HyperlinkBox and Kind::MenuSkin: no widget, only the design's text as the "address".
QObject* MakeHolder(Window* host, const ControlDesign& design);
void CopyHolder(const QObject* original, QObject* copy);

}  // namespace velmora
