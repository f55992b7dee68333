#include "app/startup.h"

#include "settings/settings.h"
#include "ui/main_window.h"
#include "ui/main_window_design.h"
#include "units/app_state.h"

namespace velmora {

HandlerTable MainWindowHandlers(AppState& state) {
  HandlerTable table;
  AddMainWindowHandlers(table, state);
  table[kOnMainWindowCreated] = [&state](const EventArgs& e) {
    OnMainWindowCreated(state, e.window);
  };
  return table;
}

void OnMainWindowCreated(AppState& state, Window*) {
  state.settings = ReadGeneralSettings();
}

Window* StartProgram(AppState& state) {
  return LoadWindow(MainWindowDesign(), MainWindowHandlers(state), nullptr, false);
}

}  // namespace velmora
