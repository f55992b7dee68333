#include "ui/main_window.h"

#include "ui/category_pages.h"
#include "ui/conversion_handlers.h"
#include "ui/find_panel.h"
#include "ui/main_window_design.h"

namespace velmora {

void MinimiseToTray(Window* window) {
  // Without a notification area a hidden window could never come back: it goes to the task
  // bar instead.
  if (!TrayAvailable()) {
    MinimiseWindow(window);
    return;
  }
  SetVisible(WindowControl(window), false);
  ShowTrayIcon(window, QString::fromUtf8(kTrayTip));
}

void RestoreFromTray(Window* window) {
  RemoveTrayIcon(window);
  RestoreWindow(window);
}

void OnTrayEvent(Window* window, int kind) {
  // A modal window blocks the whole program, the tray icon included.
  if (ActiveModalWindow() != nullptr) return;
  if (kind == 1) {
    RestoreFromTray(window);
  } else if (kind == 3) {
    PopupMenu(window, kTrayMenu, MousePosition());
  }
}

void BeginDrag(DragOffset& drag, Window* window) {
  // Where the windowing system moves the window itself (every desktop, and the only way on
  // Wayland), the program follows nothing.
  if (StartSystemMove(window)) return;
  const QPoint pointer = MousePosition();
  const Control self = WindowControl(window);
  drag = {pointer.x() - Left(self), pointer.y() - Top(self)};
  SetTimerInterval(FindControl(window, kDragTimer), 1);
}

void FollowMouse(const DragOffset& drag, Window* window) {
  const QPoint pointer = MousePosition();
  Move(WindowControl(window), pointer.x() - drag.x, pointer.y() - drag.y);
}

void EndDrag(Window* window) {
  SetTimerInterval(FindControl(window, kDragTimer), 0);
}

QPoint MenuPositionUnder(Control button) {
  return ScreenPosition(button) + QPoint(-5, Height(button));
}

QPoint GeneralMenuPosition(Window* window) {
  return MenuPositionUnder(FindControl(window, kSettingsButton));
}

QPoint HelpMenuPosition(Window* window) {
  return MenuPositionUnder(FindControl(window, kHelpButton));
}

void AddMainWindowHandlers(HandlerTable& table, ConversionState& state, DragOffset& drag) {
  table[kLoadCategoryPage] = [&state](const EventArgs& e) {
    LoadCategoryPage(state, e.window, e.argument);
  };
  // A unit row's bindings carry its row number.
  table[kOnRowEdited] = [&state](const EventArgs& e) {
    OnRowEdited(state, e.window, e.source, e.argument);
  };
  table[kOnTemperatureEdited] = [&state](const EventArgs& e) {
    OnTemperatureEdited(state, e.window, e.source, e.argument);
  };
  table[kOnRowGotFocus] = [](const EventArgs& e) { OnRowGotFocus(e.source); };
  table[kOnRowLostFocus] = [](const EventArgs& e) { OnRowLostFocus(e.source); };
  table[kShowGeneralMenu] = [](const EventArgs& e) {
    PopupMenu(e.window, kGeneralMenu, GeneralMenuPosition(e.window));
  };
  table[kShowHelpMenu] = [](const EventArgs& e) {
    PopupMenu(e.window, kHelpMenu, HelpMenuPosition(e.window));
  };
  table[kDestroyMainWindow] = [](const EventArgs& e) { DestroyWindow(e.window); };
  table[kMinimiseToTray] = [](const EventArgs& e) { MinimiseToTray(e.window); };
  table[kOnTrayEvent] = [](const EventArgs& e) { OnTrayEvent(e.window, e.tray_kind); };
  table[kOpenMainWindow] = [](const EventArgs& e) { RestoreFromTray(e.window); };
  table[kBeginDrag] = [&drag](const EventArgs& e) { BeginDrag(drag, e.window); };
  table[kFollowMouse] = [&drag](const EventArgs& e) { FollowMouse(drag, e.window); };
  table[kEndDrag] = [](const EventArgs& e) { EndDrag(e.window); };
  AddFindHandlers(table, state);
}

}  // namespace velmora
