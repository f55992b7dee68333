#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>
#include <ostream>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "toolkit/grid.h"
#include "toolkit/toolkit.h"
#include "ui/unit_manager_design.h"
#include "ui/unit_manager_support.h"

namespace velmora {
namespace {

using testing::Click;
using testing::ClickCell;
using testing::EditCell;
using testing::Grid;
using testing::GridRows;
using testing::Message;
using testing::Table;
using testing::UnitManagerTest;
using Rows = std::vector<std::vector<std::string>>;

const Message kSaved{"成功!", "数据保存成功！"};

constexpr const char* kConfig =
    "[按钮的命名]\nunit1=长度\nunit7=压强\n"
    "[unit1]\n2=米,1\n3=千米,0.001\n"
    "[unit7]\n302=帕,1\n";

struct FactorCase {
  const char* name;
  bool add_unit;       // the factor is that of a unit added with the placeholder texts
  const char* typed;   // typed into the factor cell of the unit; nullptr: left as it is
  const char* stored;  // nullptr: refused
  friend std::ostream& operator<<(std::ostream& os, const FactorCase& c) { return os << c.name; }
};

// clang-format off
const FactorCase kFactorCases[] = {
  {"Letters",        false, "abc",   nullptr},
  {"Zero",           false, "0",     nullptr},
  {"Negative",       false, "-1",    nullptr},
  {"BeyondRange",    false, "1e400", nullptr},
  {"EmptyCell",      false, "",      nullptr},
  {"NumberAndText",  false, "2km",   nullptr},
  {"Placeholder",    true,  nullptr, nullptr},
  {"Plain",          false, "0.002", "0.002"},
  {"Exponent",       false, "1e-3",  "1e-3"},
  {"LongExact",      false, "0.0000000000066845871222684450", "6684587122268445e-27"},
  {"AddedAndTyped",  true,  "3.28084", "3.28084"},
};
// clang-format on

class UnitManagerFactorTest : public UnitManagerTest,
                              public ::testing::WithParamInterface<FactorCase> {};

TEST_P(UnitManagerFactorTest, ApplyRefusesFactorsThatAreNotNumbersAboveZero) {
  // State: unit1 with 米 (1) and 千米 (0.001) chosen.  Action: type the case's factor for 千米
  // (or add a unit and keep or type its factor), then Apply.
  // Expected: a bad factor gets one message naming the row and the unit, its cell is selected
  // and the file keeps every byte; a good one is stored in at most 20 characters that read back
  // to the typed number.
  const FactorCase& c = GetParam();
  WriteConfig(kConfig);
  const std::string before = ConfigBytes();
  const int row = c.add_unit ? 3 : 2;
  WithManager([&](Window* w) {
    Click(w, "unit1");
    if (c.add_unit) Click(w, kAddUnitButton);
    if (c.typed != nullptr) EditCell(w, row, 2, QString::fromUtf8(c.typed));
    ClickCell(w, 1, 1);
    Click(w, kApplyButton);
    const std::vector<Message> shown = messages_.Take();
    ASSERT_EQ(shown.size(), 1u);
    if (c.stored != nullptr) {
      EXPECT_EQ(shown[0], kSaved);
      return;
    }
    EXPECT_EQ(shown[0].title, "转换倍率有误");
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("第%1行").arg(row))) << shown[0];
    EXPECT_TRUE(shown[0].text.contains(GridCell(Grid(w), row, 1))) << shown[0];
    EXPECT_EQ(GridCurrentRow(Grid(w)), row);
    EXPECT_EQ(GridCurrentColumn(Grid(w)), 2);
    // The grid keeps what the user typed, to be corrected.
    EXPECT_EQ(GridRowCount(Grid(w)), c.add_unit ? 4 : 3);
    if (c.typed != nullptr) {
      EXPECT_EQ(GridCell(Grid(w), row, 2), QString::fromUtf8(c.typed));
    }
  });
  if (c.stored == nullptr) {
    EXPECT_EQ(ConfigBytes(), before);
    return;
  }
  const std::string name = c.add_unit ? "INPUT the name" : "千米";
  EXPECT_EQ(ReadSetting("unit1", std::to_string(row + 1)), name + "," + c.stored);
  EXPECT_EQ(ReadSetting("unit1", "2"), "米,1");
}

