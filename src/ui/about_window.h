#pragma once

#include <string_view>

#include "toolkit/toolkit.h"

namespace velmora {

struct AppState;

// The handlers of the About window's design.
HandlerTable AboutWindowHandlers(AppState& state, Window* main_window);

// The created handler: the style, the outline, then the homepage link.
void OnAboutCreated(AppState& state, Window* window);

// Points the homepage label and the link box at `address`; with no address the label is hidden
// and the link box stays empty, so nothing can be opened.
void ShowAboutHomepage(Window* window, std::string_view address);

}  // namespace velmora
