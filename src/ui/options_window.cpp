#include "ui/options_window.h"

#include <QPointer>
#include <QString>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/window.h"
#include "ui/conversion_handlers.h"
#include "ui/conversion_state.h"
#include "ui/options_window_design.h"
#include "ui/skin.h"
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

// A number box of the dialog, its page, the label that names it and the whole numbers it accepts.
struct NumberField {
  const char* box;
  int page;
  const char* label;
  int lowest;
  int highest;
  const char* unit;
};

// clang-format off
constexpr NumberField kNumberFields[] = {
    {kDecimalPlacesBox, 0, kDecimalPlacesLabel, 0, 15,   ""},
    {kColumnSpanBox,    2, "透明标签7",         1, 1000, "像素"},
    {kRowSpacingBox,    2, "透明标签8",         1, 1000, "像素"},
    {kRowsPerColumnBox, 2, "透明标签1",         1, 49,   ""},
};
// clang-format on

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

// The first number box whose text is no whole number in its range, or nullptr.
const NumberField* FirstRefusedField(Window* window) {
  for (const NumberField& field : kNumberFields) {
    const std::optional<int> value = WholeNumber(Text(FindControl(window, field.box)));
    if (!value || *value < field.lowest || *value > field.highest) return &field;
  }
  return nullptr;
}

// Tells which field holds what and puts the focus into it, its page on show and its text
// selected, so that the user can type the right number at once.
void RefuseField(Window* window, const NumberField& field) {
  QString name = Text(FindControl(window, field.label));
  if (name.endsWith(u'：')) name.chop(1);
  ShowMessageBox(QStringLiteral("“%1”须为 %2 到 %3 之间的整数%4，设置未保存。")
                     .arg(name)
                     .arg(field.lowest)
                     .arg(field.highest)
                     .arg(QString::fromUtf8(field.unit)),
                 QStringLiteral("系统设置"));
  SetCurrentPage(FindControl(window, kOptionsPages), field.page);
  FocusForTyping(FindControl(window, field.box));
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
  SetText(FindControl(window, kColumnSpanBox), QString::number(settings.ColumnSpan));
  SetText(FindControl(window, kRowSpacingBox), QString::number(settings.RowSpacing));
  SetText(FindControl(window, kRowsPerColumnBox), QString::number(settings.RowsPerColumn));
  SetText(decimals, QString::number(settings.DecimalPlaces));

  SetChecked(FindControl(window, kThousandsBox), settings.ThousandsSeparators);
  SetChecked(FindControl(window, kSignificantBox), settings.SignificantDigits);
  ShowDecimalsCaption(window);
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

bool ApplyOptions(ConversionState& state, Window* window, Window* main_window) {
  if (const NumberField* refused = FirstRefusedField(window)) {
    RefuseField(window, *refused);
    return false;
  }
  Settings& settings = state.settings;
  // Out-of-range numbers are held at the ends of the int range; what is written stays as typed.
  settings.ColumnSpan = SettingToInt(TextOf(window, kColumnSpanBox));
  settings.RowSpacing = SettingToInt(TextOf(window, kRowSpacingBox));
  settings.RowsPerColumn = SettingToInt(TextOf(window, kRowsPerColumnBox));
  settings.DecimalPlaces = SettingToInt(TextOf(window, kDecimalPlacesBox));

  settings.ThousandsSeparators = Checked(FindControl(window, kThousandsBox));
  WriteFlag(kThousandsSeparatorsKey, settings.ThousandsSeparators);
  settings.SignificantDigits = Checked(FindControl(window, kSignificantBox));
  WriteFlag(kSignificantDigitsKey, settings.SignificantDigits);
  settings.RememberLastCategory = Checked(FindControl(window, kRememberBox)) ? 1 : 0;
  WriteFlag(kRememberLastCategoryKey, settings.RememberLastCategory == 1);

  for (int style = 1; style <= 3; ++style) {
    if (Checked(FindControl(window, StyleRadioName(style)))) {
      WriteSetting(kGeneralSection, kInterfaceStyleKey, std::to_string(style));
      break;
    }
  }
  ApplyInterfaceStyle(settings, main_window);
  // The dialog shows the style it has just applied, as every window opened from now on does.
  ApplyInterfaceStyle(settings, window);

  for (int n = 1; n <= kCategoryCount; ++n) {
    const std::string name = CategoryButtonName(n);
    WriteSetting(kButtonNamesSection, name, Utf8(Text(FindControl(window, name))));
  }

  WriteSetting(kGeneralSection, kColumnSpanKey, TextOf(window, kColumnSpanBox));
  WriteSetting(kGeneralSection, kRowSpacingKey, TextOf(window, kRowSpacingBox));
  WriteSetting(kGeneralSection, kRowsPerColumnKey, TextOf(window, kRowsPerColumnBox));
  WriteSetting(kGeneralSection, kDecimalPlacesKey, TextOf(window, kDecimalPlacesBox));

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