INSTANTIATE_TEST_SUITE_P(Cases, UnitManagerFactorTest, ::testing::ValuesIn(kFactorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitManagerTest, FactorsNobodyTouchedAreWrittenBackAsTheFileHeldThem) {
  // State: unit1 with factors in forms the grid shows otherwise: 21 and 24 characters, a
  // trailing zero, an exponent.  Action: rename 米, move 天文单位 up, apply.
  // Expected: every factor text is written back byte for byte under its unit; only the name
  // changed.
  WriteConfig(
      "[unit1]\n2=米,1.0\n3=千米,1E-3\n4=天文单位,6684587122268445e-27\n"
      "5=光年,1.0570008340246154e-16\n6=埃,10000000000.000000000001\n");
  WithManager([&](Window* w) {
    Click(w, "unit1");
    EXPECT_EQ(GridCell(Grid(w), 3, 2), "6684587122268445e-27");
    EditCell(w, 1, 1, "公尺");
    ClickCell(w, 3, 1);
    Click(w, kMoveUpButton);
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
  });
  EXPECT_EQ(ReadSetting("unit1", "2"), "公尺,1.0");
  EXPECT_EQ(ReadSetting("unit1", "3"), "天文单位,6684587122268445e-27");
  EXPECT_EQ(ReadSetting("unit1", "4"), "千米,1E-3");
  EXPECT_EQ(ReadSetting("unit1", "5"), "光年,1.0570008340246154e-16");
  EXPECT_EQ(ReadSetting("unit1", "6"), "埃,10000000000.000000000001");
}

TEST_F(UnitManagerTest, AStoredBadFactorIsRefusedUntilCorrected) {
  // State: a hand-edited unit1 whose 千米 has the factor "abc" (the grid shows 0).
  // Action: rename 米 and apply; then type 0.001 for 千米 and apply.
  // Expected: the first Apply names 千米 and writes nothing; the second stores both changes.
  WriteConfig("[unit1]\n2=米,1\n3=千米,abc\n");
  const std::string before = ConfigBytes();
  WithManager([&](Window* w) {
    Click(w, "unit1");
    EditCell(w, 1, 1, "公尺");
    Click(w, kApplyButton);
    std::vector<Message> shown = messages_.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains("千米")) << shown[0];
    EXPECT_EQ(ConfigBytes(), before);
    EditCell(w, 2, 2, "0.001");
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
  });
  EXPECT_EQ(ReadSetting("unit1", "2"), "公尺,1");
  EXPECT_EQ(ReadSetting("unit1", "3"), "千米,0.001");
}

