#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <string>
#include <vector>

#include "settings/read_only_path.h"
#include "settings/settings_file.h"
#include "toolkit/grid.h"
#include "toolkit/toolkit.h"
#include "ui/secondary_windows.h"
#include "ui/unit_manager_design.h"
#include "ui/unit_manager_support.h"

namespace velmora {
namespace {

using testing::Click;
using testing::ClickCell;
using testing::CommitWithEnter;
using testing::EditCell;
using testing::Grid;
using testing::GridRows;
using testing::Message;
using testing::Table;
using testing::TypeText;
using testing::UnitManagerTest;
using testing::Widget;
using Rows = std::vector<std::vector<std::string>>;

const Message kSaved{"成功!", "数据保存成功！"};

constexpr const char* kMetreConfig =
    "[通用设置]\n界面风格=2\n"
    "[按钮的命名]\nunit1=长度\nunit2=面积\nunit4=温度\nunit7=压强\n"
    "[unit1]\n2=米,1\n3=千米,0.001\n"
    "[unit4]\n152=摄氏度,1\n"
    "[unit7]\n302=帕,1\n";

bool Enabled(Window* window, const char* name) {
  return Widget(window, name)->isEnabled();
}

TEST_F(UnitManagerTest, OpensStyledWithCaptionsFromTheFileAndNothingChosen) {
  // State: style 2, captions for a few categories only.  Action: open the manager.
  // Expected: it is the modal window, drawn in style 2; captions read from the file (absent
  // ones empty); the grid shows its header alone at the column widths; the commands wait for
  // a category.
  WriteConfig(kMetreConfig);
  WithManager([&](Window* w) {
    EXPECT_EQ(ActiveModalWindow(), w);
    EXPECT_EQ(Picture(WindowControl(w)), ":/pictures/background-2.jpg");
    EXPECT_EQ(Text(FindControl(w, "unit1")), "长度");
    EXPECT_EQ(Text(FindControl(w, "unit4")), "温度");
    EXPECT_EQ(Text(FindControl(w, "unit25")), "");
    const Control grid = Grid(w);
    EXPECT_EQ(GridRowCount(grid), 1);
    EXPECT_EQ(GridColumnWidth(grid, 0), 40);
    EXPECT_EQ(GridColumnWidth(grid, 1), 100);
    EXPECT_EQ(GridColumnWidth(grid, 2), 138);
    for (const char* name :
         {kAddUnitButton, kDeleteUnitButton, kMoveUpButton, kMoveDownButton, kApplyButton}) {
      EXPECT_FALSE(Enabled(w, name)) << name;
      Click(w, name);
    }
    EXPECT_TRUE(messages_.Take().empty());
  });
}

TEST_F(UnitManagerTest, MoveDownAndApplyRewritesTheList) {
  // State: unit1 holds 米 (1) and 千米 (0.001).  Action: choose it, select 米, move it down,
  // apply.  Expected: the grid shows the swap with the numbers in place; Apply confirms and the
  // file holds 2=千米,0.001 and 3=米,1; the grid reads back the same.
  WriteConfig(kMetreConfig);
  WithManager([&](Window* w) {
    Click(w, "unit1");
    EXPECT_EQ(GridRows(w), (Rows{{"2", "米", "1"}, {"3", "千米", "0.001"}}));
    EXPECT_EQ(Table(w)->horizontalHeaderItem(1)->text(), "名称");
    EXPECT_TRUE(Enabled(w, kApplyButton));
    ClickCell(w, 1, 1);
    Click(w, kMoveDownButton);
    EXPECT_EQ(GridRows(w), (Rows{{"2", "千米", "0.001"}, {"3", "米", "1"}}));
    EXPECT_EQ(GridCurrentRow(Grid(w)), 2);
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
    EXPECT_EQ(GridRows(w), (Rows{{"2", "千米", "0.001"}, {"3", "米", "1"}}));
  });
  EXPECT_EQ(ReadSetting("unit1", "2"), "千米,0.001");
  EXPECT_EQ(ReadSetting("unit1", "3"), "米,1");
  EXPECT_EQ(ReadSetting("unit7", "302"), "帕,1");
}

struct MessageCase {
  const char* name;
  const char* button;
  int selected_row;  // 0: none
  Message expected;
};

const MessageCase kMessageCases[] = {
    {"UpWithoutSelection", kMoveUpButton, 0, {"注意", "请选择要移动的单位！"}},
    {"DownWithoutSelection", kMoveDownButton, 0, {"注意！", "请选择要移动的单位！"}},
    {"UpOnFirstRow", kMoveUpButton, 1, {"单位管理器", "已经是最顶端！"}},
    {"DownOnLastRow", kMoveDownButton, 2, {"单位管理器", "已经是最底端!"}},
    {"Temperature", "unit4", 1, {"很遗憾！", "由于换算不规则，温度单位不能被修改！"}},
};

class UnitManagerMessageTest : public UnitManagerTest,
                               public ::testing::WithParamInterface<MessageCase> {};

TEST_P(UnitManagerMessageTest, RefusesWithItsMessageAndChangesNothing) {
  // State: unit1 chosen, a row selected or none.  Action: the command.  Expected: one message
  // box with its text and title and the information icon; grid, selection and file unchanged.
  WriteConfig(kMetreConfig);
  const std::string before = ConfigBytes();
  const MessageCase& c = GetParam();
  WithManager([&](Window* w) {
    Click(w, "unit1");
    if (c.selected_row > 0) ClickCell(w, c.selected_row, 1);
    Click(w, c.button);
    const std::vector<Message> shown = messages_.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], c.expected);
    EXPECT_TRUE(shown[0].information_icon);
    EXPECT_EQ(GridRows(w), (Rows{{"2", "米", "1"}, {"3", "千米", "0.001"}}));
    EXPECT_EQ(GridCurrentRow(Grid(w)), c.selected_row > 0 ? c.selected_row : -1);
    EXPECT_TRUE(Enabled(w, kApplyButton));
  });
  EXPECT_EQ(ConfigBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnitManagerMessageTest, ::testing::ValuesIn(kMessageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitManagerTest, RenumbersAfterAddDeleteAndMoveWhateverGapsTheFileHad) {
  // State: unit2 with 52 to 54, a gap, then 56 and 60.  Action: add after the first unit,
  // delete the second old one, move the last up, give the new unit a factor, apply.
  // Expected: the numbers stay 52, 53, … after every step; the file then holds exactly 52 to
  // 54, the new unit's name as its placeholder, and the keys after the gap are gone.
  WriteConfig("[unit2]\n52=a,1\n53=b,2\n54=c,3\n56=stale,9\n60=far,1\n");
  WithManager([&](Window* w) {
    Click(w, "unit2");
    EXPECT_EQ(GridRows(w), (Rows{{"52", "a", "1"}, {"53", "b", "2"}, {"54", "c", "3"}}));
    ClickCell(w, 1, 2);
    Click(w, kAddUnitButton);
    EXPECT_EQ(GridRows(w), (Rows{{"52", "a", "1"},
                                 {"53", "INPUT the name", "INPUT the conversion factor"},
                                 {"54", "b", "2"},
                                 {"55", "c", "3"}}));
    EXPECT_EQ(GridCurrentRow(Grid(w)), 2);
    EXPECT_EQ(GridCurrentColumn(Grid(w)), 1);
    ClickCell(w, 3, 1);
    Click(w, kDeleteUnitButton);
    EXPECT_EQ(GridRows(w), (Rows{{"52", "a", "1"},
                                 {"53", "INPUT the name", "INPUT the conversion factor"},
                                 {"54", "c", "3"}}));
    ClickCell(w, 3, 1);
    Click(w, kMoveUpButton);
    EXPECT_EQ(GridRows(w), (Rows{{"52", "a", "1"},
                                 {"53", "c", "3"},
                                 {"54", "INPUT the name", "INPUT the conversion factor"}}));
    EditCell(w, 3, 2, "4");
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
    EXPECT_EQ(GridRows(w),
              (Rows{{"52", "a", "1"}, {"53", "c", "3"}, {"54", "INPUT the name", "4"}}));
  });
  EXPECT_EQ(ReadSetting("unit2", "54"), "INPUT the name,4");
  EXPECT_EQ(ReadSetting("unit2", "56", "gone"), "gone");
  EXPECT_EQ(ReadSetting("unit2", "60", "gone"), "gone");
}

TEST_F(UnitManagerTest, AddWithoutSelectionAppendsAndAUnitNamedLikeTheHeaderMovesFreely) {
  // State: unit1 whose first unit is named "名称".  Action: add with nothing selected; move the
  // second unit up.  Expected: the new row goes to the end; the move happens, since only the
  // header row is above the first unit.
  WriteConfig("[unit1]\n2=名称,1\n3=尺,0.3\n");
  WithManager([&](Window* w) {
    Click(w, "unit1");
    Click(w, kAddUnitButton);
    EXPECT_EQ(GridRowCount(Grid(w)), 4);
    EXPECT_EQ(GridCell(Grid(w), 3, 1), "INPUT the name");
    ClickCell(w, 2, 1);
    Click(w, kMoveUpButton);
    EXPECT_TRUE(messages_.Take().empty());
    EXPECT_EQ(GridCell(Grid(w), 1, 1), "尺");
    EXPECT_EQ(GridCell(Grid(w), 2, 1), "名称");
    EXPECT_EQ(GridCurrentRow(Grid(w)), 1);
  });
}

TEST_F(UnitManagerTest, FactorsShowInTheirShortestTextAndLongOnesAreReadToTwentyCharacters) {
  // State: factors written in long, exponent and over-long forms.  Action: choose the category
  // and apply.  Expected: each shows as the shortest plain text of its number; the factor text
  // of 25 characters is read to its first 20; Apply, with nothing changed, writes every factor
  // back as the file held it.
  WriteConfig(
      "[unit3]\n102=升,1.50\n103=纳升,1e-9\n104=和,0.30000000000000004\n105=千升,2E3\n"
      "106=埃,0.0000000001234567890123\n107=光,1.0570008340246154e-16\n");
  WithManager([&](Window* w) {
    Click(w, "unit3");
    EXPECT_EQ(GridRows(w), (Rows{{"102", "升", "1.5"},
                                 {"103", "纳升", "0.000000001"},
                                 {"104", "和", "0.30000000000000004"},
                                 {"105", "千升", "2000"},
                                 {"106", "埃", "0.000000000123456789"},
                                 {"107", "光", "1.0570008340246153"}}));
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
  });
  EXPECT_EQ(ReadSetting("unit3", "102"), "升,1.50");
  EXPECT_EQ(ReadSetting("unit3", "106"), "埃,0.0000000001234567890123");
}

TEST_F(UnitManagerTest, ChoosingAnEmptyCategoryAfterAFilledOneShowsTheHeaderAlone) {
  // Also: a button routed to unit1's handler (unit7) chooses its own category.
  WriteConfig(kMetreConfig);
  WithManager([&](Window* w) {
    Click(w, "unit7");
    EXPECT_EQ(GridRows(w), (Rows{{"302", "帕", "1"}}));
    Click(w, "unit1");
    ClickCell(w, 2, 1);
    Click(w, "unit9");
    EXPECT_EQ(GridRowCount(Grid(w)), 1);
    EXPECT_EQ(GridCell(Grid(w), 0, 2), "转换倍率");
    EXPECT_EQ(GridCurrentRow(Grid(w)), -1);
    Click(w, kAddUnitButton);
    EditCell(w, 1, 2, "1");
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
  });
  EXPECT_EQ(ReadSetting("unit9", "402"), "INPUT the name,1");
  EXPECT_EQ(ReadSetting("unit1", "2"), "米,1");
}

TEST_F(UnitManagerTest, ApplyOfAnEmptiedGridRemovesTheSection) {
  // State: unit1 with two units among other sections.  Action: select the first unit, press
  // Delete twice, apply.  Expected: each Delete removes the selected row; the section is gone
  // from the file and the other lines are untouched.
  WriteConfig(kMetreConfig);
  WithManager([&](Window* w) {
    Click(w, "unit1");
    ClickCell(w, 1, 1);
    QTest::keyClick(Table(w), Qt::Key_Delete);
    EXPECT_EQ(GridRows(w), (Rows{{"2", "千米", "0.001"}}));
    QTest::keyClick(Table(w), Qt::Key_Delete);
    EXPECT_EQ(GridRowCount(Grid(w)), 1);
    QTest::keyClick(Table(w), Qt::Key_Delete);
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
  });
  EXPECT_EQ(Gb18030ToUtf8(ConfigBytes()),
            "[通用设置]\n界面风格=2\n"
            "[按钮的命名]\nunit1=长度\nunit2=面积\nunit4=温度\nunit7=压强\n"
            "[unit4]\n152=摄氏度,1\n"
            "[unit7]\n302=帕,1\n");
}

TEST_F(UnitManagerTest, KeyboardEditsMovesAndDeletes) {
  // State: unit1 chosen.  Action: select a name cell, Down, Up, Enter and type, F2 and Escape,
  // Delete while editing.  Expected: the selection follows the arrows, Enter and F2 open the
  // cell, Enter commits, Escape keeps the old text, Delete inside the editor deletes text only.
  WriteConfig(kMetreConfig);
  WithManager([&](Window* w) {
    Click(w, "unit1");
    QTableWidget* table = Table(w);
    ClickCell(w, 1, 1);
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(GridCurrentRow(Grid(w)), 2);
    QTest::keyClick(table, Qt::Key_Up);
    QTest::keyClick(table, Qt::Key_Up);
    EXPECT_EQ(GridCurrentRow(Grid(w)), 1);
    QTest::keyClick(table, Qt::Key_Return);
    ASSERT_TRUE(GridEditing(Grid(w)));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    TypeText("公尺");
    CommitWithEnter(editor);
    EXPECT_FALSE(GridEditing(Grid(w)));
    EXPECT_EQ(GridCell(Grid(w), 1, 1), "公尺");

    QTest::keyClick(table, Qt::Key_Right);
    QTest::keyClick(table, Qt::Key_F2);
    ASSERT_TRUE(GridEditing(Grid(w)));
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->home(false);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(GridRows(w), (Rows{{"2", "公尺", "1"}, {"3", "千米", "0.001"}}));

    // The number column is the list's order, not the user's to type.
    ClickCell(w, 2, 0);
    QTest::keyClick(table, Qt::Key_F2);
    EXPECT_FALSE(GridEditing(Grid(w)));
  });
}

TEST_F(UnitManagerTest, TypedCellsAreAppliedAndAnOpenEditorIsCommittedFirst) {
  // State: unit1 chosen.  Action: type a new factor and leave its editor open, click Apply.
  // Expected: the typed text is what Apply stores.
  WriteConfig(kMetreConfig);
  WithManager([&](Window* w) {
    Click(w, "unit1");
    ClickCell(w, 2, 2);
    QTest::keyClick(Table(w), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "1e-3");
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
    EXPECT_EQ(GridCell(Grid(w), 2, 2), "0.001");
  });
  EXPECT_EQ(ReadSetting("unit1", "3"), "千米,1e-3");
}

TEST_F(UnitManagerTest, CommaInANameIsStoredFullWidthAndTheUserToldOnce) {
  // State: unit1 chosen.  Action: name a unit "a,b" and apply; apply again.  Expected: the file
  // holds "a，b,1" (the name reads back whole, the factor stays 1); one notice about the comma
  // before the confirmation, and none at the second Apply.
  WriteConfig(kMetreConfig);
  WithManager([&](Window* w) {
    Click(w, "unit1");
    EditCell(w, 1, 1, "a,b,c");
    Click(w, kApplyButton);
    const std::vector<Message> shown = messages_.Take();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, "注意");
    EXPECT_NE(shown[0].text.indexOf("，"), -1) << shown[0];
    EXPECT_EQ(shown[1], kSaved);
    EXPECT_EQ(GridRows(w), (Rows{{"2", "a，b，c", "1"}, {"3", "千米", "0.001"}}));
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
  });
  EXPECT_EQ(ReadSetting("unit1", "2"), "a，b，c,1");
}

TEST_F(UnitManagerTest, TheFiftiethUnitIsRefused) {
  // State: unit5 with 48 units.  Action: add twice.  Expected: the 49th unit is added; the 50th
  // is refused with a message naming the limit, and the grid keeps 49 units.
  std::string config = "[unit5]\n";
  for (int i = 1; i <= 48; ++i) {
    config += std::to_string(201 + i) + "=u" + std::to_string(i) + "," + std::to_string(i) + "\n";
  }
  WriteConfig(config);
  WithManager([&](Window* w) {
    Click(w, "unit5");
    EXPECT_EQ(GridRowCount(Grid(w)), 49);
    Click(w, kAddUnitButton);
    EXPECT_TRUE(messages_.Take().empty());
    EXPECT_EQ(GridRowCount(Grid(w)), 50);
    EXPECT_EQ(GridCell(Grid(w), 49, 0), "250");
    Click(w, kAddUnitButton);
    const std::vector<Message> shown = messages_.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.indexOf("49"), -1) << shown[0];
    EXPECT_EQ(GridRowCount(Grid(w)), 50);
    EditCell(w, 49, 2, "49");
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
    EXPECT_EQ(GridRowCount(Grid(w)), 50);
  });
  EXPECT_EQ(ReadSetting("unit5", "250"), "INPUT the name,49");
}

