#include "ui/main_window.h"

#include <string>
#include <utility>
#include <vector>

#include "convert/conversion.h"
#include "ui/find_panel.h"
#include "ui/main_window_design.h"
#include "ui/secondary_windows.h"
#include "units/app_state.h"
#include "units/load_category_page.h"

#ifndef VELMORA_HOMEPAGE_URL
#define VELMORA_HOMEPAGE_URL ""
#endif
#ifndef VELMORA_GAMES_URL
#define VELMORA_GAMES_URL ""
#endif

namespace velmora {
namespace {

// An empty address makes the label plain text: the click opens nothing.
void OpenThroughLinkBox(Window* window, const std::string& address) {
  if (address.empty()) return;
  const Control link_box = FindControl(window, kHomepageLinkBox);
  SetText(link_box, QString::fromStdString(address));
  OpenAddress(link_box);
}

// One step of a notice rotation: A, B, C, A, A, B, C, … The first tick comes 1 ms after the
// notice fetch started the timer; every later one after 3 s.
void ShowNextNotice(const std::vector<std::string>& texts, int& index, Control label,
                    Control timer) {
  SetTimerInterval(timer, kNoticeInterval);
  // The fetch never starts the timer with an empty list; should it, the label keeps its text.
  if (texts.empty()) return;
  if (index >= 0 && index < static_cast<int>(texts.size())) {
    SetText(label, QString::fromStdString(texts[static_cast<std::size_t>(index)]));
    ++index;
  } else {
    index = 0;
    SetText(label, QString::fromStdString(texts.front()));
  }
}

}  // namespace

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

void BeginDrag(AppState& state, Window* window) {
  // Where the windowing system moves the window itself (every desktop, and the only way on
  // Wayland), the program follows nothing.
  if (StartSystemMove(window)) return;
  const QPoint pointer = MousePosition();
  const Control self = WindowControl(window);
  state.DragOffset = {pointer.x() - Left(self), pointer.y() - Top(self)};
  SetTimerInterval(FindControl(window, kDragTimer), 1);
}

void FollowMouse(const AppState& state, Window* window) {
  const QPoint pointer = MousePosition();
  Move(WindowControl(window), pointer.x() - state.DragOffset.x, pointer.y() - state.DragOffset.y);
}

void EndDrag(Window* window) {
  SetTimerInterval(FindControl(window, kDragTimer), 0);
}

void ShowNextMessage(AppState& state, Window* window) {
  ShowNextNotice(state.MessageTexts, state.MessageIndex, FindControl(window, kMessageLabel),
                 FindControl(window, kMessageTimer));
}

void ShowNextAdvert(AppState& state, Window* window) {
  ShowNextNotice(state.AdvertTexts, state.AdvertIndex, FindControl(window, kAdvertLabel),
                 FindControl(window, kAdvertTimer));
}

void UseBuiltInLinkAddresses(AppState& state) {
  state.HomepageAddress = VELMORA_HOMEPAGE_URL;
  state.AdvertAddress = VELMORA_GAMES_URL;
}

void DressLinkLabels(const AppState& state, Window* window) {
  const auto dress = [window](const char* label, const std::string& address) {
    SetMouseCursor(FindControl(window, label), address.empty() ? Cursor::Default : Cursor::Hand);
  };
  dress(kMessageLabel, state.HomepageAddress);
  dress(kOwnershipLabel, state.HomepageAddress);
  dress(kAdvertLabel, state.AdvertAddress);
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

void AddMainWindowHandlers(HandlerTable& table, AppState& state) {
  table[kLoadCategoryPage] = [&state](const EventArgs& e) {
    LoadCategoryPage(state, e.window, e.argument);
  };
  table[kOnRowEdited] = [&state](const EventArgs& e) { OnRowEdited(state, e.window, e.argument); };
  table[kOnTemperatureEdited] = [&state](const EventArgs& e) {
    OnTemperatureEdited(state, e.window);
  };
  table[kOnRowGotFocus] = [](const EventArgs&) { OnRowGotFocus(); };
  table[kOnRowLostFocus] = [](const EventArgs&) { OnRowLostFocus(); };
  table[kShowGeneralMenu] = [](const EventArgs& e) {
    PopupMenu(e.window, kGeneralMenu, GeneralMenuPosition(e.window));
  };
  table[kShowHelpMenu] = [](const EventArgs& e) {
    PopupMenu(e.window, kHelpMenu, HelpMenuPosition(e.window));
  };
  table[kDestroyMainWindow] = [](const EventArgs& e) { DestroyWindow(e.window); };
  table[kOpenHomepage] = [&state](const EventArgs& e) {
    OpenThroughLinkBox(e.window, state.HomepageAddress);
  };
  table[kOpenGamesPage] = [&state](const EventArgs& e) {
    OpenThroughLinkBox(e.window, state.AdvertAddress);
  };
  table[kMinimiseToTray] = [](const EventArgs& e) { MinimiseToTray(e.window); };
  table[kOnTrayEvent] = [](const EventArgs& e) { OnTrayEvent(e.window, e.tray_kind); };
  table[kOpenMainWindow] = [](const EventArgs& e) { RestoreFromTray(e.window); };
  table[kBeginDrag] = [&state](const EventArgs& e) { BeginDrag(state, e.window); };
  table[kFollowMouse] = [&state](const EventArgs& e) { FollowMouse(state, e.window); };
  table[kEndDrag] = [](const EventArgs& e) { EndDrag(e.window); };
  table[kShowNextMessage] = [&state](const EventArgs& e) { ShowNextMessage(state, e.window); };
  table[kShowNextAdvert] = [&state](const EventArgs& e) { ShowNextAdvert(state, e.window); };
  // Each menu item loads its window anew; an item whose window the program lacks does nothing.
  const std::pair<const char*, const char*> openers[] = {
      {kOpenOptionsWindow, kOptionsWindow},           {kOpenUnitManagerWindow, kUnitManagerWindow},
      {kOpenCalculatorWindow, kCalculatorWindow},     {kOpenAboutWindow, kAboutWindow},
      {kOpenExchangeRateWindow, kExchangeRateWindow},
  };
  for (const auto& [handler, window_name] : openers) {
    table[handler] = [&state, name = window_name](const EventArgs& e) {
      OpenSecondaryWindow(name, state, e.window);
    };
  }
  AddFindHandlers(table, state);
}

}  // namespace velmora
