#pragma once

#include <stdexcept>
#include <string_view>

namespace velmora {

class SettingsFile;

inline constexpr std::string_view kGeneralSection = "通用设置";
inline constexpr std::string_view kButtonNamesSection = "按钮的命名";
inline constexpr std::string_view kInterfaceStyleKey = "界面风格";
inline constexpr std::string_view kRememberLastCategoryKey = "记住最后类别";
inline constexpr std::string_view kLastCategoryKey = "最后的类别";
inline constexpr std::string_view kDecimalPlacesKey = "小数保留位数";
inline constexpr std::string_view kThousandsSeparatorsKey = "是否千位分隔";
inline constexpr std::string_view kSignificantDigitsKey = "有效数字显示";
inline constexpr std::string_view kColumnSpanKey = "跨度";
inline constexpr std::string_view kRowSpacingKey = "上下间隔";
inline constexpr std::string_view kRowsPerColumnKey = "每列个数";

// The general settings held in memory for the run; all 0 until read.
struct Settings {
  int InterfaceStyle = 0;
  int RememberLastCategory = 0;
  int LastCategory = 0;
  int DecimalPlaces = 0;
  bool ThousandsSeparators = false;
  // Results show DecimalPlaces significant digits instead of decimal places.
  bool SignificantDigits = false;
  int ColumnSpan = 0;
  int RowSpacing = 0;
  int RowsPerColumn = 0;
};

// How the options dialog edits a general setting.
enum class SettingField {
  // Not in the dialog.
  None,
  // An edit box holding the number as text. Apply refuses anything but a whole number from
  // `lowest` to `highest`, puts the truncated number in memory and stores the text as typed.
  NumberBox,
  // A check box, ticked while the setting is on (a number: exactly 1); stored as "1" or "0".
  CheckBox,
  // Radio buttons named after the field followed by each number from `lowest` to `highest`; the
  // checked one is stored as its number, none checked stores nothing. What the file then holds
  // comes back into memory when the skin next reads it.
  Choice,
};

// One general setting. A number in memory (`number`) is read as TextToNumber of the stored text,
// truncated toward zero (SettingToInt); a flag (`flag`) is on exactly when the stored text is
// "1". The default is what a read passes for an absent key ("" where none is passed). `field` is
// the design name of the options dialog's control; `unit` follows the range in the dialog's
// refusal ("像素").
struct GeneralSetting {
  std::string_view section;
  std::string_view key;
  std::string_view default_text;
  int Settings::*number;
  bool Settings::*flag;
  SettingField field_kind;
  std::string_view field;
  int lowest;
  int highest;
  std::string_view unit;
};

// Every general setting, in the order the options dialog stores them: its check boxes and the
// interface style first, then (after the category names) its number boxes.
// clang-format off
inline constexpr GeneralSetting kGeneralSettings[] = {
// section          key                       default  number                           flag                            field kind               field                lowest highest unit
  {kGeneralSection, kThousandsSeparatorsKey,  "0",     nullptr,                         &Settings::ThousandsSeparators, SettingField::CheckBox,  "选择框1",            0,     0,    ""},
  {kGeneralSection, kSignificantDigitsKey,    "0",     nullptr,                         &Settings::SignificantDigits,   SettingField::CheckBox,  "选择框3",            0,     0,    ""},
  {kGeneralSection, kRememberLastCategoryKey, "0",     &Settings::RememberLastCategory, nullptr,                        SettingField::CheckBox,  "选择框2",            0,     0,    ""},
  {kGeneralSection, kInterfaceStyleKey,       "1",     &Settings::InterfaceStyle,       nullptr,                        SettingField::Choice,    "单选框",             1,     3,    ""},
  {kGeneralSection, kColumnSpanKey,           "",      &Settings::ColumnSpan,           nullptr,                        SettingField::NumberBox, "跨度编辑框",         1,  1000,    "像素"},
  {kGeneralSection, kRowSpacingKey,           "",      &Settings::RowSpacing,           nullptr,                        SettingField::NumberBox, "上下间隔编辑框",     1,  1000,    "像素"},
  {kGeneralSection, kRowsPerColumnKey,        "",      &Settings::RowsPerColumn,        nullptr,                        SettingField::NumberBox, "每列个数编辑框",     1,    49,    ""},
  {kGeneralSection, kDecimalPlacesKey,        "",      &Settings::DecimalPlaces,        nullptr,                        SettingField::NumberBox, "小数保留位数编辑框", 0,    15,    ""},
  {kGeneralSection, kLastCategoryKey,         "0",     &Settings::LastCategory,         nullptr,                        SettingField::None,      "",                   0,     0,    ""},
};
// clang-format on

// The row of `key` in kGeneralSettings; a key without a row does not compile where the row is
// needed at compile time, and throws std::out_of_range otherwise.
constexpr const GeneralSetting& GeneralSettingOf(std::string_view key) {
  for (const GeneralSetting& setting : kGeneralSettings) {
    if (setting.key == key) return setting;
  }
  throw std::out_of_range("no general setting of that key");
}

// A stored number as an integer: TextToNumber, truncated toward zero, clamped to the int range
// (NaN gives 0).
int SettingToInt(std::string_view text);

// The stored value of `setting` as the program holds it in memory: the truncated number of a
// number setting, 1 or 0 for a flag.
int ReadSettingValue(const SettingsFile& file, const GeneralSetting& setting);
// The same from the file at SettingsPath().
int ReadSettingValue(const GeneralSetting& setting);

// The in-memory value of `setting` in `settings` (a flag as 1 or 0), and its change.
int SettingValue(const Settings& settings, const GeneralSetting& setting);
void SetSettingValue(Settings& settings, const GeneralSetting& setting, int value);

// Reads the general settings from the settings file with their defaults and rules.
Settings ReadGeneralSettings();
Settings ReadGeneralSettings(const SettingsFile& file);

}  // namespace velmora
