#pragma once

#include "toolkit/toolkit.h"

namespace velmora {

struct AppState;

// The unit manager's handlers, made anew for every opening of the window: choosing a category
// loads its unit list into the grid, the commands edit the grid, and Apply makes the grid the
// category's stored list. `main_window` is not needed: the manager talks only to the settings
// file, and the main window picks up its changes when it next builds a page.
HandlerTable UnitManagerWindowHandlers(AppState& state, Window* main_window);

}  // namespace velmora
