#include "ui/secondary_windows.h"

#include <array>

#include "ui/unit_manager.h"
#include "ui/unit_manager_design.h"

namespace velmora {
namespace {

// clang-format off
const std::array<SecondaryWindow, 1> kSecondaryWindows = {{
//  name                design                  handlers                  modal  owned by main
  {kUnitManagerWindow, UnitManagerWindowDesign, UnitManagerWindowHandlers, true, false},
}};
// clang-format on

}  // namespace

std::span<const SecondaryWindow> SecondaryWindows() {
  return kSecondaryWindows;
}

const SecondaryWindow* FindSecondaryWindow(std::string_view name) {
  for (const SecondaryWindow& window : SecondaryWindows()) {
    if (name == window.name) return &window;
  }
  return nullptr;
}

void OpenSecondaryWindow(std::string_view name, AppState& state, Window* main_window) {
  const SecondaryWindow* window = FindSecondaryWindow(name);
  if (window == nullptr) return;
  LoadWindow(window->design(), window->handlers(state, main_window),
             window->owned_by_main_window ? main_window : nullptr, window->modal);
}

}  // namespace velmora
