#pragma once

#include "toolkit/toolkit.h"

namespace velmora {

struct AppState;

// The handlers of the options window's design. `main_window` is restyled and re-displayed by
// Apply.
HandlerTable OptionsWindowHandlers(AppState& state, Window* main_window);

// The created handler: outline and style, routes the focus events of the 35 other tagged boxes
// to the decimal places box, and shows the settings held in memory and the button captions of
// the settings file.
void OnOptionsCreated(AppState& state, Window* window);

// Apply: takes the four numbers into memory, writes every setting of the dialog to the settings
// file as shown, restyles the main window and re-displays its page on show.
void ApplyOptions(AppState& state, Window* window, Window* main_window);

// The picture `预览框` shows for interface style 1 to 3; any other style shows none.
void ShowStylePreview(Window* window, int style);

}  // namespace velmora
