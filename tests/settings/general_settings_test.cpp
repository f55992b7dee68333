#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace velmora {
namespace {

using testing::TempDir;
using testing::WriteBytes;

struct IntCase {
  std::string_view text;
  int expected;
};

TEST(SettingToIntTest, TruncatesTowardZeroAndClamps) {
  // clang-format off
  const IntCase cases[] = {
    {"", 0}, {"abc", 0}, {"7", 7}, {"12.9", 12}, {"-3.7", -3}, {"-0.5", 0}, {"1.5", 1},
    {" 31", 31}, {"2px", 2}, {"1e3", 1000}, {"1e10", INT_MAX}, {"-1e10", INT_MIN},
    {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"NaN", 0}, {"∞", INT_MAX},
  };
  // clang-format on
  for (const IntCase& c : cases) {
    EXPECT_EQ(SettingToInt(c.text), c.expected) << '"' << c.text << '"';
  }
}

class GeneralSettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { SetSettingsPath({}); }

  // Writes a settings file whose general section holds `items` (GB18030 bytes from UTF-8 lines)
  // and reads the general settings from it through the program's settings path.
  Settings ReadWith(std::string_view items) {
    const SettingsFile file(dir_ / "config.dat");
    std::string_view rest = items;
    while (!rest.empty()) {
      const std::size_t eol = rest.find('\n');
      const std::string_view line = rest.substr(0, eol);
      const std::size_t eq = line.find('=');
      EXPECT_TRUE(file.Write(kGeneralSection, line.substr(0, eq), line.substr(eq + 1)));
      rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
    }
    SetSettingsPath(file.path());
    return ReadGeneralSettings();
  }

  TempDir dir_;
};

TEST_F(GeneralSettingsTest, NoFileGivesTheDefaults) {
  SetSettingsPath(dir_ / "config.dat");
  const Settings s = ReadGeneralSettings();
  EXPECT_EQ(s.InterfaceStyle, 1);
  EXPECT_EQ(s.RememberLastCategory, 0);
  EXPECT_EQ(s.LastCategory, 0);
  EXPECT_EQ(s.DecimalPlaces, 0);
  EXPECT_FALSE(s.ThousandsSeparators);
  EXPECT_FALSE(s.SignificantDigits);
  EXPECT_EQ(s.ColumnSpan, 0);
  EXPECT_EQ(s.RowSpacing, 0);
  EXPECT_EQ(s.RowsPerColumn, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "config.dat"));
}

TEST_F(GeneralSettingsTest, ReadsEveryKeyOfAGbkFile) {
  // "通用设置" with its eight keys, as a GBK program writes them.
  WriteBytes(dir_ / "config.dat",
             "[\xCD\xA8\xD3\xC3\xC9\xE8\xD6\xC3]\r\n"
             "\xBD\xE7\xC3\xE6\xB7\xE7\xB8\xF1=3\r\n"
             "\xBC\xC7\xD7\xA1\xD7\xEE\xBA\xF3\xC0\xE0\xB1\xF0=1\r\n"
             "\xD7\xEE\xBA\xF3\xB5\xC4\xC0\xE0\xB1\xF0=31\r\n"
             "\xD0\xA1\xCA\xFD\xB1\xA3\xC1\xF4\xCE\xBB\xCA\xFD=4\r\n"
             "\xCA\xC7\xB7\xF1\xC7\xA7\xCE\xBB\xB7\xD6\xB8\xF4=1\r\n"
             "\xBF\xE7\xB6\xC8=200\r\n"
             "\xC9\xCF\xCF\xC2\xBC\xE4\xB8\xF4=25\r\n"
             "\xC3\xBF\xC1\xD0\xB8\xF6\xCA\xFD=10\r\n");
  SetSettingsPath(dir_ / "config.dat");
  const Settings s = ReadGeneralSettings();
  EXPECT_EQ(s.InterfaceStyle, 3);
  EXPECT_EQ(s.RememberLastCategory, 1);
  EXPECT_EQ(s.LastCategory, 31);
  EXPECT_EQ(s.DecimalPlaces, 4);
  EXPECT_TRUE(s.ThousandsSeparators);
  EXPECT_EQ(s.ColumnSpan, 200);
  EXPECT_EQ(s.RowSpacing, 25);
  EXPECT_EQ(s.RowsPerColumn, 10);
}

struct SeparatorCase {
  const char* stored;
  bool on;
};

TEST_F(GeneralSettingsTest, SeparatorsOnOnlyForExactlyOne) {
  // " 1" is written quoted, so the blank survives the read.
  for (const SeparatorCase c : {SeparatorCase{"1", true},
                                {"1.0", false},
                                {" 1", false},
                                {"01", false},
                                {"2", false},
                                {"0", false},
                                {"", false}}) {
    EXPECT_EQ(ReadWith(std::string("是否千位分隔=") + c.stored).ThousandsSeparators, c.on)
        << '"' << c.stored << '"';
  }
}

