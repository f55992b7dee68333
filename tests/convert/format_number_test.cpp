#include "convert/format_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "text/number_text.h"

namespace velmora {
namespace {

struct FormatCase {
  const char* name;
  double value;
  int decimals;
  bool group;
  const char* expected;
  friend std::ostream& operator<<(std::ostream& os, const FormatCase& c) { return os << c.name; }
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kLargest = std::numeric_limits<double>::max();

// clang-format off
const FormatCase kCases[] = {
  {"grouped_integer_part",          1234567.891,   2, true,  "1,234,567.89"},
  {"ungrouped_integer_part",        1234567.891,   2, false, "1234567.89"},
  {"three_digits_never_grouped",    123.456,       2, true,  "123.46"},
  {"four_digits_grouped",           1000,          0, true,  "1,000"},
  {"zero_decimals_rounds_down",     0.4,           0, false, "0"},
  {"exact_half_away_from_zero",     2.5,           0, false, "3"},
  {"negative_half_away_from_zero",  -2.5,          0, false, "-3"},
  {"half_on_shortest_decimal_form", 1.005,         2, false, "1.01"},
  {"binary_tie_rounds_up",          0.125,         2, false, "0.13"},
  {"trailing_zeros_dropped",        2,             2, false, "2"},
  {"fraction_shorter_than_places",  2.5,           6, false, "2.5"},
  {"negative_grouped",              -1234.5,       1, true,  "-1,234.5"},
  {"negative_rounding_to_zero",     -0.001,        2, false, "0"},
  {"negative_zero",                 -0.0,          2, false, "0"},
  {"carry_into_new_digit",          999999.996,    2, true,  "1,000,000"},
  {"carry_through_point",           9.995,         2, false, "10"},
  {"small_value_below_places",      1e-10,         2, false, "0"},
  {"small_value_within_places",     1e-10,        20, false, "0.0000000001"},
  {"decimals_capped_at_15_digits",  1.0 / 3,     100, false, "0.333333333333333"},
  {"negative_decimals_hundreds",    1234.5,       -2, true,  "1,200"},
  {"negative_decimals_half_up",     1250,         -2, false, "1300"},
  {"negative_decimals_to_zero",     49,           -2, false, "0"},
  {"negative_decimals_to_hundred",  50,           -2, false, "100"},
  {"largest_plain_value",           123456789012345, 0, true, "123,456,789,012,345"},
  {"scientific_from_1e15",          1e15,          2, true,  "1e+15"},
  {"scientific_fifteen_digits",     1.234567890123456789e20, 2, true, "1.23456789012346e+20"},
  {"scientific_negative",           -2.5e300,      2, false, "-2.5e+300"},
  {"largest_double_cut_not_rounded", -kLargest,    2, false, "-1.79769313486231e+308"},
  {"infinite",                      kInfinity,     2, true,  "∞"},
  {"negative_infinite",             -kInfinity,    2, true,  "-∞"},
  {"undefined",                     std::nan(""),  2, true,  "NaN"},
  // Arithmetic noise past the 15th significant digit never shows; clean values stay as they are.
  {"noise_year_in_milliseconds",    31535999999.999992, 2, false, "31536000000"},
  {"noise_year_grouped",            31535999999.999992, 20, true, "31,536,000,000"},
  {"noise_tce_in_joules",           29307600000.000004, 2, false, "29307600000"},
  {"noise_light_years_in_km",       23651826181452.008, 2, false, "23651826181452"},
  {"noise_point_one_plus_point_two", 0.1 + 0.2,    20, false, "0.3"},
  {"noise_below_one",               0.7000000000000001, 20, false, "0.7"},
  {"noise_negative",                -4.0000000000000036, 20, false, "-4"},
  {"noise_carries_into_new_digit",  99999999.99999999, 3, true, "100,000,000"},
  {"clean_fifteen_digits_kept",     123456.789012345, 20, false, "123456.789012345"},
  {"clean_small_value_kept",        2.5e-7,        10, false, "0.00000025"},
  {"clean_half_at_sixteenth_digit", 123456789012344.5, 0, false, "123456789012345"},
  {"clean_rounds_into_scientific",  999999999999999.9, 2, false, "1e+15"},
  {"scientific_noise_dropped",      2.3651826181452e16, 2, false, "2.3651826181452e+16"},
  {"scientific_small_exponent",     -1.5e15,       2, false, "-1.5e+15"},
};
// clang-format on

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesExpectedText) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatNumber(c.value, c.decimals, c.group), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatNumberTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FitCase {
  const char* name;
  double value;
  int decimals;
  bool group;
  std::size_t room;  // characters that fit
  const char* expected;
  friend std::ostream& operator<<(std::ostream& os, const FitCase& c) { return os << c.name; }
};

// clang-format off
const FitCase kFitCases[] = {
  {"fitting_text_unchanged",       31535999.5,          2, true,  17, "31,535,999.5"},
  {"fewer_places_first",           12345678901.123456,  6, true,  17, "12,345,678,901.12"},
  {"integer_part_never_cut",       123456789012345,     0, true,  17, "1.23456789012e+14"},
  {"scientific_fewer_digits",      2.3651826181452e16,  2, false, 17, "2.36518261815e+16"},
  {"small_value_to_scientific",    -0.000123456,       10, false,  8, "-1.2e-04"},
  {"no_more_digits_than_shown",    1.2345678901234e-17, 20, false, 17, "1.235e-17"},
  {"nothing_fits_gives_full_text", 123456,              0, false,  3, "123456"},
  {"infinite_as_is",               kInfinity,           2, false,  0, "∞"},
};
// clang-format on

class FormatNumberToFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FormatNumberToFitTest, WritesLongestFormThatFits) {
  const FitCase& c = GetParam();
  const auto fits = [&c](const std::string& text) { return text.size() <= c.room; };
  const std::string text = FormatNumberToFit(c.value, c.decimals, c.group, fits);
  EXPECT_EQ(text, c.expected);
  // A shorter form is the same value, to the precision it shows (two digits at the least here).
  if (std::isfinite(c.value) && text.size() <= c.room) {
    std::string plain;
    for (const char ch : text) {
      if (ch != ',') plain.push_back(ch);
    }
    EXPECT_NEAR(TextToNumber(plain), c.value, std::fabs(c.value) * 5e-2) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatNumberToFitTest, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatNumberLocaleTest, IgnoresCommaDecimalLocale) {
  // State: the process runs under a locale whose decimal mark is ",".
  // Action: format a value with a fraction.
  // Expected: the point and the grouping commas stay as they are under the "C" locale.
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
  EXPECT_EQ(FormatNumber(1234567.891, 2, true), "1,234,567.89");
  EXPECT_EQ(FormatNumber(2.5e20, 2, false), "2.5e+20");
  std::setlocale(LC_ALL, "C");
}

TEST(FormatNumberRoundTripTest, ResultsReadBackThroughTextToNumber) {
  // Every text a row shows must read back as the value it stands for when the user edits it.
  for (const double value : {1.5e15, -7.25e100, 123456.5, -0.75, 4.4e-5, kLargest}) {
    const std::string text = FormatNumber(value, 8, false);
    EXPECT_NEAR(TextToNumber(text), value, std::fabs(value) * 1e-14) << text;
  }
}

}  // namespace
}  // namespace velmora
