#include "ui/main_window.h"

#include "convert/conversion.h"
#include "ui/main_window_design.h"
#include "units/app_state.h"
#include "units/load_category_page.h"

#ifndef VELMORA_HOMEPAGE_URL
#define VELMORA_HOMEPAGE_URL "http://127.0.0.1/"
#endif
#ifndef VELMORA_GAMES_URL
#define VELMORA_GAMES_URL "http://127.0.0.1/games/"
#endif

namespace velmora {
namespace {

void OpenThroughLinkBox(Window* window, const char* address) {
  const Control link_box = FindControl(window, "超级链接框1");
  SetText(link_box, QString::fromUtf8(address));
  OpenAddress(link_box);
}

}  // namespace

QPoint GeneralMenuPosition(Window* window) {
  const Control self = WindowControl(window);
  return {Left(self) + 24, Top(self) + 48};
}

QPoint HelpMenuPosition(Window* window) {
  const Control self = WindowControl(window);
  return {Left(self) + 72, Top(self) + 48};
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
  table[kOpenHomepage] = [](const EventArgs& e) {
    OpenThroughLinkBox(e.window, VELMORA_HOMEPAGE_URL);
  };
  table[kOpenGamesPage] = [](const EventArgs& e) {
    OpenThroughLinkBox(e.window, VELMORA_GAMES_URL);
  };
}

}  // namespace velmora
