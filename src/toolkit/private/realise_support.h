#pragma once

#include <QPalette>
#include <QString>
#include <string>

#include "toolkit/design.h"

class QAbstractButton;
class QWidget;

namespace velmora {

class Window;

// What realising any kind of control uses: design texts, alignments and colours as Qt takes
// them, and the click of a button wired to its window.

// Design texts may break lines the platform's way.
QString DesignText(const std::string& text);
Qt::Alignment ToAlignment(Align align);
// The look's text colour for every text role, and its background (when it has one) for
// `background_role`; a window-coloured background is filled.
void ApplyColours(QWidget* widget, const Look& look, QPalette::ColorRole background_role);
// Raises the button's clicked event on `host`; returns the button.
QWidget* MakeClickable(Window* host, QAbstractButton* button);

}  // namespace velmora
