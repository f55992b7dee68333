#include "ui/skin.h"

#include <QString>
#include <string>

#include "settings/settings.h"
#include "toolkit/toolkit.h"
#include "ui/design_looks.h"
#include "ui/main_window_design.h"
#include "ui/secondary_windows.h"
#include "units/category.h"

namespace velmora {
namespace {

constexpr Colour kDarkCaption = 0x333333;

void DressMainWindow(Window* window, const SkinStyle& style) {
  const Control self = WindowControl(window);
  SetPicture(self, QString::fromUtf8(style.background));
  SetPicture(FindControl(window, kSettingsButton), QString::fromUtf8(style.settings_face));
  SetPicture(FindControl(window, kHelpButton), QString::fromUtf8(style.help_face));
  for (const char* name : {kTitleLabel, kHelpButton, kSettingsButton}) {
    SetVisible(FindControl(window, name), true);
  }
  // The two menus stay available as the buttons' pop-ups.
  SetMenuVisible(window, kGeneralMenu, false);
  SetMenuVisible(window, kHelpMenu, false);
  SetBackgroundColour(self, kLightGrey);
  for (const char* name : {kMinimiseButton, kCloseButton}) {
    SetVisible(FindControl(window, name), true);
  }
  SetBackgroundColour(FindControl(window, kPageControlName), kLightGrey);
}

const WindowDesign* DesignOf(Window* window) {
  const QString name = WindowName(window);
  if (name == QLatin1String(MainWindowDesign().name.c_str())) return &MainWindowDesign();
  const QByteArray utf8 = name.toUtf8();
  const SecondaryWindow* secondary = FindSecondaryWindow(
      std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
  return secondary != nullptr ? &secondary->design() : nullptr;
}

// The captions and notices designed in white stand on the style's background picture. A window
// left in its plain light grey (a style number without pictures) shows them dark instead.
void DressCaptions(Window* window, const WindowDesign& design) {
  const bool on_picture = !Picture(WindowControl(window)).isEmpty();
  for (const ControlDesign& control : design.controls) {
    if (control.kind != Kind::TransparentLabel || control.look.text_colour != kWhite) continue;
    SetTextColour(FindControl(window, control.name), on_picture ? kWhite : kDarkCaption);
  }
}

}  // namespace

const SkinStyle* FindSkinStyle(int style) {
  if (style < 1 || style > static_cast<int>(kSkinStyles.size())) return nullptr;
  return &kSkinStyles[static_cast<std::size_t>(style - 1)];
}

int ReadInterfaceStyle() {
  return ReadSettingValue(GeneralSettingOf(kInterfaceStyleKey));
}

void ApplyInterfaceStyle(Settings& settings, Window* window) {
  settings.InterfaceStyle = ReadInterfaceStyle();
  if (window == nullptr) return;
  const WindowDesign* design = DesignOf(window);
  if (const SkinStyle* style = FindSkinStyle(settings.InterfaceStyle)) {
    // Every window is drawn without the platform's frame from its creation on.
    if (design == &MainWindowDesign()) {
      DressMainWindow(window, *style);
    } else {
      SetPicture(WindowControl(window), QString::fromUtf8(style->background));
    }
  }
  if (design != nullptr) DressCaptions(window, *design);
}

void ApplyWindowShape(Window* window) {
  const Control self = WindowControl(window);
  if (!self) return;
  SetWindowOutline(window, Width(self), Height(self), kOutlineCorner, kOutlineCorner);
  if (WindowOpacitySupported()) SetWindowOpacity(window, kSecondaryWindowOpacity);
}

}  // namespace velmora
