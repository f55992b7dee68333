#include "ui/options_window.h"

#include <QPointer>
#include <QString>
#include <string>

#include "convert/conversion.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/window.h"
#include "ui/options_window_design.h"
#include "ui/skin.h"
#include "units/app_state.h"
#include "units/category.h"

namespace velmora {
namespace {

std::string Utf8(const QString& text) {
  return text.toStdString();
}

std::string TextOf(Window* window, const char* name) {
  return Utf8(Text(FindControl(window, name)));
}

void WriteFlag(std::string_view key, bool on) {
  WriteSetting(kGeneralSection, key, on ? "1" : "0");
}

}  // namespace

void ShowStylePreview(Window* window, int style) {
  const SkinStyle* found = FindSkinStyle(style);
  SetPicture(FindControl(window, kStylePreview),
             found != nullptr ? QString::fromUtf8(found->background) : QString());
}

void OnOptionsCreated(AppState& state, Window* window) {
  ApplyWindowShape(window);
  ApplyInterfaceStyle(state.settings, window);
  // Escape cancels the dialog like its Cancel button: nothing is written.
  BindKey(WindowControl(window), "Escape", [window] { DestroyWindow(window); });

  const Control decimals = FindControl(window, kDecimalPlacesBox);
  for (int i = 1; i < kTaggedBoxCount; ++i) {
    RedirectEvents(FindControlByTag(window, kDecimalPlacesTag + i), decimals);
  }

  const Settings& settings = state.settings;
  SetText(FindControl(window, kColumnSpanBox), QString::number(settings.ColumnSpan));
  SetText(FindControl(window, kRowSpacingBox), QString::number(settings.RowSpacing));
  SetText(FindControl(window, kRowsPerColumnBox), QString::number(settings.RowsPerColumn));
  SetText(decimals, QString::number(settings.DecimalPlaces));

  SetChecked(FindControl(window, kThousandsBox), settings.ThousandsSeparators);
  SetChecked(FindControl(window, kRememberBox), settings.RememberLastCategory == 1);

  for (int n = 1; n <= kCategoryCount; ++n) {
    const std::string name = CategoryButtonName(n);
    SetText(FindControl(window, name),
            QString::fromStdString(ReadSetting(kButtonNamesSection, name, {})));
  }

  if (FindSkinStyle(settings.InterfaceStyle) != nullptr) {
    SetChecked(FindControl(window, StyleRadioName(settings.InterfaceStyle)), true);
    ShowStylePreview(window, settings.InterfaceStyle);
  }
}

void ApplyOptions(AppState& state, Window* window, Window* main_window) {
  Settings& settings = state.settings;
  // Out-of-range numbers are held at the ends of the int range; what is written stays as typed.
  settings.ColumnSpan = SettingToInt(TextOf(window, kColumnSpanBox));
  settings.RowSpacing = SettingToInt(TextOf(window, kRowSpacingBox));
  settings.RowsPerColumn = SettingToInt(TextOf(window, kRowsPerColumnBox));
  settings.DecimalPlaces = SettingToInt(TextOf(window, kDecimalPlacesBox));

  settings.ThousandsSeparators = Checked(FindControl(window, kThousandsBox));
  WriteFlag(kThousandsSeparatorsKey, settings.ThousandsSeparators);
  settings.RememberLastCategory = Checked(FindControl(window, kRememberBox)) ? 1 : 0;
  WriteFlag(kRememberLastCategoryKey, settings.RememberLastCategory == 1);

  for (int style = 1; style <= 3; ++style) {
    if (Checked(FindControl(window, StyleRadioName(style)))) {
      WriteSetting(kGeneralSection, kInterfaceStyleKey, std::to_string(style));
      break;
    }
  }
  ApplyInterfaceStyle(settings, main_window);

  for (int n = 1; n <= kCategoryCount; ++n) {
    const std::string name = CategoryButtonName(n);
    WriteSetting(kButtonNamesSection, name, Utf8(Text(FindControl(window, name))));
  }

  WriteSetting(kGeneralSection, kColumnSpanKey, TextOf(window, kColumnSpanBox));
  WriteSetting(kGeneralSection, kRowSpacingKey, TextOf(window, kRowSpacingBox));
  WriteSetting(kGeneralSection, kRowsPerColumnKey, TextOf(window, kRowsPerColumnBox));
  WriteSetting(kGeneralSection, kDecimalPlacesKey, TextOf(window, kDecimalPlacesBox));

  if (main_window != nullptr) RefreshCurrentPage(state, main_window);
}

HandlerTable OptionsWindowHandlers(AppState& state, Window* main_window) {
  // The main window outlives the modal dialog in every normal run; should it go first, Apply
  // still writes the settings.
  const QPointer<Window> main = main_window;
  HandlerTable table;
  table[kOnOptionsCreated] = [&state](const EventArgs& e) { OnOptionsCreated(state, e.window); };
  table[kApplyOptions] = [&state, main](const EventArgs& e) {
    ApplyOptions(state, e.window, main.data());
  };
  table[kConfirmOptions] = [&state, main](const EventArgs& e) {
    ApplyOptions(state, e.window, main.data());
    DestroyWindow(e.window);
  };
  table[kCloseOptionsWindow] = [](const EventArgs& e) { DestroyWindow(e.window); };
  table[kShowStylePreview] = [](const EventArgs& e) { ShowStylePreview(e.window, e.argument); };
  table[kOnOptionsBoxGotFocus] = [](const EventArgs& e) { SetBackgroundColour(e.source, kWhite); };
  table[kOnOptionsBoxLostFocus] = [](const EventArgs& e) {
    SetBackgroundColour(e.source, kLightGrey);
  };
  return table;
}

}  // namespace velmora
