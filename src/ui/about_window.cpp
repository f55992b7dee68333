#include "ui/about_window.h"

#include <QString>

#include "settings/settings.h"
#include "toolkit/toolkit.h"
#include "ui/about_window_design.h"
#include "ui/skin.h"

namespace velmora {

void ShowAboutHomepage(Window* window, std::string_view address) {
  const QString text = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
  const Control label = FindControl(window, kAboutHomepageLabel);
  SetText(FindControl(window, kAboutLinkBox), text);
  SetText(label, QStringLiteral("Homepage: ") + text);
  SetVisible(label, !text.isEmpty());
}

void OnAboutCreated(Settings& settings, std::string_view homepage_address, Window* window) {
  ApplyInterfaceStyle(settings, window);
  ApplyWindowShape(window);
  ShowAboutHomepage(window, homepage_address);
  // Escape closes it like OK, from whichever control has the focus.
  BindKey(WindowControl(window), "Escape", [window] { DestroyWindow(window); });
}

HandlerTable AboutWindowHandlers(Settings& settings, const std::string& homepage_address) {
  HandlerTable table;
  table[kOnAboutCreated] = [&settings, &homepage_address](const EventArgs& e) {
    OnAboutCreated(settings, homepage_address, e.window);
  };
  table[kCloseAboutWindow] = [](const EventArgs& e) { DestroyWindow(e.window); };
  table[kOpenAboutHomepage] = [](const EventArgs& e) {
    OpenAddress(FindControl(e.window, kAboutLinkBox));
  };
  return table;
}

}  // namespace velmora