TEST_F(UnitManagerTest, TheFactorColumnShowsALongFactorWholeAndAsAHint) {
  // State: unit1 with a factor of 20 characters.  Action: choose it; rest the mouse on the cell.
  // Expected: the column is wide enough for the whole text; the hint shows it too, as plain
  // text even when it looks like markup.
  WriteConfig("[unit1]\n2=米,1\n3=英里,0.000621371192237334\n4=<b>x</b>,2\n");
  WithManager([&](Window* w) {
    Click(w, "unit1");
    QTableWidget* table = Table(w);
    QTableWidgetItem* cell = table->item(1, 2);
    ASSERT_EQ(cell->text(), "0.000621371192237334");
    EXPECT_GE(table->columnWidth(2), table->fontMetrics().horizontalAdvance(cell->text()) + 6);
    const QRect rect = table->visualItemRect(cell);
    QHelpEvent help(QEvent::ToolTip, rect.center(), table->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(table->viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("0.000621371192237334"))
        << QToolTip::text().toStdString();
    const QRect name = table->visualItemRect(table->item(2, 1));
    QHelpEvent markup(QEvent::ToolTip, name.center(),
                      table->viewport()->mapToGlobal(name.center()));
    QApplication::sendEvent(table->viewport(), &markup);
    EXPECT_TRUE(QToolTip::text().contains("&lt;b&gt;x&lt;/b&gt;"))
        << QToolTip::text().toStdString();
    QToolTip::hideText();
  });
}

// How the user closes the manager.
enum class CloseBy { CloseButton, Escape, WindowManager };

struct CloseCase {
  const char* name;
  CloseBy by;
  friend std::ostream& operator<<(std::ostream& os, const CloseCase& c) { return os << c.name; }
};

const CloseCase kCloseCases[] = {
    {"CloseButton", CloseBy::CloseButton},
    {"Escape", CloseBy::Escape},
    {"WindowManager", CloseBy::WindowManager},  // Alt+F4, the title bar's close
};

void CloseManager(Window* w, CloseBy by) {
  switch (by) {
    case CloseBy::CloseButton:
      Click(w, "控件_图形按钮_关闭");
      break;
    case CloseBy::Escape:
      QTest::keyClick(Table(w), Qt::Key_Escape);
      break;
    case CloseBy::WindowManager:
      w->close();
      break;
  }
  QCoreApplication::processEvents();
}

class UnitManagerCloseTest : public UnitManagerTest,
                             public ::testing::WithParamInterface<CloseCase> {};

TEST_P(UnitManagerCloseTest, UnappliedEditsAreAskedAboutBeforeClosing) {
  // State: unit1 chosen, 千米 deleted, not applied.  Action: close; answer 取消; close again;
  // answer 放弃.  Expected: one question each time, offering 应用, 放弃 and 取消; 取消 keeps the
  // window and the edit; 放弃 closes it and the file keeps every byte.
  WriteConfig(kConfig);
  const std::string before = ConfigBytes();
  const CloseBy by = GetParam().by;
  WithManager([&](Window* w) {
    Click(w, "unit1");
    ClickCell(w, 2, 1);
    Click(w, kDeleteUnitButton);
    questions_.answer = "取消";
    CloseManager(w, by);
    std::vector<testing::QuestionLog::Question> asked = questions_.Take();
    ASSERT_EQ(asked.size(), 1u);
    QStringList buttons = asked[0].buttons;
    buttons.sort();
    QStringList offered{"应用", "放弃", "取消"};
    offered.sort();
    EXPECT_EQ(buttons, offered);
    EXPECT_TRUE(asked[0].text.contains("长度")) << asked[0].text.toStdString();
    EXPECT_FALSE(IsDestroying(w));
    EXPECT_EQ(GridRows(w), (Rows{{"2", "米", "1"}}));
    questions_.answer = "放弃";
    CloseManager(w, by);
    EXPECT_EQ(questions_.Take().size(), 1u);
    EXPECT_TRUE(IsDestroying(w));
  });
  EXPECT_TRUE(messages_.Take().empty());
  EXPECT_EQ(ConfigBytes(), before);
}

TEST_P(UnitManagerCloseTest, AnsweringApplyStoresTheEditsAndCloses) {
  // State: unit1 chosen, 米 renamed.  Action: close, answer 应用.
  // Expected: the list is stored and confirmed, the window closes.
  WriteConfig(kConfig);
  const CloseBy by = GetParam().by;
  WithManager([&](Window* w) {
    Click(w, "unit1");
    EditCell(w, 1, 1, "公尺");
    questions_.answer = "应用";
    CloseManager(w, by);
    EXPECT_EQ(questions_.Take().size(), 1u);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
    EXPECT_TRUE(IsDestroying(w));
  });
  EXPECT_EQ(ReadSetting("unit1", "2"), "公尺,1");
}

TEST_P(UnitManagerCloseTest, NothingChangedClosesWithoutAQuestion) {
  // State: unit1 chosen, a unit moved down and back up, a cell opened and left unchanged.
  // Action: close.  Expected: no question; the window closes.
  WriteConfig(kConfig);
  const CloseBy by = GetParam().by;
  WithManager([&](Window* w) {
    Click(w, "unit1");
    ClickCell(w, 1, 1);
    Click(w, kMoveDownButton);
    Click(w, kMoveUpButton);
    EditCell(w, 2, 2, "0.001");
    CloseManager(w, by);
    EXPECT_TRUE(questions_.Take().empty());
    EXPECT_TRUE(IsDestroying(w));
  });
}

INSTANTIATE_TEST_SUITE_P(Ways, UnitManagerCloseTest, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitManagerTest, ApplyingABadFactorOnCloseKeepsTheWindowOpen) {
  // State: unit1 chosen, 千米's factor typed as "abc".  Action: close, answer 应用.
  // Expected: the factor is refused as Apply refuses it; the window stays with the edit.
  WriteConfig(kConfig);
  const std::string before = ConfigBytes();
  WithManager([&](Window* w) {
    Click(w, "unit1");
    EditCell(w, 2, 2, "abc");
    questions_.answer = "应用";
    CloseManager(w, CloseBy::CloseButton);
    EXPECT_EQ(questions_.Take().size(), 1u);
    const std::vector<Message> shown = messages_.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "转换倍率有误");
    EXPECT_FALSE(IsDestroying(w));
    EXPECT_EQ(GridCell(Grid(w), 2, 2), "abc");
  });
  EXPECT_EQ(ConfigBytes(), before);
}

