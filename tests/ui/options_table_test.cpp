// Every row of the general settings table, driven through the real options dialog.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <ostream>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/utf8_text.h"
#include "ui/options_fixture.h"
#include "ui/unit_manager_support.h"

namespace velmora {

// Test names and failures show a row by its key.
void PrintTo(const GeneralSetting& setting, std::ostream* os) {
  *os << setting.key;
}

namespace {

using testing::OptionsTest;
using testing::Widget;

// The shipped layout; the table's rows put their own values over it.
constexpr const char* kConfig = "[通用设置]\n跨度=300\n上下间隔=24\n每列个数=15\n";

std::string RowName(const ::testing::TestParamInfo<GeneralSetting>& info) {
  // Keys are Chinese; the row's place in the table names the case.
  for (std::size_t i = 0; i < std::size(kGeneralSettings); ++i) {
    if (kGeneralSettings[i].key == info.param.key) return "Row" + std::to_string(i);
  }
  return "Unknown";
}

// A value inside the row's range other than the file's and the defaults, so that a field wired
// to the wrong setting shows up.
int ValueFor(const GeneralSetting& setting) {
  switch (setting.field_kind) {
    case SettingField::NumberBox:
      return setting.highest - 1 > setting.lowest ? setting.highest - 1 : setting.highest;
    case SettingField::Choice:
      return setting.highest;
    case SettingField::CheckBox:
    case SettingField::None:
      break;
  }
  return 1;
}

// The caption of the label beside the row's field, without its colon.
QString FieldName(Window* options, const GeneralSetting& setting) {
  for (const ControlDesign& control : OptionsWindowDesign().controls) {
    if (control.name != setting.field) continue;
    QString name = Text(FindControl(options, control.label));
    if (name.endsWith(u'：')) name.chop(1);
    return name;
  }
  return {};
}

class SettingRowTest : public OptionsTest, public ::testing::WithParamInterface<GeneralSetting> {};

class NumberBoxRowTest : public SettingRowTest {};

// The rows the dialog edits in a number box, the ones with a range.
std::vector<GeneralSetting> NumberBoxRows() {
  std::vector<GeneralSetting> rows;
  for (const GeneralSetting& setting : kGeneralSettings) {
    if (setting.field_kind == SettingField::NumberBox) rows.push_back(setting);
  }
  return rows;
}

TEST_P(SettingRowTest, ValueTravelsFromTheFileThroughTheDialogBackToTheFile) {
  // State: the row's key holds a value of its own in the settings file.  Action: start, open
  // the options dialog, OK.  Expected: start-up reads the value into memory, the row's field
  // shows it and OK stores it again under the row's key; a setting without a field stays as
  // it was.
  const GeneralSetting& setting = GetParam();
  const int value = ValueFor(setting);
  WriteConfig(kConfig);
  ASSERT_TRUE(WriteSetting(setting.section, setting.key, std::to_string(value)));
  Launch();
  EXPECT_EQ(SettingValue(state().settings, setting), value);
  WithOptions([&](Window* options) {
    switch (setting.field_kind) {
      case SettingField::NumberBox:
        EXPECT_EQ(Text(FindControl(options, setting.field)), QString::number(value));
        // Typed over, so that only what OK stores can bring the value back.
        TypeInto(options, setting.field, std::to_string(value).c_str());
        break;
      case SettingField::CheckBox:
        EXPECT_TRUE(Checked(FindControl(options, setting.field)));
        break;
      case SettingField::Choice:
        for (int n = setting.lowest; n <= setting.highest; ++n) {
          const std::string radio = std::string(setting.field) + std::to_string(n);
          EXPECT_EQ(Checked(FindControl(options, radio)), n == value) << radio;
        }
        break;
      case SettingField::None:
        break;
    }
    ASSERT_TRUE(WriteSetting(setting.section, setting.key, "<overwritten>"));
    Click(options, "确认");
  });
  const std::string expected =
      setting.field_kind == SettingField::None ? "<overwritten>" : std::to_string(value);
  EXPECT_EQ(Stored(setting.section, setting.key), expected);
  EXPECT_EQ(SettingValue(state().settings, setting), value);
}

TEST_P(NumberBoxRowTest, DialogRefusesNumbersJustOutsideTheRange) {
  // State: the dialog open.  Action: one past each end of the row's range, Apply each time; then
  // each end itself.  Expected: each number outside is refused with one message naming the
  // range and nothing written; each end is taken, stored as typed and held in memory.
  const GeneralSetting& setting = GetParam();
  Start(kConfig);
  const std::string before = ConfigBytes();
  testing::MessageLog messages;
  WithOptions([&](Window* options) {
    for (const int outside : {setting.lowest - 1, setting.highest + 1}) {
      TypeInto(options, setting.field, std::to_string(outside).c_str());
      Click(options, "应用");
      const std::vector<testing::Message> shown = messages.Take();
      ASSERT_EQ(shown.size(), 1u) << outside;
      const QString range =
          QStringLiteral("须为 %1 到 %2 之间的整数").arg(setting.lowest).arg(setting.highest);
      EXPECT_TRUE(shown[0].text.contains(range)) << shown[0];
      EXPECT_TRUE(shown[0].text.startsWith("“" + FieldName(options, setting) + "”")) << shown[0];
      EXPECT_TRUE(shown[0].text.endsWith(FromUtf8(setting.unit) + QStringLiteral("，设置未保存。")))
          << shown[0];
      EXPECT_EQ(ConfigBytes(), before) << outside;
      EXPECT_TRUE(Widget<QLineEdit>(options, setting.field)->isVisible()) << outside;
    }
    for (const int end : {setting.lowest, setting.highest}) {
      TypeInto(options, setting.field, std::to_string(end).c_str());
      Click(options, "应用");
      EXPECT_TRUE(messages.Take().empty()) << end;
      EXPECT_EQ(Stored(setting.section, setting.key), std::to_string(end));
      EXPECT_EQ(SettingValue(state().settings, setting), end);
    }
    Click(options, "取消");
  });
}

INSTANTIATE_TEST_SUITE_P(GeneralSettings, SettingRowTest, ::testing::ValuesIn(kGeneralSettings),
                         RowName);
INSTANTIATE_TEST_SUITE_P(GeneralSettings, NumberBoxRowTest, ::testing::ValuesIn(NumberBoxRows()),
                         RowName);

}  // namespace
}  // namespace velmora
