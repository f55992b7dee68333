#pragma once

#include "ui/toolkit/toolkit.h"

namespace velmora {

struct AppState;

// Registers the handlers of the main window's controls and menus: category buttons, unit rows,
// the settings and help buttons' menus, the link labels and the ways out. The window's own
// created and destroyed handlers belong to the program's start (app/startup.h).
void AddMainWindowHandlers(HandlerTable& table, AppState& state);

// Where the settings / help button opens its menu: a fixed offset from the window's corner.
QPoint GeneralMenuPosition(Window* window);
QPoint HelpMenuPosition(Window* window);

}  // namespace velmora
