#pragma once

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

// A stored number as an integer: TextToNumber, truncated toward zero, clamped to the int range
// (NaN gives 0).
int SettingToInt(std::string_view text);

// Reads the general settings from the settings file with their defaults and rules.
Settings ReadGeneralSettings();
Settings ReadGeneralSettings(const SettingsFile& file);

}  // namespace velmora
