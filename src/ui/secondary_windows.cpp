#include "ui/secondary_windows.h"

#include <array>

#include "ui/about_window.h"
#include "ui/about_window_design.h"
#include "ui/calculator_window.h"
#include "ui/calculator_window_design.h"
#include "ui/exchange_rate_window.h"
#include "ui/exchange_rate_window_design.h"
#include "ui/options_window.h"
#include "ui/options_window_design.h"
#include "ui/unit_manager.h"
#include "ui/unit_manager_design.h"

namespace velmora {
namespace {

// clang-format off
const std::array<SecondaryWindow, 5> kSecondaryWindows = {{
//  name                design                  handlers                  modal  owned by main
  {kOptionsWindow,     OptionsWindowDesign,    OptionsWindowHandlers,    true,  false},
  {kAboutWindow,       AboutWindowDesign,      AboutWindowHandlers,      true,  false},
  {kCalculatorWindow,  CalculatorWindowDesign, CalculatorWindowHandlers, false, true},
  {kUnitManagerWindow, UnitManagerWindowDesign, UnitManagerWindowHandlers, true, false},
  {kExchangeRateWindow, ExchangeRateWindowDesign, ExchangeRateWindowHandlers, false, true},
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
  // A modeless window is opened once: choosing it again brings the open one forward.
  if (!window->modal) {
    if (Window* open = FindWindow(name)) {
      RestoreWindow(open);
      return;
    }
  }
  // A window the main window does not own still belongs over it on screen.
  Window* owner = window->owned_by_main_window ? main_window : nullptr;
  LoadWindow(window->design(), window->handlers(state, main_window), owner, window->modal,
             owner == nullptr ? main_window : nullptr);
}

}  // namespace velmora
