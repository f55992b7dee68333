#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <functional>
#include <string>

#include "ui/find_panel_design.h"
#include "ui/main_window_fixture.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

// Pages 1, 5 and 6 have units; page 5 is remembered.
constexpr const char* kConfig =
    "[通用设置]\n界面风格=1\n记住最后类别=1\n最后的类别=4\n小数保留位数=4\n"
    "跨度=372\n上下间隔=24\n每列个数=15\n"
    "[按钮的命名]\nunit1=长度\nunit5=质量\nunit6=力\n"
    "[unit1]\n2=米(m),1\n3=千米(km),0.001\n"
    "[unit5]\n202=千克(kg),1\n203=毫克(mg),1000000\n"
    "[unit6]\n252=牛顿(N),1\n";

class ChosenCategoryTest : public MainWindowTest {
 protected:
  QAbstractButton* Button(int page) {
    return qobject_cast<QAbstractButton*>(FindControl(window(), CategoryButtonName(page)).object());
  }
  int CurrentCategory() { return CurrentPage(FindControl(window(), kPageControlName)) + 1; }

  // The pages whose buttons tell assistive tools that they are checked.
  std::vector<int> CheckedForTools() {
    std::vector<int> pages;
    for (int page = 1; page <= kCategoryCount; ++page) {
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Button(page));
      if (accessible == nullptr) continue;
      EXPECT_TRUE(accessible->state().checkable) << page;
      if (accessible->state().checked) pages.push_back(page);
    }
    return pages;
  }
  // Exactly the button of the page on show is chosen, on screen and for assistive tools.
  void ExpectChosen(int page) {
    EXPECT_EQ(CurrentCategory(), page);
    for (int other = 1; other <= kCategoryCount; ++other) {
      EXPECT_EQ(Button(other)->isChecked(), other == page) << "button " << other;
    }
    EXPECT_EQ(CheckedForTools(), std::vector<int>{page});
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                             : static_cast<QWidget*>(window());
    QTest::keyClick(target, key, modifiers);
  }
};

TEST_F(ChosenCategoryTest, TheRememberedPageIsChosenAtStartUp) {
  // State: page 5 remembered.  Action: start.  Expected: 质量 alone is chosen.
  Start(kConfig);
  ExpectChosen(5);
}

TEST_F(ChosenCategoryTest, EveryWayToAnotherPageMovesTheChoiceAlong) {
  // State: started on page 5.  Action: each way of showing another category in turn.
  // Expected: after each, exactly the button of the page on show is chosen.
  Start(kConfig);
  struct Step {
    const char* name;
    std::function<void()> act;
    int page;
  };
  const Step steps[] = {
      {"click 长度", [this] { ClickCategoryButton(1); }, 1},
      {"click 长度 again", [this] { ClickCategoryButton(1); }, 1},
      {"Ctrl+PageDown", [this] { Key(Qt::Key_PageDown, Qt::ControlModifier); }, 5},
      {"Ctrl+PageDown", [this] { Key(Qt::Key_PageDown, Qt::ControlModifier); }, 6},
      {"Ctrl+PageUp", [this] { Key(Qt::Key_PageUp, Qt::ControlModifier); }, 5},
      {"find 米 and Enter",
       [this] {
         Key(Qt::Key_F, Qt::ControlModifier);
         QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                             QStringLiteral("米"), Qt::NoModifier);
         Key(Qt::Key_Return);
       },
       1},
      {"click an empty category", [this] { ClickCategoryButton(21); }, 21},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    ExpectChosen(step.page);
  }
}

TEST_F(ChosenCategoryTest, TheChosenButtonLooksDifferentFromItsOwnUsualFace) {
  // State: page 5 chosen.  Action: choose page 1, then page 5 again.  Expected: button 5 looks
  // different once no longer chosen, and as before when chosen again.
  Start(kConfig);
  const QImage chosen = Button(5)->grab().toImage();
  ClickCategoryButton(1);
  const QImage usual = Button(5)->grab().toImage();
  EXPECT_NE(chosen, usual);
  ClickCategoryButton(5);
  EXPECT_EQ(Button(5)->grab().toImage(), chosen);
}

TEST_F(ChosenCategoryTest, WithoutARememberedPageNoButtonIsChosenUntilOneIsShown) {
  // State: remembering off: no category is shown at start.  Action: click 力.  Expected: none
  // chosen, then 力 alone.
  std::string config = kConfig;
  config.replace(config.find("记住最后类别=1"), std::string("记住最后类别=1").size(),
                 "记住最后类别=0");
  Start(config);
  for (int page = 1; page <= kCategoryCount; ++page) EXPECT_FALSE(Button(page)->isChecked());
  EXPECT_TRUE(CheckedForTools().empty());
  ClickCategoryButton(6);
  ExpectChosen(6);
}

}  // namespace
}  // namespace velmora
