#include "ui/about_window.h"

#include <QString>

#include "toolkit/toolkit.h"
#include "ui/about_window_design.h"
#include "ui/skin.h"
#include "units/app_state.h"

namespace velmora {

void ShowAboutHomepage(Window* window, std::string_view address) {
  const QString text = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
  const Control label = FindControl(window, kAboutHomepageLabel);
  SetText(FindControl(window, kAboutLinkBox), text);
  SetText(label, QStringLiteral("Homepage: ") + text);
  SetVisible(label, !text.isEmpty());
}

void OnAboutCreated(AppState& state, Window* window) {
  ApplyInterfaceStyle(state.settings, window);
  ApplyWindowShape(window);
  ShowAboutHomepage(window, state.HomepageAddress);
  // Escape closes it like OK, from whichever control has the focus.
  BindKey(WindowControl(window), "Escape", [window] { DestroyWindow(window); });
}

HandlerTable AboutWindowHandlers(AppState& state, Window*) {
  HandlerTable table;
  table[kOnAboutCreated] = [&state](const EventArgs& e) { OnAboutCreated(state, e.window); };
  table[kCloseAboutWindow] = [](const EventArgs& e) { DestroyWindow(e.window); };
  table[kOpenAboutHomepage] = [](const EventArgs& e) {
    OpenAddress(FindControl(e.window, kAboutLinkBox));
  };
  return table;
}

}  // namespace velmora
