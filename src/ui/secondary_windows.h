#pragma once

#include <span>
#include <string>
#include <string_view>

#include "toolkit/toolkit.h"

namespace velmora {

struct CalculatorMemory;
struct ConversionState;

// What the secondary windows' handlers work on, each taking its own part: the converter's state
// (the settings in use among it), the calculator's memory and the maker's home page.
struct SecondaryWindowState {
  ConversionState& conversion;
  CalculatorMemory& calculator_memory;
  const std::string& homepage_address;
};

// Names of the program's windows, as their designs carry them.
inline constexpr const char* kOptionsWindow = "OptionsWindow";
inline constexpr const char* kUnitManagerWindow = "UnitManagerWindow";
inline constexpr const char* kCalculatorWindow = "CalculatorWindow";
inline constexpr const char* kAboutWindow = "AboutWindow";
inline constexpr const char* kExchangeRateWindow = "ExchangeRateWindow";

// How a secondary window is opened from the main window's menus: its design, the handlers its
// design binds (made anew for every opening; `main_window` is the window whose menu opened it),
// whether it is modal, and whether the main window owns it.
struct SecondaryWindow {
  const char* name;
  const WindowDesign& (*design)();
  HandlerTable (*handlers)(const SecondaryWindowState& state, Window* main_window);
  bool modal;
  bool owned_by_main_window;
};

// Every secondary window the program has, one row per window.
std::span<const SecondaryWindow> SecondaryWindows();
const SecondaryWindow* FindSecondaryWindow(std::string_view name);

// Loads the named window anew with its modality and owner: a modal one returns once the user
// has closed it. A name the program has no window for does nothing.
void OpenSecondaryWindow(std::string_view name, const SecondaryWindowState& state,
                         Window* main_window);

// Registers the main window's menu items that open the secondary windows. Each item loads its
// window anew; an item whose window the program lacks does nothing.
void AddSecondaryWindowOpeners(HandlerTable& table, const SecondaryWindowState& state);

}  // namespace velmora
