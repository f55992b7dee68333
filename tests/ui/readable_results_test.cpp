// Results and pasted values as the user reads them in the rows of the real main window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <cmath>
#include <ostream>
#include <string>

#include "convert/format_number.h"
#include "text/number_text.h"
#include "toolkit/toolkit.h"
#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

constexpr const char* kConfig = R"([通用设置]
小数保留位数=%1
是否千位分隔=1
有效数字显示=%2
跨度=300
上下间隔=24
每列个数=15

[unit1]
2=米,1
3=光年,1.0570008340246154e-16
4=千米,0.001

[unit4]
152=摄氏度,1
153=开尔文,1
154=列氏度,1
155=华氏度,1
156=兰氏度,1

[unit14]
652=秒,1
653=毫秒,1000
654=年(365天),3.1709791983764586e-08
655=皮秒,1e12
)";

double Number(const QString& text) {
  QString plain = text;
  plain.remove(u',');
  return TextToNumber(plain.toStdString());
}

// The first significant digit of a result.
QChar FirstDigit(const QString& text) {
  for (const QChar c : text) {
    if (c >= u'1' && c <= u'9') return c;
  }
  return u'0';
}

class ReadableResultsTest : public testing::MainWindowTest {
 protected:
  // `decimals` decimal places, or as many significant digits when `significant`.
  void StartWithDecimals(int decimals, bool significant = false) {
    Start(QString::fromUtf8(kConfig).arg(decimals).arg(significant ? 1 : 0).toStdString());
  }
};

TEST_F(ReadableResultsTest, NoiseDigitsNeverReachARow) {
  // State: the time page, two decimals, separators on.
  // Action: type 1 into 年(365天).
  // Expected: the millisecond row reads 31,536,000,000 (not ...999.999992), shown from its start.
  StartWithDecimals(2);
  ClickCategoryButton(14);
  TypeInto(654, "1");
  EXPECT_EQ(RowText(652), "31,536,000");
  EXPECT_EQ(RowText(653), "31,536,000,000");
  EXPECT_EQ(Row(653)->cursorPosition(), 0);
  EXPECT_TRUE(Row(653)->toolTip().isEmpty());
}

struct LongCase {
  const char* name;
  int decimals;  // or significant digits
  bool significant;
  int typed_row;
  const char* typed;
  int row;  // the row whose result is too long for 120 pixels
};

std::ostream& operator<<(std::ostream& os, const LongCase& c) {
  return os << c.name;
}

// clang-format off
const LongCase kLongCases[] = {
  {"light_years_in_metres",    2,  false, 3,   "2.5",                2},
  {"grouped_with_places",      6,  false, 4,   "123456789.012345",   2},
  {"picoseconds_in_a_year",    2,  false, 654, "0.142857142857",     655},
  {"tiny_fraction_of_a_year",  20, false, 652, "0.001",              654},
  {"negative_grouped",         4,  false, 4,   "-98765432109.8765",  2},
  // Significant digits: the exponent form and long plain integer parts fit the same way.
  {"significant_tiny",         15, true,  652, "0.001",              654},
  {"significant_light_years",  15, true,  4,   "2.5",                3},
  {"significant_grouped",      15, true,  4,   "-98765432109.8765",  2},
};
// clang-format on

class LongResultTest : public ReadableResultsTest,
                       public ::testing::WithParamInterface<LongCase> {};

