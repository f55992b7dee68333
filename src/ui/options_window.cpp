#include "ui/options_window.h"

#include <QPointer>
#include <QString>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"
#include "ui/conversion_handlers.h"
#include "ui/conversion_state.h"
#include "ui/options_window_design.h"
#include "ui/skin.h"
#include "units/category.h"

namespace velmora {
namespace {

std::string TextOf(Window* window, std::string_view name) {
  return Text(FindControl(window, name)).toStdString();
}

// The design of the dialog's control `name`.
const ControlDesign& FieldDesign(std::string_view name) {
  for (const ControlDesign& control : OptionsWindowDesign().controls) {
    if (control.name == name) return control;
  }
  throw std::out_of_range("the options dialog has no control of that name");
}

// The radio button of value `value` of a choice.
std::string ChoiceName(const GeneralSetting& setting, int value) {
  return std::string(setting.field) + std::to_string(value);
}

// The whole number a box holds: digits only, blanks around them allowed.
std::optional<int> WholeNumber(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty() || trimmed.size() > 9) return std::nullopt;
  int value = 0;
  for (const QChar c : trimmed) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

// The first number box, in the order the dialog shows them (page by page, top down), whose text
// is no whole number in its range, or nullptr.
const GeneralSetting* FirstRefusedField(Window* window) {
  const GeneralSetting* first = nullptr;
  const auto place = [](const GeneralSetting& setting) {
    const ControlDesign& design = FieldDesign(setting.field);
    return std::pair(design.page, design.top);
  };
  for (const GeneralSetting& setting : kGeneralSettings) {
    if (setting.field_kind != SettingField::NumberBox) continue;
    const std::optional<int> value = WholeNumber(Text(FindControl(window, setting.field)));
    if (value && *value >= setting.lowest && *value <= setting.highest) continue;
    if (first == nullptr || place(setting) < place(*first)) first = &setting;
  }
  return first;
}

// Tells which field holds what and puts the focus into it, its page on show and its text
// selected, so that the user can type the right number at once.
void RefuseField(Window* window, const GeneralSetting& setting) {
  const ControlDesign& design = FieldDesign(setting.field);
  QString name = Text(FindControl(window, design.label));
  if (name.endsWith(u'：')) name.chop(1);
  ShowMessageBox(QStringLiteral("“%1”须为 %2 到 %3 之间的整数%4，设置未保存。")
                     .arg(name)
                     .arg(setting.lowest)
                     .arg(setting.highest)
                     .arg(FromUtf8(setting.unit)),
                 QStringLiteral("系统设置"));
  SetCurrentPage(FindControl(window, kOptionsPages), design.page);
  FocusForTyping(FindControl(window, setting.field));
}

// Shows the value in memory in the setting's field.
void ShowSetting(Window* window, const Settings& settings, const GeneralSetting& setting) {
  const int value = SettingValue(settings, setting);
  switch (setting.field_kind) {
    case SettingField::NumberBox:
      SetText(FindControl(window, setting.field), QString::number(value));
      break;
    case SettingField::CheckBox:
      SetChecked(FindControl(window, setting.field), value == 1);
      break;
    case SettingField::Choice:
      if (value >= setting.lowest && value <= setting.highest) {
        SetChecked(FindControl(window, ChoiceName(setting, value)), true);
      }
      break;
    case SettingField::None:
      break;
  }
}

// Takes a check box or choice into memory (a choice comes back when the skin reads it) and
// writes it.
void StoreSetting(Window* window, Settings& settings, const GeneralSetting& setting) {
  if (setting.field_kind == SettingField::CheckBox) {
    const bool on = Checked(FindControl(window, setting.field));
    SetSettingValue(settings, setting, on ? 1 : 0);
    WriteSetting(setting.section, setting.key, on ? "1" : "0");
  } else if (setting.field_kind == SettingField::Choice) {
    for (int value = setting.lowest; value <= setting.highest; ++value) {
      if (Checked(FindControl(window, ChoiceName(setting, value)))) {
        WriteSetting(setting.section, setting.key, std::to_string(value));
        break;
      }
    }
  }
}

}  // namespace

void ShowDecimalsCaption(Window* window) {
  const bool significant = Checked(FindControl(window, kSignificantBox));
  SetText(FindControl(window, kDecimalPlacesLabel),
          significant ? QStringLiteral("有效数字位数：") : QStringLiteral("小数保留位数："));
}

void ShowStylePreview(Window* window, int style) {
  const SkinStyle* found = FindSkinStyle(style);
  SetPicture(FindControl(window, kStylePreview),
             found != nullptr ? QString::fromUtf8(found->background) : QString());
}

void OnOptionsCreated(ConversionState& state, Window* window) {
  ApplyWindowShape(window);
  ApplyInterfaceStyle(state.settings, window);
  // Escape cancels the dialog like its Cancel button: nothing is written.
  BindKey(WindowControl(window), "Escape", [window] { DestroyWindow(window); });

  const Control decimals = FindControl(window, kDecimalPlacesBox);
  for (int i = 1; i < kTaggedBoxCount; ++i) {
    RedirectEvents(FindControlByTag(window, kDecimalPlacesTag + i), decimals);
  }

  const Settings& settings = state.settings;
  for (const GeneralSetting& setting : kGeneralSettings) ShowSetting(window, settings, setting);
  ShowDecimalsCaption(window);

  for (int n = 1; n <= kCategoryCount; ++n) {
    const std::string name = CategoryButtonName(n);
    SetText(FindControl(window, name),
            QString::fromStdString(ReadSetting(kButtonNamesSection, name, {})));
  }

  if (FindSkinStyle(settings.InterfaceStyle) != nullptr) {
    ShowStylePreview(window, settings.InterfaceStyle);
  }
}

bool ApplyOptions(ConversionState& state, Window* window, Window* main_window) {
  if (const GeneralSetting* refused = FirstRefusedField(window)) {
    RefuseField(window, *refused);
    return false;
  }
  Settings& settings = state.settings;
  // Out-of-range numbers are held at the ends of the int range; what is written stays as typed.
  for (const GeneralSetting& setting : kGeneralSettings) {
    if (setting.field_kind == SettingField::NumberBox) {
      SetSettingValue(settings, setting, SettingToInt(TextOf(window, setting.field)));
    }
  }
  for (const GeneralSetting& setting : kGeneralSettings) StoreSetting(window, settings, setting);
  ApplyInterfaceStyle(settings, main_window);
  // The dialog shows the style it has just applied, as every window opened from now on does.
  ApplyInterfaceStyle(settings, window);

  for (int n = 1; n <= kCategoryCount; ++n) {
    const std::string name = CategoryButtonName(n);
    WriteSetting(kButtonNamesSection, name, TextOf(window, name));
  }

  for (const GeneralSetting& setting : kGeneralSettings) {
    if (setting.field_kind == SettingField::NumberBox) {
      WriteSetting(setting.section, setting.key, TextOf(window, setting.field));
    }
  }

  if (main_window != nullptr) RefreshCurrentPage(state, main_window);
  return true;
}

void ConfirmOptions(ConversionState& state, Window* window, Window* main_window) {
  if (ApplyOptions(state, window, main_window)) DestroyWindow(window);
}

HandlerTable OptionsWindowHandlers(ConversionState& state, Window* main_window) {
  // The main window outlives the modal dialog in every normal run; should it go first, Apply
  // still writes the settings.
  const QPointer<Window> main = main_window;
  HandlerTable table;
  table[kOnOptionsCreated] = [&state, main](const EventArgs& e) {
    OnOptionsCreated(state, e.window);
    // Enter anywhere in the dialog acts as its OK button.
    Window* window = e.window;
    for (const char* key : {"Return", "Enter"}) {
      BindKey(WindowControl(window), key,
              [&state, main, window] { ConfirmOptions(state, window, main.data()); });
    }
  };
  table[kApplyOptions] = [&state, main](const EventArgs& e) {
    ApplyOptions(state, e.window, main.data());
  };
  table[kConfirmOptions] = [&state, main](const EventArgs& e) {
    ConfirmOptions(state, e.window, main.data());
  };
  table[kCloseOptionsWindow] = [](const EventArgs& e) { DestroyWindow(e.window); };
  table[kShowDecimalsCaption] = [](const EventArgs& e) { ShowDecimalsCaption(e.window); };
  table[kShowStylePreview] = [](const EventArgs& e) { ShowStylePreview(e.window, e.argument); };
  table[kOnOptionsBoxGotFocus] = [](const EventArgs& e) { SetBackgroundColour(e.source, kWhite); };
  table[kOnOptionsBoxLostFocus] = [](const EventArgs& e) {
    SetBackgroundColour(e.source, kLightGrey);
  };
  return table;
}

}  // namespace velmora
