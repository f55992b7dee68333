#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <ostream>
#include <string>
#include <vector>

#include "toolkit/design.h"
#include "ui/conversion_handlers.h"
#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

constexpr const char* kConfig = R"([通用设置]
小数保留位数=2
是否千位分隔=1
跨度=300
上下间隔=24
每列个数=15

[unit1]
2=米(m),1
3=千米(km),0.001
4=毫米(mm),1000
5=英尺(ft),3.2808398950131
6=坏单位,0

[unit3]
102=立方米,1
103=升,1000

[unit4]
152=摄氏度,1
153=开尔文,1
154=列氏度,1
155=华氏度,1
156=兰氏度,1
)";

class ConversionTest : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    Start(kConfig);
    ClickCategoryButton(1);
  }
};

TEST_F(ConversionTest, TypingUpdatesEveryOtherRowAndKeepsTheTypedText) {
  // State: page 1 (factors 1, 0.001, 1000, 3.28…, 0), two decimals, separators on.
  // Action: type "1234.50" into the metre row.
  // Expected: every other row shows its value; the typed row keeps "1234.50" as typed.
  TypeInto(2, "1234.50");
  EXPECT_EQ(RowText(2), "1234.50");
  EXPECT_EQ(RowText(3), "1.23");
  EXPECT_EQ(RowText(4), "1,234,500");
  EXPECT_EQ(RowText(5), "4,050.2");
  // A unit whose factor converts nothing shows nothing.
  EXPECT_EQ(RowText(6), "");
  EXPECT_DOUBLE_EQ(state().BaseValue, 1234.5);
}

TEST_F(ConversionTest, TypingIntoAnotherRowDividesByItsFactor) {
  // State: page 1.  Action: type "2500" into the millimetre row (factor 1000).
  // Expected: BaseValue is 2.5 metres; the metre and foot rows show 2.5 and 8.2.
  TypeInto(4, "2500");
  EXPECT_EQ(RowText(2), "2.5");
  EXPECT_EQ(RowText(4), "2500");
  EXPECT_EQ(RowText(5), "8.2");
  EXPECT_DOUBLE_EQ(state().BaseValue, 2.5);
}

TEST_F(ConversionTest, ClearingARowGivesZeroEverywhere) {
  // State: "75" typed into the metre row.  Action: clear that row.
  // Expected: BaseValue is 0 and every other row with a usable factor shows "0".
  TypeInto(2, "75");
  ASSERT_EQ(RowText(4), "75,000");
  ClearRow(2);
  EXPECT_EQ(RowText(2), "");
  for (const int row : {3, 4, 5}) EXPECT_EQ(RowText(row), "0") << "row " << row;
  EXPECT_EQ(RowText(6), "");
  EXPECT_EQ(state().BaseValue, 0.0);
}

TEST_F(ConversionTest, RowsAcceptOnlyDecimalNumberText) {
  // State: page 1.  Action: type letters, a second point and a sign inside the number.
  // Expected: only the characters that keep a decimal number are taken.
  TypeInto(2, "-1a.5.2e3x");
  EXPECT_EQ(RowText(2), "-1.52e3");
  EXPECT_EQ(RowText(4), "-1,520,000");
}

TEST_F(ConversionTest, GroupedResultCanBeEditedInPlace) {
  // State: the millimetre row shows "1,500" written by the program.
  // Action: click at its end and type "0".
  // Expected: the separators fall away and the row holds the number the user sees plus the digit.
  TypeInto(2, "1.5");
  ASSERT_EQ(RowText(4), "1,500");
  QLineEdit* row = Row(4);
  QTest::mouseClick(row, Qt::LeftButton);
  row->end(false);
  QTest::keyClicks(row, "0");
  EXPECT_EQ(RowText(4), "15000");
  EXPECT_EQ(RowText(2), "15");
}

struct BadFactorCase {
  const char* name;
  const char* stored;  // the unit's whole value in the section
  friend std::ostream& operator<<(std::ostream& os, const BadFactorCase& c) { return os << c.name; }
};