TEST_P(LongResultTest, RowShowsAWholeTextOfTheSameValue) {
  // State: a page whose result in one row is wider than the 120-pixel box.
  // Action: type the case's value.
  // Expected: the row holds a text that fits whole, begins with the value's first digit, reads
  // back as the value to its precision and shows from its start; the hint holds the full text.
  const LongCase& c = GetParam();
  StartWithDecimals(c.decimals, c.significant);
  ClickCategoryButton(c.typed_row < 50 ? 1 : 14);
  TypeInto(c.typed_row, c.typed);
  const double value = state().BaseValue * state().FactorTable.Get(c.row);
  const QString full =
      QString::fromStdString(FormatResult(value, {c.decimals, true, c.significant}));
  const Control row = FindControlByTag(window(), c.row);
  const QString shown = Text(row);
  ASSERT_FALSE(TextFits(row, full)) << "the case must overflow the box: " << full.toStdString();
  EXPECT_TRUE(TextFits(row, shown)) << shown.toStdString();
  EXPECT_EQ(Row(c.row)->cursorPosition(), 0);
  EXPECT_EQ(Hint(row), full);
  EXPECT_EQ(FirstDigit(shown), FirstDigit(full));
  EXPECT_EQ(shown.startsWith(u'-'), full.startsWith(u'-'));
  EXPECT_NEAR(Number(shown), value, std::fabs(value) * 1e-6) << shown.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, LongResultTest, ::testing::ValuesIn(kLongCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadableResultsTest, TypedRowKeepsItsCaretAndItsWholeText) {
  // State: page 1.  Action: type a number longer than the box into the metre row.
  // Expected: the row keeps the text as typed with the caret at its end and no hint; when the
  // user leaves the row it shows the start of the text.
  StartWithDecimals(2);
  ClickCategoryButton(1);
  TypeInto(2, "123456789012345678901");
  EXPECT_EQ(RowText(2), "123456789012345678901");
  EXPECT_EQ(Row(2)->cursorPosition(), 21);
  EXPECT_TRUE(Row(2)->toolTip().isEmpty());
  QTest::mouseClick(Row(4), Qt::LeftButton);
  EXPECT_EQ(Row(2)->cursorPosition(), 0);
}

TEST_F(ReadableResultsTest, HintGoesWhenTheResultFitsAgain) {
  // State: the metre row shows a shortened result with a hint.
  // Action: type a small value into another row.  Expected: the full text fits; no hint.
  StartWithDecimals(2);
  ClickCategoryButton(1);
  TypeInto(3, "2.5");
  ASSERT_FALSE(Row(2)->toolTip().isEmpty());
  ClearRow(3);
  QTest::keyClicks(Row(3), "1e-16");
  EXPECT_EQ(RowText(2), "0.95");
  EXPECT_TRUE(Row(2)->toolTip().isEmpty());
}

struct PasteCase {
  const char* name;
  int page;
  int row;
  const char* pasted;
  const char* expected;  // the row's text afterwards; "7" when the paste is refused
  int other_row;
  const char* other_expected;
};

std::ostream& operator<<(std::ostream& os, const PasteCase& c) {
  return os << c.name;
}

// clang-format off
const PasteCase kPasteCases[] = {
  {"line_feed_after",        1, 2, "12\n",           "12",        4, "0.01"},
  {"crlf_after",             1, 2, "12\r\n",         "12",        4, "0.01"},
  {"blank_before",           1, 2, " 12",            "12",        4, "0.01"},
  {"blank_after",            1, 2, "12 ",            "12",        4, "0.01"},
  {"tabs_and_lines_around",  1, 2, "\t\n 12.5 \t",   "12.5",      4, "0.01"},
  {"grouped_thousands",      1, 4, "1,234",          "1234",      2, "1,234,000"},
  {"grouped_with_fraction",  1, 4, "1,234,567.8",    "1234567.8", 2, "1,234,567,800"},
  {"grouped_negative",       1, 4, "-1,234",         "-1234",     2, "-1,234,000"},
  {"comma_as_decimal",       1, 2, "5,5",            "7",         4, "0.01"},
  {"groups_of_two",          1, 2, "1,23",           "7",         4, "0.01"},
  {"group_of_four",          1, 2, "12,3456",        "7",         4, "0.01"},
  {"comma_in_fraction",      1, 2, "1.234,5",        "7",         4, "0.01"},
  {"inner_blank",            1, 2, "1 2",            "7",         4, "0.01"},
  {"full_width_fraction",    1, 2, "１２．５",       "12.5",      4, "0.01"},
  {"full_width_negative",    1, 2, "－３",           "-3",        4, "-0"},
  {"full_width_grouped",     1, 4, "１，２３４",     "1234",      2, "1,234,000"},
  {"full_width_temperature", 4, 152, "１００",       "100",       155, "212"},
  {"ideographic_blank",      4, 155, "\u3000２１２", "212",       152, "100"},
};
// clang-format on

class PasteTest : public ReadableResultsTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, RowTakesThePlainNumberOrRefusesThePaste) {
  // State: the case's page, "7" typed into the row.
  // Action: select the row's text and paste the case's text with Ctrl+V.
  // Expected: the row holds the plain number and the page follows it, or the paste is refused
  // and the row keeps "7".
  const PasteCase& c = GetParam();
  StartWithDecimals(2);
  ClickCategoryButton(c.page);
  TypeInto(c.row, "7");
  const QString before_other = RowText(c.other_row);
  QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
  Row(c.row)->selectAll();
  QTest::keyClick(Row(c.row), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(RowText(c.row), QString::fromUtf8(c.expected));
  if (QString::fromUtf8(c.expected) == "7") {
    EXPECT_EQ(RowText(c.other_row), before_other);
  } else if (c.page == 1 && c.row == 2) {
    // A metre value: the kilometre row follows it.
    EXPECT_EQ(RowText(c.other_row), QString::fromStdString(FormatNumber(
                                        Number(QString::fromUtf8(c.expected)) / 1000, 2, true)));
  } else {
    EXPECT_EQ(RowText(c.other_row), QString::fromUtf8(c.other_expected));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PasteTest, ::testing::ValuesIn(kPasteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadableResultsTest, EditingAGroupedResultDropsItsCommas) {
  // State: the kilometre row shows "1,234.57" written by the program.
  // Action: click at its end and press Backspace.
  // Expected: the commas the program wrote fall away; the row holds "1234.5".
  StartWithDecimals(2);
  ClickCategoryButton(1);
  TypeInto(2, "1234567");
  ASSERT_EQ(RowText(4), "1,234.57");
  QTest::mouseClick(Row(4), Qt::LeftButton);
  Row(4)->end(false);
  QTest::keyClick(Row(4), Qt::Key_Backspace);
  EXPECT_EQ(RowText(4), "1234.5");
  EXPECT_EQ(RowText(2), "1,234,500");
}

}  // namespace
}  // namespace velmora
