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

int ReadSettingValue(const SettingsFile& file, const GeneralSetting& setting) {
  const std::string text = file.Read(setting.section, setting.key, setting.default_text);
  // A flag is the one kind compared as text: "1.0" or " 1" (quoted in the file) leave it off.
  if (setting.flag != nullptr) return text == "1" ? 1 : 0;
  return SettingToInt(text);
}

int ReadSettingValue(const GeneralSetting& setting) {
  return ReadSettingValue(SettingsFile(SettingsPath()), setting);
}

int SettingValue(const Settings& settings, const GeneralSetting& setting) {
  if (setting.flag != nullptr) return settings.*setting.flag ? 1 : 0;
  return settings.*setting.number;
}

void SetSettingValue(Settings& settings, const GeneralSetting& setting, int value) {
  if (setting.flag != nullptr) {
    settings.*setting.flag = value != 0;
  } else {
    settings.*setting.number = value;
  }
}

Settings ReadGeneralSettings(const SettingsFile& file) {
  Settings settings;
  for (const GeneralSetting& setting : kGeneralSettings) {
    SetSettingValue(settings, setting, ReadSettingValue(file, setting));
  }
  return settings;
}

Settings ReadGeneralSettings() {
  return ReadGeneralSettings(SettingsFile(SettingsPath()));
}

}  // namespace velmora