TEST_F(GeneralSettingsTest, SignificantDigitsOnOnlyForExactlyOne) {
  // A file from before the option has no key: today's display, decimal places.
  EXPECT_FALSE(ReadWith("是否千位分隔=1").SignificantDigits);
  for (const SeparatorCase c : {SeparatorCase{"1", true},
                                {"1.0", false},
                                {"01", false},
                                {"2", false},
                                {"0", false},
                                {"", false}}) {
    const Settings s = ReadWith(std::string("是否千位分隔=0\n有效数字显示=") + c.stored);
    EXPECT_EQ(s.SignificantDigits, c.on) << '"' << c.stored << '"';
    EXPECT_FALSE(s.ThousandsSeparators) << "the two flags are stored apart";
  }
}

TEST_F(GeneralSettingsTest, UnquotedBlankBeforeOneIsTrimmed) {
  WriteBytes(
      dir_ / "config.dat",
      "[\xCD\xA8\xD3\xC3\xC9\xE8\xD6\xC3]\n\xCA\xC7\xB7\xF1\xC7\xA7\xCE\xBB\xB7\xD6\xB8\xF4= "
      "1\n");
  SetSettingsPath(dir_ / "config.dat");
  EXPECT_TRUE(ReadGeneralSettings().ThousandsSeparators);
}

TEST_F(GeneralSettingsTest, IntegersAreTruncated) {
  const Settings s =
      ReadWith("记住最后类别=1.5\n最后的类别=-1\n小数保留位数=12.9\n跨度=abc\n每列个数=-2.5");
  EXPECT_EQ(s.RememberLastCategory, 1);
  EXPECT_EQ(s.LastCategory, -1);
  EXPECT_EQ(s.DecimalPlaces, 12);
  EXPECT_EQ(s.ColumnSpan, 0);
  EXPECT_EQ(s.RowsPerColumn, -2);
  EXPECT_EQ(s.InterfaceStyle, 1);
  EXPECT_EQ(ReadWith("记住最后类别=2").RememberLastCategory, 2);
}

TEST_F(GeneralSettingsTest, EmptyStoredValueIsZeroNotTheDefault) {
  const Settings s = ReadWith("界面风格=\n记住最后类别=");
  EXPECT_EQ(s.InterfaceStyle, 0);
  EXPECT_EQ(s.RememberLastCategory, 0);
}

// Each row of the table, written alone to the file, comes back in its own member and in no other:
// a row wired to the wrong member, or two rows to the same one, shows up here.
TEST_F(GeneralSettingsTest, EveryTableRowRoundTripsThroughTheFileAlone) {
  SetSettingsPath(dir_ / "config.dat");
  const Settings defaults = ReadGeneralSettings();
  for (const GeneralSetting& row : kGeneralSettings) {
    SCOPED_TRACE(std::string(row.key));
    ASSERT_NE(row.number == nullptr, row.flag == nullptr) << "one member per row";
    // The value the read gives when the key is absent is the row's default, read by its rule.
    const int by_default =
        row.flag != nullptr ? (row.default_text == "1" ? 1 : 0) : SettingToInt(row.default_text);
    EXPECT_EQ(SettingValue(defaults, row), by_default);

    const TempDir dir;
    const SettingsFile file(dir / "config.dat");
    const int stored = row.flag != nullptr ? 1 : 7;
    ASSERT_TRUE(file.Write(row.section, row.key, std::to_string(stored)));
    const Settings read = ReadGeneralSettings(file);
    EXPECT_EQ(ReadSettingValue(file, row), stored);
    for (const GeneralSetting& other : kGeneralSettings) {
      EXPECT_EQ(SettingValue(read, other), &other == &row ? stored : SettingValue(defaults, other))
          << std::string(other.key);
    }
  }
}

TEST(GeneralSettingsTableTest, KeysFieldsAndRangesAreSound) {
  for (const GeneralSetting& row : kGeneralSettings) {
    SCOPED_TRACE(std::string(row.key));
    EXPECT_EQ(&GeneralSettingOf(row.key), &row);
    EXPECT_EQ(row.field.empty(), row.field_kind == SettingField::None);
    if (row.field_kind == SettingField::NumberBox || row.field_kind == SettingField::Choice) {
      EXPECT_LE(row.lowest, row.highest);
      EXPECT_NE(row.number, nullptr) << "a number box or choice edits a number";
    }
    for (const GeneralSetting& other : kGeneralSettings) {
      if (&other == &row) continue;
      EXPECT_FALSE(other.section == row.section && other.key == row.key) << "key twice";
      EXPECT_TRUE(row.field.empty() || other.field != row.field) << "field twice";
    }
  }
  EXPECT_THROW(GeneralSettingOf("no such key"), std::out_of_range);
}

}  // namespace
}  // namespace velmora
