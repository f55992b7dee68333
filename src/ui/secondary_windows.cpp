#include "ui/secondary_windows.h"

#include <array>
#include <utility>

#include "ui/about_window.h"
#include "ui/about_window_design.h"
#include "ui/calculator_window.h"
#include "ui/calculator_window_design.h"
#include "ui/conversion_state.h"
#include "ui/exchange_rate_window.h"
#include "ui/exchange_rate_window_design.h"
#include "ui/main_window_design.h"
#include "ui/options_window.h"
#include "ui/options_window_design.h"
#include "ui/unit_manager.h"
#include "ui/unit_manager_design.h"

namespace velmora {
namespace {

// Each window's handlers get the parts of the state the window works on.
HandlerTable OptionsHandlers(const SecondaryWindowState& state, Window* main_window) {
  return OptionsWindowHandlers(state.conversion, main_window);
}
HandlerTable AboutHandlers(const SecondaryWindowState& state, Window*) {
  return AboutWindowHandlers(state.conversion.settings, state.homepage_address);
}
HandlerTable CalculatorHandlers(const SecondaryWindowState& state, Window*) {
  return CalculatorWindowHandlers(state.conversion.settings, state.calculator_memory);
}
HandlerTable UnitManagerHandlers(const SecondaryWindowState& state, Window* main_window) {
  return UnitManagerWindowHandlers(state.conversion, main_window);
}
HandlerTable ExchangeRateHandlers(const SecondaryWindowState& state, Window* main_window) {
  return ExchangeRateWindowHandlers(state.conversion, main_window);
}

// clang-format off
const std::array<SecondaryWindow, 5> kSecondaryWindows = {{
//  name                design                    handlers              modal  owned by main
  {kOptionsWindow,      OptionsWindowDesign,      OptionsHandlers,      true,  false},
  {kAboutWindow,        AboutWindowDesign,        AboutHandlers,        true,  false},
  {kCalculatorWindow,   CalculatorWindowDesign,   CalculatorHandlers,   false, true},
  {kUnitManagerWindow,  UnitManagerWindowDesign,  UnitManagerHandlers,  true,  false},
  {kExchangeRateWindow, ExchangeRateWindowDesign, ExchangeRateHandlers, false, true},
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

void OpenSecondaryWindow(std::string_view name, const SecondaryWindowState& state,
                         Window* main_window) {
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

void AddSecondaryWindowOpeners(HandlerTable& table, const SecondaryWindowState& state) {
  const std::pair<const char*, const char*> openers[] = {
      {kOpenOptionsWindow, kOptionsWindow},           {kOpenUnitManagerWindow, kUnitManagerWindow},
      {kOpenCalculatorWindow, kCalculatorWindow},     {kOpenAboutWindow, kAboutWindow},
      {kOpenExchangeRateWindow, kExchangeRateWindow},
  };
  for (const auto& [handler, window_name] : openers) {
    table[handler] = [state, name = window_name](const EventArgs& e) {
      OpenSecondaryWindow(name, state, e.window);
    };
  }
}

}  // namespace velmora
