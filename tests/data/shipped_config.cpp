#include "shipped_config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "text/number_text.h"
#include "units/category.h"

namespace velmora::testing {

const SettingsFile& ShippedConfig() {
  static const SettingsFile file(VELMORA_SHIPPED_CONFIG);
  return file;
}

int PageBase(int page) {
  return velmora::PageBase(page);
}

int LabelWidth(int page) {
  return TemplateLabelWidth(page);
}

std::vector<ShippedUnit> ReadShippedCategory(int page) {
  const std::string section = "unit" + std::to_string(page);
  std::vector<ShippedUnit> units;
  for (int key = PageBase(page) + 1; key <= PageBase(page) + 49; ++key) {
    const std::string value = ShippedConfig().Read(section, std::to_string(key));
    if (value.empty()) break;
    ShippedUnit unit;
    unit.key = key;
    const std::size_t comma = value.find(',');
    unit.name = value.substr(0, comma);
    if (comma != std::string::npos) unit.factor_text = value.substr(comma + 1);
    unit.factor = TextToNumber(std::string_view(unit.factor_text).substr(0, 99));
    units.push_back(std::move(unit));
  }
  return units;
}

ShippedUnit FindShippedUnit(int page, const std::string& name) {
  const std::vector<ShippedUnit> units = ReadShippedCategory(page);
  const auto count =
      std::count_if(units.begin(), units.end(), [&](const auto& u) { return u.name == name; });
  EXPECT_EQ(count, 1) << "unit \"" << name << "\" on page " << page;
  const auto it =
      std::find_if(units.begin(), units.end(), [&](const auto& u) { return u.name == name; });
  return it == units.end() ? ShippedUnit{} : *it;
}

}  // namespace velmora::testing