// Factors a hand-edited settings file can hold that convert nothing.
const BadFactorCase kBadFactorCases[] = {
    {"Zero", "坏单位,0"},     {"Negative", "坏单位,-2"},       {"Empty", "坏单位,"},
    {"NoComma", "坏单位"},    {"Letters", "坏单位,abc"},       {"NotANumber", "坏单位,NaN"},
    {"Infinite", "坏单位,∞"}, {"BeyondRange", "坏单位,1e400"},
};

class BadFactorTest : public MainWindowTest, public ::testing::WithParamInterface<BadFactorCase> {};

TEST_P(BadFactorTest, RowStaysEmptyAndTypingIntoItChangesNothing) {
  // State: page 1 with 米 (1), a unit whose stored factor is unusable, and 千米 (0.001).
  // Action: type "5" into 米; then type "7" into the bad unit's row; then type "2" into 千米.
  // Expected: the bad row stays empty and never shows ∞, NaN or 0; typing into it leaves the
  // other rows and BaseValue as they were; the other rows keep converting.
  Start(std::string("[通用设置]\n小数保留位数=4\n是否千位分隔=0\n[unit1]\n2=米,1\n3=") +
        GetParam().stored + "\n4=千米,0.001\n");
  ClickCategoryButton(1);
  TypeInto(2, "5");
  EXPECT_EQ(RowText(3), "");
  EXPECT_EQ(RowText(4), "0.005");
  TypeInto(3, "7");
  EXPECT_EQ(RowText(2), "5");
  EXPECT_EQ(RowText(4), "0.005");
  EXPECT_EQ(state().BaseValue, 5.0);
  ClearRow(4);
  TypeInto(4, "2");
  EXPECT_EQ(RowText(2), "2000");
  EXPECT_EQ(RowText(3), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadFactorTest, ::testing::ValuesIn(kBadFactorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConversionTest, FocusedRowIsWhiteAndOthersLightGrey) {
  // State: page 1 just shown, its first row focused.  Action: click row 3, then row 2, then 3.
  // Expected: the focused row is 0xFFFFFF, the one left behind 0xECECEC again.
  const Control row2 = FindControlByTag(window(), 2);
  const Control row3 = FindControlByTag(window(), 3);
  EXPECT_EQ(BackgroundColour(row3), kLightGrey);
  TypeInto(3, "");
  EXPECT_EQ(BackgroundColour(row2), kLightGrey);
  TypeInto(2, "");
  EXPECT_EQ(BackgroundColour(row2), kWhite);
  EXPECT_EQ(Row(2)->palette().color(QPalette::Base), QColor(255, 255, 255));
  TypeInto(3, "");
  EXPECT_EQ(BackgroundColour(row2), kLightGrey);
  EXPECT_EQ(Row(2)->palette().color(QPalette::Base), QColor(236, 236, 236));
  EXPECT_EQ(BackgroundColour(row3), kWhite);
}

TEST_F(ConversionTest, OtherPagesKeepTheirTextsUntilEditedThere) {
  // State: "2" typed on page 1.  Action: type "5" on page 3, return to page 1.
  // Expected: page 1 still shows its old values; page 3 rows follow their own edit.
  TypeInto(2, "2");
  ClickCategoryButton(3);
  TypeInto(102, "5");
  EXPECT_EQ(RowText(103), "5,000");
  ClickCategoryButton(1);
  EXPECT_EQ(RowText(4), "2,000");
}

TEST_F(ConversionTest, RefreshReformatsThePageOnShowExceptTheFocusedRow) {
  // State: "2.345" typed into the metre row, which keeps the focus.
  // Action: the options change to no decimals and no separators, then RefreshCurrentPage.
  // Expected: the other rows are rewritten in the new format; the typed row stays as typed.
  TypeInto(2, "2.345");
  ASSERT_EQ(RowText(4), "2,345");
  state().settings.DecimalPlaces = 0;
  state().settings.ThousandsSeparators = false;
  RefreshCurrentPage(state(), window());
  EXPECT_EQ(RowText(2), "2.345");
  EXPECT_EQ(RowText(4), "2345");
  EXPECT_EQ(RowText(5), "8");
}

struct TemperatureCase {
  const char* name;
  int row;
  const char* typed;
  const char* expected[5];  // rows 152 to 156
  friend std::ostream& operator<<(std::ostream& os, const TemperatureCase& c) {
    return os << c.name;
  }
};

// clang-format off
const TemperatureCase kTemperatureCases[] = {
  {"celsius_100",    152, "100", {"100",     "373.15", "80",      "212",     "671.67"}},
  {"kelvin_0",       153, "0",   {"-273.15", "0",      "-218.52", "-459.67", "0"}},
  {"fahrenheit_m40", 155, "-40", {"-40",     "233.15", "-32",     "-40",     "419.67"}},
  {"rankine_0",      156, "0",   {"-273.15", "0",      "-218.52", "-459.67", "0"}},
};
// clang-format on

class TemperatureRowsTest : public testing::MainWindowTest,
                            public ::testing::WithParamInterface<TemperatureCase> {
 protected:
  void SetUp() override {
    Start(kConfig);
    ClickCategoryButton(4);
  }
};

TEST_P(TemperatureRowsTest, TypedRowSetsTheOtherScales) {
  // State: the temperature page, two decimals.
  // Action: type the case's value into its row.
  // Expected: every row shows the same temperature in its own scale.
  const TemperatureCase& c = GetParam();
  TypeInto(c.row, c.typed);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(RowText(152 + i), c.expected[i]) << "row " << 152 + i;
}

INSTANTIATE_TEST_SUITE_P(Cases, TemperatureRowsTest, ::testing::ValuesIn(kTemperatureCases),
                         [](const auto& info) { return std::string(info.param.name); });

using TemperaturePageTest = ConversionTest;

TEST_F(TemperaturePageTest, ClearingFahrenheitGivesItsZeroInCelsius) {
  ClickCategoryButton(4);
  TypeInto(155, "50");
  ClearRow(155);
  EXPECT_EQ(RowText(152), "-17.78");
  EXPECT_EQ(RowText(155), "");
}

TEST_F(TemperaturePageTest, RankineRowIsWrittenBeforeFahrenheit) {
  ClickCategoryButton(4);
  std::vector<int> order;
  for (const int row : {153, 154, 155, 156}) {
    QObject::connect(Row(row), &QLineEdit::textChanged, [&order, row] { order.push_back(row); });
  }
  TypeInto(152, "1");
  EXPECT_EQ(order, (std::vector<int>{153, 154, 156, 155}));
}

TEST_F(TemperaturePageTest, RefreshRewritesAllFiveRowsFocusedIncluded) {
  // State: "100.0" typed into the Celsius row, which keeps the focus.
  // Action: RefreshCurrentPage with no decimals.
  // Expected: all five rows are rewritten from BaseValue, the focused one too.
  ClickCategoryButton(4);
  TypeInto(152, "100.0");
  state().settings.DecimalPlaces = 0;
  RefreshCurrentPage(state(), window());
  EXPECT_EQ(RowText(152), "100");
  EXPECT_EQ(RowText(153), "373");
  EXPECT_EQ(RowText(156), "672");
}

TEST_F(MainWindowTest, TemperaturePageWithFewerRowsSkipsTheMissingOnes) {
  // State: the temperature section lists only Celsius and kelvin.
  // Action: type into the Celsius row.  Expected: kelvin is written, nothing else happens.
  Start(
      "[通用设置]\n小数保留位数=2\n跨度=300\n上下间隔=24\n每列个数=15\n"
      "[unit4]\n152=摄氏度,1\n153=开尔文,1\n");
  ClickCategoryButton(4);
  TypeInto(152, "10");
  EXPECT_EQ(RowText(153), "283.15");
  EXPECT_EQ(Row(154), nullptr);
}

}  // namespace
}  // namespace velmora
