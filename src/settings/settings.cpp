#include "settings/settings.h"

#include <cmath>
#include <limits>
#include <string>

#include "settings/settings_file.h"
#include "text/number_text.h"

namespace velmora {

int SettingToInt(std::string_view text) {
  const double value = std::trunc(TextToNumber(text));
  if (std::isnan(value)) return 0;
  if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

Settings ReadGeneralSettings(const SettingsFile& file) {
  const auto read_int = [&](std::string_view key, std::string_view default_value) {
    return SettingToInt(file.Read(kGeneralSection, key, default_value));
  };
  Settings settings;
  settings.InterfaceStyle = read_int(kInterfaceStyleKey, "1");
  settings.RememberLastCategory = read_int(kRememberLastCategoryKey, "0");
  settings.LastCategory = read_int(kLastCategoryKey, "0");
  settings.DecimalPlaces = read_int(kDecimalPlacesKey, {});
  // The one setting compared as text: "1.0" or " 1" (quoted in the file) leave it off.
  settings.ThousandsSeparators = file.Read(kGeneralSection, kThousandsSeparatorsKey, "0") == "1";
  // Absent reads as "0": a file from before the option shows what it always showed.
  settings.SignificantDigits = file.Read(kGeneralSection, kSignificantDigitsKey, "0") == "1";
  settings.ColumnSpan = read_int(kColumnSpanKey, {});
  settings.RowSpacing = read_int(kRowSpacingKey, {});
  settings.RowsPerColumn = read_int(kRowsPerColumnKey, {});
  return settings;
}

Settings ReadGeneralSettings() {
  return ReadGeneralSettings(SettingsFile(SettingsPath()));
}

}  // namespace velmora
