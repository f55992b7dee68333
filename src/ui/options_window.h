#pragma once

#include "toolkit/toolkit.h"

namespace velmora {

struct ConversionState;

// The handlers of the options window's design. `main_window` is restyled and re-displayed by
// Apply.
HandlerTable OptionsWindowHandlers(ConversionState& state, Window* main_window);

// The created handler: outline and style, routes the focus events of the 35 other tagged boxes
// to the decimal places box, and shows the settings held in memory and the button captions of
// the settings file.
void OnOptionsCreated(ConversionState& state, Window* window);

// Apply: refuses a number box outside its range (decimal places 0 to 15, the two spacings 1 to 1000
// pixels, rows per column 1 to 49) with a message naming the field and the focus in that box,
// writing nothing. Otherwise takes the four numbers into memory, writes every setting of the
// dialog to the settings file as shown, restyles the main window and the dialog and re-displays
// the main window's page on show. True when the settings were applied.
bool ApplyOptions(ConversionState& state, Window* window, Window* main_window);

// OK (and Enter anywhere in the dialog): Apply, and close the dialog when Apply took the settings.
void ConfirmOptions(ConversionState& state, Window* window, Window* main_window);

// The caption of the decimal places box after the significant digits box: "有效数字位数：" while
// it is ticked, "小数保留位数：" otherwise.
void ShowDecimalsCaption(Window* window);

// The picture `预览框` shows for interface style 1 to 3; any other style shows none.
void ShowStylePreview(Window* window, int style);

}  // namespace velmora
