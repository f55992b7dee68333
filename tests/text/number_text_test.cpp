#include "text/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace velmora {
namespace {

struct ReadCase {
  const char* name;
  const char* text;
  double value;
  friend std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.text; }
};

class TextToNumberTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(TextToNumberTest, ReadsLeadingNumber) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(TextToNumber(c.text), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToNumberTest,
    ::testing::Values(ReadCase{"Empty", "", 0.0}, ReadCase{"Letters", "abc", 0.0},
                      ReadCase{"Integer", "90", 90.0}, ReadCase{"Decimal", "2.5", 2.5},
                      ReadCase{"Negative", "-3.25", -3.25}, ReadCase{"Plus", "+7", 7.0},
                      ReadCase{"LeadingPoint", ".5", 0.5}, ReadCase{"TrailingPoint", "5.", 5.0},
                      ReadCase{"TwoPoints", "1.2.3", 1.2}, ReadCase{"Suffix", "12abc", 12.0},
                      ReadCase{"LeadingBlanks", "  4", 4.0}, ReadCase{"Exponent", "1e3", 1000.0},
                      ReadCase{"NegativeExponent", "25E-1", 2.5}, ReadCase{"BareE", "2e", 2.0},
                      ReadCase{"ESignNoDigits", "2e+", 2.0}, ReadCase{"EFunction", "3e(1)", 3.0},
                      ReadCase{"SignOnly", "-", 0.0}, ReadCase{"PointOnly", ".", 0.0},
                      ReadCase{"Comma", "2,5", 2.0}, ReadCase{"Hex", "0x10", 0.0},
                      ReadCase{"Underflow", "1e-400", 0.0},
                      ReadCase{"Overflow", "1e400", std::numeric_limits<double>::infinity()},
                      ReadCase{"HugeExponent", "1e999999999999",
                               std::numeric_limits<double>::infinity()},
                      ReadCase{"ZeroTimesHugeExponent", "0e999999", 0.0},
                      ReadCase{"Infinity", "∞", std::numeric_limits<double>::infinity()},
                      ReadCase{"MinusInfinity", "-∞", -std::numeric_limits<double>::infinity()},
                      ReadCase{"WordInf", "inf", 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextToNumber, NaNReadsBack) {
  EXPECT_TRUE(std::isnan(TextToNumber("NaN")));
}

TEST(TextToNumber, VeryLongDigitRunIsExact) {
  const std::string text = "0." + std::string(5000, '0') + "1";
  EXPECT_EQ(TextToNumber(text), 0.0);
  EXPECT_EQ(TextToNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
}

struct WriteCase {
  const char* name;
  double value;
  const char* text;
  friend std::ostream& operator<<(std::ostream& os, const WriteCase& c) { return os << c.text; }
};

class NumberToTextTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(NumberToTextTest, WritesPositionalShortest) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(NumberToText(c.value), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberToTextTest,
    ::testing::Values(WriteCase{"Whole", 90.0, "90"}, WriteCase{"Zero", 0.0, "0"},
                      WriteCase{"NegativeZero", -0.0, "0"}, WriteCase{"NegativeWhole", -3.0, "-3"},
                      WriteCase{"Half", 0.5, "0.5"}, WriteCase{"Tenth", 0.1, "0.1"},
                      WriteCase{"SumOfTenths", 0.1 + 0.2, "0.30000000000000004"},
                      WriteCase{"Small", 1e-7, "0.0000001"},
                      WriteCase{"Large", 1e21, "1000000000000000000000"},
                      WriteCase{"Negative", -2.75, "-2.75"},
                      WriteCase{"Infinity", std::numeric_limits<double>::infinity(), "∞"},
                      WriteCase{"MinusInfinity", -std::numeric_limits<double>::infinity(), "-∞"},
                      WriteCase{"NaN", std::numeric_limits<double>::quiet_NaN(), "NaN"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberToText, RoundTripsEveryDoubleItWrites) {
  const double values[] = {1.0 / 3.0,       2.0 / 3.0, 3.14159265359,          1609.344,
                           4.4482216152605, 5e-324,    1.7976931348623157e308, -123456.789e-10,
                           6.02214076e23};
  for (const double v : values) {
    const std::string text = NumberToText(v);
    EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    EXPECT_EQ(TextToNumber(text), v) << text;
  }
}

TEST(NumberText, IgnoresCommaDecimalLocale) {
  // The test runner sets LC_ALL to a comma-decimal locale and QApplication applied it; make sure
  // that happened where the locale exists, then check both directions.
  const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
  if (std::string(numeric) == "C") std::setlocale(LC_ALL, "de_DE.UTF-8");
  EXPECT_EQ(TextToNumber("2.5"), 2.5);
  EXPECT_EQ(NumberToText(2.5), "2.5");
  EXPECT_EQ(NumberToText(-1234.5), "-1234.5");
}

}  // namespace
}  // namespace velmora
