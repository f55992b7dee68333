#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <string>

#include "toolkit/grid.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"
#include "ui/secondary_windows.h"
#include "ui/unit_manager_design.h"
#include "ui/unit_manager_support.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;
using testing::MessageLog;
using testing::UserClick;
using testing::UserKeys;
using testing::WhileModal;

constexpr const char* kConfig =
    "[通用设置]\n界面风格=1\n记住最后类别=0\n小数保留位数=4\n跨度=300\n上下间隔=24\n每列个数=10\n"
    "[按钮的命名]\nunit1=长度\nunit2=面积\n"
    "[unit1]\n2=米,1\n3=千米,0.001\n";

class UnitManagerInProgramTest : public MainWindowTest {
 protected:
  void OpenManagerFromMenu() {
    // The menus are made on first use, as the settings button's click makes them.
    QMenu* menu = window()->Menu(QString::fromUtf8(kGeneralMenu));
    ASSERT_NE(menu, nullptr);
    for (QAction* item : menu->actions()) {
      if (item->objectName() == "单位管理器菜单") {
        item->trigger();
        return;
      }
    }
    FAIL() << "no unit manager menu item";
  }

  // The unit names of a built category page, in row order.
  std::vector<std::string> UnitNamesOnPage(int page) {
    std::vector<std::string> names;
    const int base = PageBase(page);
    for (int row = base + 1; Row(row) != nullptr; ++row) {
      const QLineEdit* edit = Row(row);
      for (QLabel* label : edit->parentWidget()->findChildren<QLabel*>()) {
        if (label->objectName().contains(u'#') && label->isVisible() && label->y() == edit->y() &&
            label->x() == edit->x() + 124) {
          names.push_back(label->text().toStdString());
        }
      }
    }
    return names;
  }

  MessageLog messages_;
};

TEST_F(UnitManagerInProgramTest, MainWindowTakesNoInputWhileTheManagerIsOpen) {
  // State: the program on page 1.  Action: open the manager from its menu item; click a category
  // button and type into a unit row of the main window.  Expected: the manager is the modal
  // window; the main window's page and row stay as they were; after closing it the main window
  // takes input again.
  Start(kConfig);
  ClickCategoryButton(1);
  bool opened = false;
  WhileModal([&](Window* manager) {
    opened = true;
    EXPECT_EQ(WindowName(manager), kUnitManagerWindow);
    UserClick(qobject_cast<QWidget*>(FindControl(window(), "unit2").object()));
    EXPECT_EQ(CurrentPage(FindControl(window(), kPageControlName)), 0);
    UserClick(Row(2));
    UserKeys(Row(2), "5");
    EXPECT_EQ(RowText(2), "");
    EXPECT_FALSE(Row(2)->hasFocus());
  });
  OpenManagerFromMenu();
  EXPECT_TRUE(opened);
  EXPECT_EQ(ActiveModalWindow(), nullptr);
  ClickCategoryButton(2);
  EXPECT_EQ(CurrentPage(FindControl(window(), kPageControlName)), 1);
}

TEST_F(UnitManagerInProgramTest, AnAppliedListShowsAtOnceOnThePageOnShow) {
  // State: the program with page 1 built from 米 and 千米, "2" typed into 米.  Action: in the
  // manager, move 米 down, add 英尺 (3.28084) after it, re-factor 千米 as 0.01 (a deliberate
  // change) and apply.  Expected: page 1 shows 千米, 米, 英尺 at once, each with 2 metres in its
  // unit; typing converts with the new factors; the next start shows the same list.
  Start(kConfig);
  ClickCategoryButton(1);
  TypeInto(2, "2");
  ASSERT_EQ(RowText(3), "0.002");
  WhileModal([&](Window* w) {
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    testing::Click(w, "unit1");
    testing::ClickCell(w, 1, 1);
    testing::Click(w, kMoveDownButton);
    testing::Click(w, kAddUnitButton);
    testing::EditCell(w, 3, 1, "英尺");
    testing::EditCell(w, 3, 2, "3.28084");
    testing::EditCell(w, 1, 2, "0.01");
    testing::Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take().size(), 1u);
    // Already while the manager is open.
    EXPECT_EQ(UnitNamesOnPage(1), (std::vector<std::string>{"千米", "米", "英尺"}));
  });
  OpenManagerFromMenu();
  window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  EXPECT_EQ(UnitNamesOnPage(1), (std::vector<std::string>{"千米", "米", "英尺"}));
  EXPECT_EQ(RowText(2), "0.02");
  EXPECT_EQ(RowText(3), "2");
  EXPECT_EQ(RowText(4), "6.5617");
  EXPECT_EQ(state().NextRowNumber, 5);
  ClearRow(3);
  TypeInto(3, "1");
  EXPECT_EQ(RowText(2), "0.01");
  EXPECT_EQ(RowText(4), "3.2808");

  Quit();
  state() = ConversionState{};
  Launch();
  ClickCategoryButton(1);
  EXPECT_EQ(UnitNamesOnPage(1), (std::vector<std::string>{"千米", "米", "英尺"}));
  EXPECT_EQ(state().FactorTable.Get(2), 0.01);
  EXPECT_EQ(state().FactorTable.Get(4), 3.28084);
}

TEST_F(UnitManagerInProgramTest, AnAppliedListReachesABuiltPageNotOnShowAndDropsDeletedRows) {
  // State: page 2 built with "3" typed into 平方米, page 1 on show with "5" typed into 米.
  // Action: in the manager, delete 公顷 from 面积, rename 平方米 and apply; show page 2.
  // Expected: page 2 shows the new list (the deleted unit's row is gone) with 3 square metres
  // in each unit; page 1 keeps its rows and values; an unbuilt page is left to its first showing.
  Start(std::string(kConfig) + "[unit2]\n52=平方米,1\n53=公顷,0.0001\n54=平方分米,100\n");
  ClickCategoryButton(2);
  TypeInto(52, "3");
  ClickCategoryButton(1);
  TypeInto(2, "5");
  WhileModal([&](Window* w) {
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    testing::Click(w, "unit2");
    testing::ClickCell(w, 2, 1);
    testing::Click(w, kDeleteUnitButton);
    testing::EditCell(w, 1, 1, "平米");
    testing::Click(w, kApplyButton);
    EXPECT_EQ(messages_.Take().size(), 1u);
  });
  OpenManagerFromMenu();
  window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  EXPECT_EQ(RowText(3), "0.005");
  EXPECT_FALSE(state().PageBuilt[3]);
  ClickCategoryButton(2);
  EXPECT_EQ(UnitNamesOnPage(2), (std::vector<std::string>{"平米", "平方分米"}));
  EXPECT_EQ(RowText(52), "3");
  EXPECT_EQ(RowText(53), "300");
  EXPECT_EQ(Row(54), nullptr);
  EXPECT_EQ(state().NextRowNumber, 54);
}

}  // namespace
}  // namespace velmora
