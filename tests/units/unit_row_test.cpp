#include "units/unit_row.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

namespace velmora {
namespace {

struct ParseCase {
  const char* name;
  std::string value;
  const char* unit_name;
  double factor;
  friend std::ostream& operator<<(std::ostream& os, const ParseCase& c) { return os << c.name; }
};

const std::string kLongFactor = "1" + std::string(98, '0') + "5";  // 100 characters

// clang-format off
const ParseCase kParseCases[] = {
  {"name_and_factor",        "米(m),1",            "米(m)",  1},
  {"fraction",               "千米(km),0.001",     "千米(km)", 0.001},
  {"exponent",               "光年(ly),1.057e-16", "光年(ly)", 1.057e-16},
  {"empty_name",             ",2.5",               "",       2.5},
  {"blanks_kept_in_name",    " 尺 ,3",             " 尺 ",   3},
  {"first_comma_splits",     "a,4,5",              "a",      4},
  {"factor_not_a_number",    "市尺,abc",           "市尺",   0},
  {"no_comma",               "市尺",               "市尺",   0},
  {"factor_cut_at_99_chars", "x," + kLongFactor,   "x",      1e98},
};
// clang-format on

class ParseUnitDefTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseUnitDefTest, SplitsNameAndFactor) {
  const ParseCase& c = GetParam();
  const UnitDef unit = ParseUnitDef(c.value);
  EXPECT_EQ(unit.name, c.unit_name);
  EXPECT_DOUBLE_EQ(unit.factor, c.factor);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseUnitDefTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseUnitDefTest, DigitsPastThe99thCharacterAreNotRead) {
  EXPECT_DOUBLE_EQ(ParseUnitDef("x," + std::string(98, ' ') + "12").factor, 1);
  EXPECT_DOUBLE_EQ(ParseUnitDef("x," + std::string(97, ' ') + "12").factor, 12);
}

struct PlaceCase {
  const char* name;
  int k;
  int span;
  int spacing;
  int per_column;
  RowPlace expected;
  friend std::ostream& operator<<(std::ostream& os, const PlaceCase& c) { return os << c.name; }
};

// clang-format off
const PlaceCase kPlaceCases[] = {
  {"first_row",             0, 300, 24, 3, {16, 140, 20}},
  {"down_the_column",       2, 300, 24, 3, {16, 140, 68}},
  {"second_column",         3, 300, 24, 3, {316, 440, 20}},
  {"second_column_line_2",  4, 300, 24, 3, {316, 440, 44}},
  {"zero_per_column_is_1",  2, 300, 24, 0, {616, 740, 20}},
  {"negative_per_column",   1, 300, 24, -5, {316, 440, 20}},
  {"zero_spacing_stacks",   1, 0,   0,  15, {16, 140, 20}},
  {"huge_span_is_bounded",  48, INT_MAX, 24, 1, {1 << 24, 1 << 24, 20}},
};
// clang-format on

class PlaceOfRowTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceOfRowTest, FillsColumnByColumn) {
  const PlaceCase& c = GetParam();
  const RowPlace place = PlaceOfRow(c.k, c.span, c.spacing, c.per_column);
  EXPECT_EQ(place.edit_left, c.expected.edit_left);
  EXPECT_EQ(place.label_left, c.expected.label_left);
  EXPECT_EQ(place.top, c.expected.top);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaceOfRowTest, ::testing::ValuesIn(kPlaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
