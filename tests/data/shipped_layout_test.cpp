#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "shipped_config.h"

namespace velmora::testing {
namespace {

constexpr int kPageWidth = 760;
constexpr int kPageHeight = 384;
constexpr int kBoxWidth = 120;
constexpr int kRowHeight = 16;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

bool Intersect(const Rect& a, const Rect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

struct RowPlace {
  Rect box;
  Rect label;
};

// Where the category loader puts the row of the unit at 0-based position k: columns of
// RowsPerColumn rows, computed in double precision and truncated to whole pixels.
RowPlace PlaceRow(int k, const Settings& s, int label_width) {
  const double column = std::floor(static_cast<double>(k) / s.RowsPerColumn);
  const double line = k - column * s.RowsPerColumn;
  const int top = static_cast<int>(line * s.RowSpacing + 20);
  return {{static_cast<int>(column * s.ColumnSpan + 16), top, kBoxWidth, kRowHeight},
          {static_cast<int>(column * s.ColumnSpan + 140), top, label_width, kRowHeight}};
}

// Every box or label that leaves the page, and every pair of rows whose boxes or labels touch
// each other's area.
std::vector<std::string> LayoutProblems(int unit_count, int label_width, const Settings& s) {
  std::vector<std::string> problems;
  std::vector<RowPlace> rows;
  for (int k = 0; k < unit_count; ++k) rows.push_back(PlaceRow(k, s, label_width));
  for (int i = 0; i < unit_count; ++i) {
    for (const Rect& r : {rows[i].box, rows[i].label}) {
      if (r.left < 0 || r.top < 0 || r.right() > kPageWidth || r.bottom() > kPageHeight) {
        problems.push_back("row " + std::to_string(i + 1) + " leaves the page");
      }
    }
    for (int j = i + 1; j < unit_count; ++j) {
      for (const Rect& a : {rows[i].box, rows[i].label}) {
        for (const Rect& b : {rows[j].box, rows[j].label}) {
          if (Intersect(a, b)) {
            problems.push_back("rows " + std::to_string(i + 1) + " and " + std::to_string(j + 1) +
                               " overlap");
          }
        }
      }
    }
  }
  return problems;
}

Settings Layout(int span, int spacing, int per_column) {
  Settings s;
  s.ColumnSpan = span;
  s.RowSpacing = spacing;
  s.RowsPerColumn = per_column;
  return s;
}

TEST(LayoutCheck, PlacesRowsColumnByColumn) {
  const Settings s = Layout(300, 24, 3);
  const int expected[][2] = {{16, 20}, {16, 44}, {16, 68}, {316, 20}, {316, 44}};
  for (int k = 0; k < 5; ++k) {
    const RowPlace row = PlaceRow(k, s, 96);
    EXPECT_EQ(row.box.left, expected[k][0]) << "row " << k + 1;
    EXPECT_EQ(row.box.top, expected[k][1]) << "row " << k + 1;
    EXPECT_EQ(row.label.left, expected[k][0] + 124) << "row " << k + 1;
    EXPECT_EQ(row.label.top, expected[k][1]) << "row " << k + 1;
  }
}

// The check must catch each way a layout can go wrong, or passing it would prove nothing.
TEST(LayoutCheck, FindsOverflowAndOverlap) {
  struct Case {
    const char* what;
    int units;
    int label_width;
    Settings settings;
    bool fits;
  };
  const Case cases[] = {
      {"two columns of 240 px labels, span just wide enough", 30, 240, Layout(364, 24, 15), true},
      {"label runs into the next column's box", 16, 240, Layout(363, 24, 15), false},
      {"third column leaves the page on the right", 31, 144, Layout(300, 24, 15), false},
      {"sixteenth row leaves the page at the bottom", 16, 144, Layout(372, 24, 16), false},
      {"rows closer than their height", 2, 144, Layout(372, 15, 15), false},
      {"rows exactly their height apart", 2, 144, Layout(372, 16, 15), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayoutProblems(c.units, c.label_width, c.settings).empty(), c.fits) << c.what;
  }
}

TEST(ShippedLayout, GeneralSettingsAreUsableDefaults) {
  const Settings s = ReadGeneralSettings(ShippedConfig());
  EXPECT_EQ(s.InterfaceStyle, 1);
  EXPECT_EQ(s.RememberLastCategory, 1);
  // The remembered page at first start is a fixed category that has units.
  EXPECT_GE(s.LastCategory, 0);
  EXPECT_LT(s.LastCategory, 20);
  EXPECT_FALSE(ReadShippedCategory(s.LastCategory + 1).empty());
  EXPECT_GE(s.DecimalPlaces, 2);
  EXPECT_LE(s.DecimalPlaces, 8);
  EXPECT_FALSE(s.ThousandsSeparators);
  EXPECT_EQ(ShippedConfig().Read(kGeneralSection, kThousandsSeparatorsKey), "0");
  EXPECT_GE(s.RowsPerColumn, 1);
  // Room between rows, so that they do not look cramped.
  EXPECT_GE(s.RowSpacing, kRowHeight + 4);
}

TEST(ShippedLayout, EveryRowOfEveryCategoryLiesInsideThePageWithoutOverlap) {
  const Settings s = ReadGeneralSettings(ShippedConfig());
  ASSERT_GE(s.RowsPerColumn, 1);
  for (int page = 1; page <= 20; ++page) {
    const auto units = static_cast<int>(ReadShippedCategory(page).size());
    for (const std::string& problem : LayoutProblems(units, LabelWidth(page), s)) {
      ADD_FAILURE() << "page " << page << " (" << units << " units): " << problem;
    }
  }
}

}  // namespace
}  // namespace velmora::testing
