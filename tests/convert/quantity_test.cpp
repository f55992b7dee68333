// A keystroke's conversion without any widget: the typed text read as a number, the quantity it
// stands for in the page's reference unit, the value each other unit shows, and its text.
#include "convert/quantity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "convert/format_number.h"
#include "convert/temperature.h"
#include "text/number_text.h"

namespace velmora {
namespace {

// The text a row with factor `shown` shows after `typed` was typed into a row with factor
// `typed_factor`, or nothing when either factor does not convert.
std::optional<std::string> Converted(const char* typed, double typed_factor, double shown,
                                     const ResultFormat& format) {
  const std::optional<double> quantity = QuantityOfTyped(TextToNumber(typed), typed_factor);
  if (!quantity) return std::nullopt;
  const std::optional<double> value = ValueOfQuantity(*quantity, shown);
  if (!value) return std::nullopt;
  return FormatResult(*value, format);
}

constexpr ResultFormat kThreePlaces{3, true, false};
constexpr ResultFormat kSixDigits{6, true, true};

struct FactorCase {
  const char* name;
  const char* typed;
  double typed_factor;
  double shown_factor;
  ResultFormat format;
  const char* expected;
  friend std::ostream& operator<<(std::ostream& os, const FactorCase& c) { return os << c.name; }
};

// Factors as the shipped lists hold them: how many of the unit make one reference unit (metre,
// kilogram, second, square metre).
// clang-format off
const FactorCase kFactorCases[] = {
  {"KilometreToMetres",        "1",      0.001,      1,          kThreePlaces, "1,000"},
  {"MetresToFeet",             "2.5",    1,          3.28084,    kThreePlaces, "8.202"},
  {"PoundToKilograms",         "1",      2.20462,    1,          kThreePlaces, "0.454"},
  {"GramsInExponentForm",      "1e3",    1000,       1,          kThreePlaces, "1"},
  {"NegativeValue",            "-12.5",  1,          100,        kThreePlaces, "-1,250"},
  // 1 / (1/3600) × (1/60) is 60.00000000000001 in doubles; the result shows none of that noise.
  {"HourToMinutesWithoutNoise", "1",     1.0 / 3600, 1.0 / 60,   kThreePlaces, "60"},
  {"SameUnitRoundTrips",       "0.1",    3.28084,    3.28084,    kThreePlaces, "0.1"},
  {"HectaresToSquareMetres",   "1.5",    0.0001,     1,          kThreePlaces, "15,000"},
  {"EmptyTextIsZero",          "",       1,          3.28084,    kThreePlaces, "0"},
  {"TextWithoutNumberIsZero",  "abc",    1,          1000,       kThreePlaces, "0"},
  {"SignificantDigits",        "1",      1,          1e9,        kSixDigits,   "1,000,000,000"},
  {"SignificantDigitsSmall",   "1",      1,          1.057e-16,  kSixDigits,   "1.057e-16"},
  {"HugeValueInScientificForm", "1",     1e-20,      1,          kThreePlaces, "1e+20"},
};
// clang-format on

class FactorConversionTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(FactorConversionTest, TypedValueThroughTheQuantityToTheShownText) {
  const FactorCase& c = GetParam();
  EXPECT_EQ(Converted(c.typed, c.typed_factor, c.shown_factor, c.format), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Units, FactorConversionTest, ::testing::ValuesIn(kFactorCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnusableCase {
  const char* name;
  double factor;
  friend std::ostream& operator<<(std::ostream& os, const UnusableCase& c) { return os << c.name; }
};

const UnusableCase kUnusableCases[] = {
    {"Zero", 0.0},
    {"NegativeZero", -0.0},
    {"Negative", -3.28084},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN()},
    {"Infinite", std::numeric_limits<double>::infinity()},
    {"MinusInfinite", -std::numeric_limits<double>::infinity()},
};

class UnusableFactorTest : public ::testing::TestWithParam<UnusableCase> {};

TEST_P(UnusableFactorTest, StandsForNoQuantityAndShowsNothing) {
  // A unit with such a factor: typing into its row changes nothing, and its row stays empty
  // instead of showing "∞", "0" or "NaN".
  const double factor = GetParam().factor;
  EXPECT_EQ(QuantityOfTyped(5, factor), std::nullopt);
  EXPECT_EQ(ValueOfQuantity(5, factor), std::nullopt);
  EXPECT_EQ(Converted("5", factor, 1, kThreePlaces), std::nullopt);
  EXPECT_EQ(Converted("5", 1, factor, kThreePlaces), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Factors, UnusableFactorTest, ::testing::ValuesIn(kUnusableCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UsableFactorEdgeTest, TheSmallestAndLargestPositiveFactorsConvert) {
  const double tiny = std::numeric_limits<double>::denorm_min();
  const double huge = std::numeric_limits<double>::max();
  EXPECT_EQ(ValueOfQuantity(2, tiny), 2 * tiny);
  EXPECT_EQ(QuantityOfTyped(huge, huge), 1.0);
  // The quotient overflows: the quantity is infinite, and the rows show it as such.
  EXPECT_EQ(QuantityOfTyped(huge, tiny), std::numeric_limits<double>::infinity());
}

struct TemperatureCase {
  const char* name;
  int typed_row;  // row number on the temperature page
  const char* typed;
  int shown_row;
  const char* expected;
  friend std::ostream& operator<<(std::ostream& os, const TemperatureCase& c) {
    return os << c.name;
  }
};

// Rows 152 to 156: Celsius, Kelvin, Réaumur, Fahrenheit, Rankine.
// clang-format off
const TemperatureCase kTemperatureCases[] = {
  {"BoilingCelsiusToFahrenheit", 152, "100",    155, "212"},
  {"FreezingFahrenheitToCelsius", 155, "32",    152, "0"},
  {"BodyFahrenheitToCelsius",    155, "98.6",   152, "37"},
  {"AbsoluteZeroKelvinToCelsius", 153, "0",     152, "-273.15"},
  {"AbsoluteZeroKelvinToRankine", 153, "0",     156, "0"},
  {"MinusFortyMeetsItself",      152, "-40",    155, "-40"},
  {"ReaumurToCelsius",           154, "80",     152, "100"},
  {"RankineToKelvin",            156, "671.67", 153, "373.15"},
  {"CelsiusToKelvinOfAFraction", 152, "21.5",   153, "294.65"},
};
// clang-format on

class TemperatureConversionTest : public ::testing::TestWithParam<TemperatureCase> {};

TEST_P(TemperatureConversionTest, TypedRowThroughCelsiusToTheShownRow) {
  const TemperatureCase& c = GetParam();
  const int from = TemperatureRowIndex(c.typed_row);
  const int to = TemperatureRowIndex(c.shown_row);
  ASSERT_GE(from, 0);
  ASSERT_GE(to, 0);
  const double celsius = ToCelsius(ScaleOfRow(from), TextToNumber(c.typed));
  EXPECT_EQ(FormatResult(FromCelsius(ScaleOfRow(to), celsius), {2, true, false}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Scales, TemperatureConversionTest, ::testing::ValuesIn(kTemperatureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TemperatureRowIndexTest, OnlyTheFiveTemperatureRowsHaveAnIndex) {
  EXPECT_EQ(TemperatureRowIndex(PageBase(kTemperaturePage)), -1);  // the page's template
  EXPECT_EQ(TemperatureRowIndex(152), 0);
  EXPECT_EQ(TemperatureRowIndex(156), 4);
  EXPECT_EQ(TemperatureRowIndex(157), -1);
  EXPECT_EQ(TemperatureRowIndex(2), -1);
  EXPECT_EQ(TemperatureRowIndex(0), -1);
}

}  // namespace
}  // namespace velmora