TEST_F(UnitManagerTest, EscapeInACellBeingEditedOnlyCancelsTheEdit) {
  // State: unit1 chosen, 米's name cell open with typed text.  Action: Escape.
  // Expected: the cell keeps its old text, no question, the window stays.
  WriteConfig(kConfig);
  WithManager([&](Window* w) {
    Click(w, "unit1");
    ClickCell(w, 1, 1);
    QTest::keyClick(Table(w), Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(GridEditing(Grid(w)));
    QTest::keyClicks(editor, "xyz");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(GridEditing(Grid(w)));
    EXPECT_EQ(GridCell(Grid(w), 1, 1), "米");
    EXPECT_TRUE(questions_.Take().empty());
    EXPECT_FALSE(IsDestroying(w));
  });
}

TEST_F(UnitManagerTest, ChoosingAnotherCategoryAsksAboutUnappliedEdits) {
  // State: unit1 chosen, 米 renamed.  Action: choose 压强 and answer 取消; choose it again and
  // answer 放弃; rename 帕 and choose 长度, answering 应用; choose 压强 with nothing changed.
  // Expected: 取消 keeps 长度 and the edit; 放弃 shows 压强 from the file; 应用 stores 压强's
  // edit and shows 长度; the last choice asks nothing.
  WriteConfig(kConfig);
  WithManager([&](Window* w) {
    Click(w, "unit1");
    EditCell(w, 1, 1, "公尺");
    questions_.answer = "取消";
    Click(w, "unit7");
    EXPECT_EQ(questions_.Take().size(), 1u);
    EXPECT_EQ(GridRows(w), (Rows{{"2", "公尺", "1"}, {"3", "千米", "0.001"}}));
    questions_.answer = "放弃";
    Click(w, "unit7");
    EXPECT_EQ(questions_.Take().size(), 1u);
    EXPECT_EQ(GridRows(w), (Rows{{"302", "帕", "1"}}));
    EditCell(w, 1, 1, "帕斯卡");
    questions_.answer = "应用";
    Click(w, "unit1");
    EXPECT_EQ(questions_.Take().size(), 1u);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
    EXPECT_EQ(GridRows(w), (Rows{{"2", "米", "1"}, {"3", "千米", "0.001"}}));
    Click(w, "unit7");
    EXPECT_TRUE(questions_.Take().empty());
    EXPECT_EQ(GridRows(w), (Rows{{"302", "帕斯卡", "1"}}));
  });
  EXPECT_EQ(ReadSetting("unit1", "2"), "米,1");
  EXPECT_EQ(ReadSetting("unit7", "302"), "帕斯卡,1");
}

}  // namespace
}  // namespace velmora
