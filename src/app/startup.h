#pragma once

#include <thread>

#include "toolkit/toolkit.h"

class QLocale;
class QTranslator;

namespace velmora {

struct ProgramState;

// Every handler the main window's design binds, the window's own ones included.
HandlerTable MainWindowHandlers(ProgramState& state);

// The main window's created handler: starts the notice fetches, cuts the outline, reads the
// settings, names the category buttons, applies the style, builds the remembered page, dresses
// the buttons and shows the window, in this order.
void OnMainWindowCreated(ProgramState& state, Window* window);
// The main window's destroying handler: remembers the page on show (when the settings ask for
// it) and takes the icon out of the notification area.
void OnMainWindowDestroyed(ProgramState& state, Window* window);

// Reads the machine's font configuration on a thread of its own, to be started before the
// application object: the first text drawn then finds it ready instead of reading it while the
// window is built. The thread ends by itself.
std::jthread StartFontWarmUp();

// Qt's own texts (the edit boxes' context menu, the standard buttons of message boxes) follow a
// Chinese locale when the system has Qt's translations for it installed. Returns the installed
// translator (owned by the application), or nullptr: other locales keep Qt's English.
QTranslator* InstallQtTranslations(const QLocale& locale);

// Runs the program's start in this process up to the shown main window, without entering the
// message loop: starts decoding the first frame's pictures, loads MainWindow, whose created handler
// does the start-up work. `state` must outlive the window. Returns the window (it owns itself), or
// nullptr when it was destroyed while starting.
Window* StartProgram(ProgramState& state);

}  // namespace velmora
