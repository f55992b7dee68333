#pragma once

#include "toolkit/toolkit.h"

namespace velmora {

struct ConversionState;

// Registers the finder's handlers, the unit rows' menu commands and the main window's keys:
// Ctrl+F or a typed letter outside the rows opens the finder; Up / Down and Enter in it choose
// and jump, Escape closes it. In a row, Up / Down move between rows and Escape clears the page;
// Ctrl+PageUp / PageDown switch categories; Ctrl+Shift+C copies the focused row's value and
// unit. The finder's index is built from the settings file the first time it is opened.
void AddFindHandlers(HandlerTable& table, ConversionState& state);

}  // namespace velmora
