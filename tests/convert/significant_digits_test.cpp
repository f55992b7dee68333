#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "convert/format_number.h"
#include "text/number_text.h"

namespace velmora {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// 1 km in light years and one light year in metres squared by a million: the tiny and huge results
// of the length page.
constexpr double kKilometreInLightYears = 1000 / 9.4607304725808e15;
constexpr double kLightYearMegametres = 9.4607304725808e24;

struct SignificantCase {
  const char* name;
  double value;
  int digits;
  bool group;
  const char* expected;
  friend std::ostream& operator<<(std::ostream& os, const SignificantCase& c) {
    return os << c.name;
  }
};

// clang-format off
const SignificantCase kCases[] = {
  // Tiny and huge values read as numbers, never as 0 or a wall of digits.
  {"tiny_in_exponent_form",          kKilometreInLightYears, 4, false, "1.057e-13"},
  {"huge_in_exponent_form",          kLightYearMegametres,   6, true,  "9.46073e+24"},
  {"exponent_form_never_grouped",    1.23456e20,        6, true,  "1.23456e+20"},
  {"three_digit_exponent",           1e-300,            3, false, "1e-300"},
  {"negative_exponent_form",         -0.0000123456,     3, false, "-1.23e-05"},
  // Plain notation for decimal exponents -4 to 14; a plain integer part is grouped.
  {"plain_integer_grouped",          1234567.8,         3, true,  "1,230,000"},
  {"plain_integer_ungrouped",        1234567.8,         3, false, "1230000"},
  {"feet_of_a_long_distance",        12345.678 / 0.3048, 3, true, "40,500"},
  {"fraction_never_grouped",         1234.5678,         8, true,  "1,234.5678"},
  {"negative_small_plain",           -0.000123456,      3, false, "-0.000123"},
  {"trailing_zeros_dropped",         2.5,               6, false, "2.5"},
  // Exact powers of ten at the ends of the plain range.
  {"ten_to_minus_four_plain",        1e-4,              3, false, "0.0001"},
  {"ten_to_minus_five_exponent",     1e-5,              3, false, "1e-05"},
  {"ten_to_fourteen_plain",          1e14,             15, true,  "100,000,000,000,000"},
  {"ten_to_fifteen_exponent",        1e15,             15, true,  "1e+15"},
  {"one",                            1,                 3, true,  "1"},
  // Carries through the last digit, the point and the ends of the plain range.
  {"carry_through_point",            9.9995,            4, false, "10"},
  {"carry_into_new_digit",           999.96,            4, true,  "1,000"},
  {"carry_into_plain_range",         0.000099995,       4, false, "0.0001"},
  {"carry_out_of_plain_range",       999999999999999.4, 5, false, "1e+15"},
  {"carry_in_exponent_form",         9.9999e-7,         3, false, "1e-06"},
  // 1 to 15 digits; the setting is kept within that range.
  {"one_digit",                      1234.5,            1, true,  "1,000"},
  {"zero_digits_read_as_one",        1234.5,            0, false, "1000"},
  {"negative_digits_read_as_one",    0.0456,           -3, false, "0.05"},
  {"fifteen_digits",                 1.0 / 3,          15, false, "0.333333333333333"},
  {"more_digits_read_as_fifteen",    1.0 / 3,          40, false, "0.333333333333333"},
  {"noise_never_shows",              0.1 + 0.2,        15, false, "0.3"},
  // Zero, signs and values that are no numbers.
  {"zero",                           0,                 3, true,  "0"},
  {"negative_zero",                  -0.0,              3, true,  "0"},
  {"infinite",                       kInfinity,         3, true,  "∞"},
  {"negative_infinite",              -kInfinity,        3, true,  "-∞"},
  {"undefined",                      std::nan(""),      3, true,  "NaN"},
};
// clang-format on

class FormatSignificantTest : public ::testing::TestWithParam<SignificantCase> {};

TEST_P(FormatSignificantTest, WritesExpectedText) {
  const SignificantCase& c = GetParam();
  EXPECT_EQ(FormatSignificant(c.value, c.digits, c.group), c.expected);
  // The converter's rows reach the same text through the settings.
  EXPECT_EQ(FormatResult(c.value, {c.digits, c.group, /*significant=*/true}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatSignificantTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct SignificantFitCase {
  const char* name;
  double value;
  int digits;
  bool group;
  std::size_t room;  // characters that fit
  const char* expected;
  friend std::ostream& operator<<(std::ostream& os, const SignificantFitCase& c) {
    return os << c.name;
  }
};

// clang-format off
const SignificantFitCase kFitCases[] = {
  {"fitting_text_unchanged",  1234567.891,        10, true,  13, "1,234,567.891"},
  {"fewer_digits_first",      1234567.891,        10, true,  11, "1,234,567.9"},
  {"long_integer_to_exponent", 123456789012345,   15, true,  12, "1.234568e+14"},
  {"tiny_fewer_digits",       kKilometreInLightYears, 10, false, 9, "1.057e-13"},
  {"nothing_fits_full_text",  123456,              6, false,  2, "123456"},
  {"infinite_as_is",          -kInfinity,          6, false,  0, "-∞"},
};
// clang-format on

class FormatSignificantToFitTest : public ::testing::TestWithParam<SignificantFitCase> {};

TEST_P(FormatSignificantToFitTest, WritesLongestFormThatFits) {
  const SignificantFitCase& c = GetParam();
  const auto fits = [&c](const std::string& text) { return text.size() <= c.room; };
  const std::string text = FormatSignificantToFit(c.value, c.digits, c.group, fits);
  EXPECT_EQ(text, c.expected);
  EXPECT_EQ(FormatResultToFit(c.value, {c.digits, c.group, true}, fits), text);
  // A shorter form is the same value to the digits it shows.
  if (std::isfinite(c.value) && text.size() <= c.room) {
    std::string plain;
    for (const char ch : text) {
      if (ch != ',') plain.push_back(ch);
    }
    EXPECT_NEAR(TextToNumber(plain), c.value, std::fabs(c.value) * 1e-2) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatSignificantToFitTest, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatResultTest, DecimalPlacesUnlessSignificantDigitsAreOn) {
  // The same settings give today's display with the option off.
  EXPECT_EQ(FormatResult(kKilometreInLightYears, {4, true, false}), "0");
  EXPECT_EQ(FormatResult(1234567.891, {2, true, false}), FormatNumber(1234567.891, 2, true));
  EXPECT_EQ(FormatResult(kKilometreInLightYears, {4, true, true}), "1.057e-13");
  Settings settings;
  settings.DecimalPlaces = 3;
  settings.ThousandsSeparators = true;
  settings.SignificantDigits = true;
  EXPECT_EQ(FormatResult(1234567.8, ResultFormatOf(settings)), "1,230,000");
}

TEST(FormatSignificantRoundTripTest, ExponentFormReadsBackThroughTextToNumber) {
  // A row's text is read back when the user edits it, and pasted text in exponent form converts.
  for (const double value : {1.057e-13, -9.46073e24, 4.4e-5, 1e300}) {
    const std::string text = FormatSignificant(value, 15, false);
    EXPECT_EQ(TextToNumber(text), value) << text;
  }
}

}  // namespace
}  // namespace velmora