TEST_F(UnitManagerTest, FailedSaveSaysWhyAndKeepsTheEdits) {
  // State: unit1 chosen and edited; the folder of config.dat cannot be written.  Action: apply,
  // then free the folder and apply again.  Expected: "保存失败" with a reason, never the
  // success message; the file unchanged and the grid still edited; the second Apply stores it.
  {
    const testing::ReadOnlyPath probe(dir_.path());
    if (!probe.ok()) GTEST_SKIP() << "no way to make a folder read-only here";
  }
  WriteConfig(kMetreConfig);
  const std::string before = ConfigBytes();
  WithManager([&](Window* w) {
    Click(w, "unit1");
    ClickCell(w, 1, 1);
    Click(w, kMoveDownButton);
    {
      const testing::ReadOnlyPath locked(dir_.path());
      ASSERT_TRUE(locked.ok());
      Click(w, kApplyButton);
    }
    const std::vector<Message> shown = messages_.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "保存失败");
    EXPECT_TRUE(shown[0].text.startsWith("保存失败：")) << shown[0];
    EXPECT_GT(shown[0].text.size(), QString("保存失败：。").size() + 4) << shown[0];
    EXPECT_EQ(GridRows(w), (Rows{{"2", "千米", "0.001"}, {"3", "米", "1"}}));
    EXPECT_EQ(ConfigBytes(), before);
    Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take(), std::vector<Message>{kSaved});
  });
  EXPECT_EQ(ReadSetting("unit1", "2"), "千米,0.001");
}

TEST_F(UnitManagerTest, CloseAndDiscardDropsUnappliedEdits) {
  WriteConfig(kMetreConfig);
  const std::string before = ConfigBytes();
  WithManager([&](Window* w) {
    Click(w, "unit1");
    ClickCell(w, 1, 1);
    Click(w, kDeleteUnitButton);
    questions_.answer = "放弃";
    Click(w, "控件_图形按钮_关闭");
    EXPECT_EQ(questions_.Take().size(), 1u);
  });
  EXPECT_EQ(FindWindow(kUnitManagerWindow), nullptr);
  EXPECT_EQ(ConfigBytes(), before);
}

}  // namespace
}  // namespace velmora
