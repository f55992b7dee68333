#include "convert/temperature.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace velmora {
namespace {

struct ScaleCase {
  const char* name;
  TemperatureScale scale;
  double celsius;
  double value;
  friend std::ostream& operator<<(std::ostream& os, const ScaleCase& c) { return os << c.name; }
};

// clang-format off
const ScaleCase kCases[] = {
  {"celsius_boiling",    TemperatureScale::Celsius,    100,     100},
  {"kelvin_boiling",     TemperatureScale::Kelvin,     100,     373.15},
  {"reaumur_boiling",    TemperatureScale::Reaumur,    100,     80},
  {"fahrenheit_boiling", TemperatureScale::Fahrenheit, 100,     212},
  {"rankine_boiling",    TemperatureScale::Rankine,    100,     671.67},
  {"kelvin_absolute",    TemperatureScale::Kelvin,     -273.15, 0},
  {"rankine_absolute",   TemperatureScale::Rankine,    -273.15, 0},
  {"fahrenheit_minus40", TemperatureScale::Fahrenheit, -40,     -40},
  {"reaumur_freezing",   TemperatureScale::Reaumur,    0,       0},
};
// clang-format on

class TemperatureTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(TemperatureTest, ConvertsBothWays) {
  const ScaleCase& c = GetParam();
  EXPECT_NEAR(FromCelsius(c.scale, c.celsius), c.value, 1e-9);
  EXPECT_NEAR(ToCelsius(c.scale, c.value), c.celsius, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, TemperatureTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
