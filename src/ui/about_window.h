#pragma once

#include <string>
#include <string_view>

#include "toolkit/toolkit.h"

namespace velmora {

struct Settings;

// The handlers of the About window's design, styled by `settings`, its homepage link pointing at
// `homepage_address` as it is when the window opens.
HandlerTable AboutWindowHandlers(Settings& settings, const std::string& homepage_address);

// The created handler: the style, the outline, then the homepage link.
void OnAboutCreated(Settings& settings, std::string_view homepage_address, Window* window);

// Points the homepage label and the link box at `address`; with no address the label is hidden
// and the link box stays empty, so nothing can be opened.
void ShowAboutHomepage(Window* window, std::string_view address);

}  // namespace velmora
