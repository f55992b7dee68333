#include "ui/skin.h"

#include <QString>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/toolkit.h"
#include "ui/main_window_design.h"
#include "units/category.h"

namespace velmora {
namespace {

void DressMainWindow(Window* window, const SkinStyle& style) {
  const Control self = WindowControl(window);
  SetPicture(self, QString::fromUtf8(style.background));
  SetPicture(FindControl(window, "超级按钮1"), QString::fromUtf8(style.settings_face));
  SetPicture(FindControl(window, "超级按钮2"), QString::fromUtf8(style.help_face));
  for (const char* name : {"透明标签170", "超级按钮2", "超级按钮1"}) {
    SetVisible(FindControl(window, name), true);
  }
  // The two menus stay available as the buttons' pop-ups.
  SetMenuVisible(window, kGeneralMenu, false);
  SetMenuVisible(window, kHelpMenu, false);
  SetBackgroundColour(self, kLightGrey);
  for (const char* name : {"控件_图形按钮_最小化", "控件_图形按钮_关闭"}) {
    SetVisible(FindControl(window, name), true);
  }
  SetBackgroundColour(FindControl(window, kPageControlName), kLightGrey);
}

}  // namespace

const SkinStyle* FindSkinStyle(int style) {
  if (style < 1 || style > static_cast<int>(kSkinStyles.size())) return nullptr;
  return &kSkinStyles[static_cast<std::size_t>(style - 1)];
}

int ReadInterfaceStyle() {
  return SettingToInt(ReadSetting(kGeneralSection, kInterfaceStyleKey, "1"));
}

void ApplyInterfaceStyle(Settings& settings, Window* window) {
  settings.InterfaceStyle = ReadInterfaceStyle();
  const SkinStyle* style = FindSkinStyle(settings.InterfaceStyle);
  if (style == nullptr || window == nullptr) return;
  // Every window is drawn without the platform's frame from its creation on.
  if (WindowName(window) == QLatin1String(MainWindowDesign().name.c_str())) {
    DressMainWindow(window, *style);
  } else {
    SetPicture(WindowControl(window), QString::fromUtf8(style->background));
  }
}

void ApplyWindowShape(Window* window) {
  const Control self = WindowControl(window);
  if (!self) return;
  SetWindowOutline(window, Width(self), Height(self), kOutlineCorner, kOutlineCorner);
  if (WindowOpacitySupported()) SetWindowOpacity(window, kSecondaryWindowOpacity);
}

}  // namespace velmora
