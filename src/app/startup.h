#pragma once

#include "ui/toolkit/toolkit.h"

namespace velmora {

struct AppState;

// Every handler the main window's design binds, the window's own ones included.
HandlerTable MainWindowHandlers(AppState& state);

// The main window's created handler: the start-up work done before the window is first shown.
void OnMainWindowCreated(AppState& state, Window* window);

// Runs the program's start in this process up to the shown main window, without entering the
// message loop: loads MainWindow, whose created handler reads the settings. `state` must outlive
// the window. Returns the window (it owns itself), or nullptr when it was destroyed while
// starting.
Window* StartProgram(AppState& state);

}  // namespace velmora
