#include "units/unit_list.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "text/gb18030.h"
#include "text/number_text.h"

namespace velmora {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::size_t Characters(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

struct FactorCase {
  const char* name;
  double factor;
  const char* text;  // nullptr: any text that fits and reads back
  friend std::ostream& operator<<(std::ostream& os, const FactorCase& c) { return os << c.name; }
};

// clang-format off
const FactorCase kFactorCases[] = {
  {"whole",                1,                       "1"},
  {"thousandth",           0.001,                   "0.001"},
  {"inch_per_metre",       39.37007874015748,       "39.37007874015748"},
  {"nano",                 1e-9,                    "0.000000001"},
  {"large_whole",          1e15,                    "1000000000000000"},
  {"negative",             -0.25,                   "-0.25"},
  {"sum_artefact",         0.1 + 0.2,               "0.30000000000000004"},
  {"light_year",           1.057e-16,               "1.057e-16"},
  {"seventeen_digits_tiny", 1.0570008340246154e-16, nullptr},
  {"tiny",                 1e-30,                   "1e-30"},
  {"huge",                 6.02214076e23,           "6.02214076e23"},
  {"seventeen_digits_big", 1.2345678901234567e25,   nullptr},
  {"negative_long_small",  -1.2345678901234567e-5,  nullptr},
  {"smallest",             5e-324,                  "5e-324"},
  // 21 characters with a point; the same digits as a whole mantissa fit and are exact.
  {"astronomical_unit",    6684587122268445e-27,    "6684587122268445e-27"},
};
// clang-format on

class FactorTextTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(FactorTextTest, ShortestTextThatFitsAndReadsBack) {
  const FactorCase& c = GetParam();
  const std::string text = FactorText(c.factor);
  EXPECT_LE(Characters(text), kManagerFactorCharacters) << text;
  if (c.text != nullptr) {
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(TextToNumber(text), c.factor) << text;
  } else {
    // Too many digits for 20 characters: as close as 20 characters allow.
    EXPECT_NEAR(TextToNumber(text), c.factor, std::abs(c.factor) * 1e-13) << text;
  }
  // The manager's own reading of a stored "name,factor" gives the number back.
  EXPECT_EQ(ParseManagedUnit("x," + text).factor, TextToNumber(text));
}

INSTANTIATE_TEST_SUITE_P(Cases, FactorTextTest, ::testing::ValuesIn(kFactorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FactorTextTest, NonFiniteFactorsReadBack) {
  for (const double value :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(TextToNumber(FactorText(value)), value);
  }
  EXPECT_TRUE(std::isnan(TextToNumber(FactorText(std::nan("")))));
}

struct TypedFactorCase {
  const char* name;
  const char* typed;
  FactorProblem problem;
  const char* stored;  // what Apply stores when the factor is accepted
  friend std::ostream& operator<<(std::ostream& os, const TypedFactorCase& c) {
    return os << c.name;
  }
};

// clang-format off
const TypedFactorCase kTypedFactorCases[] = {
  {"letters",          "abc",                            FactorProblem::NotANumber,  nullptr},
  {"zero",             "0",                              FactorProblem::NotPositive, nullptr},
  {"negative",         "-1",                             FactorProblem::NotPositive, nullptr},
  {"beyond_range",     "1e400",                          FactorProblem::OutOfRange,  nullptr},
  {"below_range",      "1e-400",                         FactorProblem::NotPositive, nullptr},
  {"empty",            "",                               FactorProblem::Empty,       nullptr},
  {"blanks",           "   ",                            FactorProblem::Empty,       nullptr},
  {"placeholder",      "INPUT the conversion factor",    FactorProblem::NotANumber,  nullptr},
  {"number_then_text", "1.5abc",                         FactorProblem::NotANumber,  nullptr},
  {"grouped",          "1,000",                          FactorProblem::NotANumber,  nullptr},
  {"exponent_alone",   "1e",                             FactorProblem::NotANumber,  nullptr},
  {"infinity_text",    "∞",                              FactorProblem::NotANumber,  nullptr},
  {"nan_text",         "NaN",                            FactorProblem::NotANumber,  nullptr},
  {"seventeen_digits", "0.000012345678901234568",        FactorProblem::TooLong,     nullptr},
  {"plain",            "0.001",                          FactorProblem::None,        "0.001"},
  {"exponent",         " 1e-3 ",                         FactorProblem::None,        "1e-3"},
  {"signed",           "+2",                             FactorProblem::None,        "+2"},
  {"twenty_characters","0.000000000000000001",           FactorProblem::None,        "0.000000000000000001"},
  {"long_exact",       "0.0000000000066845871222684450", FactorProblem::None,        "6684587122268445e-27"},
  {"long_rounded",     "3.28083989501312335958",         FactorProblem::None,        "3.2808398950131235"},
};
// clang-format on

class CheckTypedFactorTest : public ::testing::TestWithParam<TypedFactorCase> {};

TEST_P(CheckTypedFactorTest, AcceptsOnlyPositiveNumbersStoredInTwentyCharacters) {
  const TypedFactorCase& c = GetParam();
  const CheckedFactor checked = CheckTypedFactor(c.typed);
  EXPECT_EQ(checked.problem, c.problem);
  if (c.stored == nullptr) return;
  EXPECT_EQ(checked.text, c.stored);
  EXPECT_LE(Characters(checked.text), kManagerFactorCharacters);
  // What is stored reads back, by the manager's and the loader's rules, as the typed number.
  EXPECT_EQ(TextToNumber(checked.text), TextToNumber(c.typed));
  EXPECT_EQ(ParseManagedUnit("x," + checked.text).factor, checked.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckTypedFactorTest, ::testing::ValuesIn(kTypedFactorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProblemOfFactorTest, OnlyFiniteNumbersAboveZeroConvert) {
  EXPECT_EQ(ProblemOfFactor(0.001), FactorProblem::None);
  EXPECT_EQ(ProblemOfFactor(0.0), FactorProblem::NotPositive);
  EXPECT_EQ(ProblemOfFactor(-3.0), FactorProblem::NotPositive);
  EXPECT_EQ(ProblemOfFactor(std::numeric_limits<double>::infinity()), FactorProblem::OutOfRange);
  EXPECT_EQ(ProblemOfFactor(std::nan("")), FactorProblem::NotANumber);
}

TEST(ParseManagedUnitTest, ReadsTwentyCharactersOfTheFactor) {
  // 25 characters: only "0.000000000000000000" (zero) is read.
  EXPECT_EQ(ParseManagedUnit("埃,0.0000000000000000000001").factor, 0.0);
  EXPECT_EQ(ParseManagedUnit("埃,1234567890123456789012345").factor, 12345678901234567890.0);
  EXPECT_EQ(ParseManagedUnit("x,                   7").factor, 7.0);
  EXPECT_EQ(ParseManagedUnit("x,                    7").factor, 0.0);
  const ManagedUnit unit = ParseManagedUnit(" 尺 ,0.3333,extra");
  EXPECT_EQ(unit.name, " 尺 ");
  EXPECT_EQ(unit.factor, 0.3333);
  EXPECT_EQ(ParseManagedUnit("无逗号").name, "无逗号");
  EXPECT_EQ(ParseManagedUnit("无逗号").factor, 0.0);
}

TEST(EditablePageOfSectionTest, EveryCategoryButTemperature) {
  EXPECT_EQ(EditablePageOfSection("unit1"), 1);
  EXPECT_EQ(EditablePageOfSection("unit32"), 32);
  EXPECT_EQ(EditablePageOfSection("unit4"), std::nullopt);
  EXPECT_EQ(EditablePageOfSection("unit33"), std::nullopt);
  EXPECT_EQ(EditablePageOfSection("unit01"), std::nullopt);
  EXPECT_EQ(EditablePageOfSection(""), std::nullopt);
}

TEST(MakeStoredUnitListTest, KeysFollowTheRowsAndCommasLeaveNames) {
  const std::vector<UnitRowText> rows = {{"米", "1"}, {"a,b", "2"}, {"", "INPUT"}};
  const StoredUnitList list = MakeStoredUnitList(2, rows);
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.items[0].key, "52");
  EXPECT_EQ(list.items[0].value, "米,1");
  EXPECT_EQ(list.items[1].key, "53");
  EXPECT_EQ(list.items[1].value, "a，b,2");
  EXPECT_EQ(list.items[2].value, ",INPUT");
  EXPECT_TRUE(list.commas_replaced);
  EXPECT_FALSE(MakeStoredUnitList(1, std::vector<UnitRowText>{{"米", "1,5"}}).commas_replaced);
}

class StoreUnitListTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsPath(path_); }
  void TearDown() override { SetSettingsPath({}); }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "config.dat";
};

TEST_F(StoreUnitListTest, ReplacesTheWholeSectionAndNothingElse) {
  // State: unit1 with keys 2, 3 and 5 (a gap), other sections around it, CRLF lines.
  // Action: store two rows, then none.  Expected: the section holds exactly the two rows under
  // 2 and 3; the lines around it keep their bytes; no rows removes the section.
  const std::string before = "[通用设置]\r\n跨度=120\r\n";
  const std::string after = "[unit2]\r\n52=克,1\r\n";
  WriteBytes(path_, Utf8ToGb18030(before + "[unit1]\r\n2=a,1\r\n3=b,2\r\n5=c,3\r\n" + after));
  const std::vector<UnitRowText> rows = {{"千米", "0.001"}, {"米", "1"}};
  const StoreResult stored = StoreUnitList(1, rows);
  ASSERT_TRUE(stored.write) << stored.write.message;
  EXPECT_FALSE(stored.commas_replaced);
  const std::string text = Gb18030ToUtf8(ReadBytes(path_));
  EXPECT_TRUE(text.starts_with(before)) << text;
  EXPECT_TRUE(text.ends_with(after)) << text;
  EXPECT_EQ(ReadSetting("unit1", "2"), "千米,0.001");
  EXPECT_EQ(ReadSetting("unit1", "3"), "米,1");
  EXPECT_EQ(ReadSetting("unit1", "5", "absent"), "absent");

  ASSERT_TRUE(StoreUnitList(1, {}).write);
  EXPECT_EQ(Gb18030ToUtf8(ReadBytes(path_)), before + after);
}

// A writer killed in the middle of Apply leaves the old list or the new one: the file holds,
// byte for byte, one of the two whole files.
TEST_F(StoreUnitListTest, KilledApplyLeavesTheOldOrTheNewList) {
  std::vector<UnitRowText> lists[2];
  for (int i = 0; i < 49; ++i) lists[0].push_back({"米" + std::to_string(i), std::to_string(i)});
  for (int i = 0; i < 30; ++i)
    lists[1].push_back({"尺" + std::to_string(i), "0." + std::to_string(i)});
  WriteBytes(path_, Utf8ToGb18030("[通用设置]\n跨度=120\n[unit1]\n2=x,1\n[unit3]\n102=升,1\n"));
  std::string whole[2];
  for (int i : {1, 0}) {
    ASSERT_TRUE(StoreUnitList(1, lists[i]).write);
    whole[i] = ReadBytes(path_);
  }
  std::mt19937 random(15);
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    const pid_t pid = fork();
    if (pid == 0) {
      for (int j = 1;; ++j) {
        if (!StoreUnitList(1, lists[j % 2]).write) _exit(1);
      }
    }
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
    const std::string bytes = ReadBytes(path_);
    EXPECT_TRUE(bytes == whole[0] || bytes == whole[1]) << bytes.size() << " bytes";
  }
}

}  // namespace
}  // namespace velmora
