#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <string>

#include "ui/find_panel_design.h"
#include "ui/main_window_fixture.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

// Pages 1, 5 and 6 have units; 2 to 4 and 7 on have none. Four places, with separators.
constexpr const char* kConfig =
    "[通用设置]\n记住最后类别=1\n最后的类别=0\n小数保留位数=4\n是否千位分隔=1\n"
    "跨度=372\n上下间隔=24\n每列个数=15\n"
    "[按钮的命名]\nunit1=长度\nunit5=质量\nunit6=力\n"
    "[unit1]\n2=米(m),1\n3=千米(km),0.001\n4=毫米(mm),1000\n5=埃,10000000000\n"
    "[unit5]\n202=千克(kg),1\n203=毫克(mg),1000000\n204=兆克(Mg),0.001\n"
    "205=英担(cwt),0.019684130552221214\n"
    "[unit6]\n252=牛顿(N),1\n";

class FindTest : public MainWindowTest {
 protected:
  void SetUp() override { Start(kConfig); }

  template <typename T>
  T* Widget(const std::string& name) {
    return qobject_cast<T*>(FindControl(window(), name).object());
  }
  QLineEdit* Box() { return Widget<QLineEdit>(kFindBox); }
  QWidget* Panel() { return Widget<QWidget>(kFindPanel); }
  QLabel* Line(int line) { return Widget<QLabel>(FindResultName(line)); }
  QWidget* Focused() { return QApplication::focusWidget(); }
  int CurrentCategory() { return CurrentPage(FindControl(window(), kPageControlName)) + 1; }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = Focused() != nullptr ? Focused() : window();
    QTest::keyClick(target, key, modifiers);
  }
  // Types text of any script into the focused control.
  void Type(const QString& text) {
    for (const QChar c : text) {
      QTest::sendKeyEvent(QTest::Click, Focused(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
  void Find(const QString& query) {
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Panel()->isVisible());
    ASSERT_EQ(Focused(), Box());
    Type(query);
  }
  QString FirstMatch() { return Line(1)->isVisible() ? Line(1)->text() : QString(); }

  // Opens a row's own context menu as a right click does and chooses the item `name`.
  void ChooseFromRowMenu(int row, const char* name) {
    QLineEdit* edit = Row(row);
    ASSERT_NE(edit, nullptr);
    const QPoint inside(10, 8);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, edit->mapToGlobal(inside));
    QApplication::sendEvent(edit, &event);
    auto* menu = window()->findChild<QMenu*>(kRowMenu);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    auto* item = menu->findChild<QAction*>(name);
    ASSERT_NE(item, nullptr) << name;
    menu->hide();
    item->trigger();
  }
};

TEST_F(FindTest, QueriesListTheirBestMatchFirst) {
  // State: units of length, mass and force.  Action: Ctrl+F and a query.  Expected: the best
  // match on the first line as "unit — caption"; nothing for a query that matches no unit.
  struct Case {
    QString query;
    QString first;
  };
  const Case cases[] = {
      {QStringLiteral("英"), QStringLiteral("英担(cwt) — 质量")},
      {QStringLiteral("担"), QStringLiteral("英担(cwt) — 质量")},
      {QStringLiteral("cwt"), QStringLiteral("英担(cwt) — 质量")},
      {QStringLiteral("CWT"), QStringLiteral("英担(cwt) — 质量")},
      {QStringLiteral("m"), QStringLiteral("米(m) — 长度")},
      {QStringLiteral("米"), QStringLiteral("米(m) — 长度")},
      {QStringLiteral("力"), QStringLiteral("牛顿(N) — 力")},
      {QStringLiteral("质量"), QStringLiteral("千克(kg) — 质量")},
      {QStringLiteral("xyz"), QString()},
  };
  for (const Case& c : cases) {
    Find(c.query);
    EXPECT_EQ(FirstMatch(), c.first) << c.query.toStdString();
    EXPECT_EQ(Widget<QWidget>(kFindNoMatch)->isVisible(), c.first.isEmpty())
        << c.query.toStdString();
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Panel()->isVisible()) << c.query.toStdString();
  }
}

TEST_F(FindTest, ListsOneLinePerMatchAndSaysHowMany) {
  // Action: a query that eight names match (every one with a symbol), then one that none does.
  // Expected: eight lines and "找到 8 个单位"; then no line and no number, only the notice.
  Find(QStringLiteral("("));
  int shown = 0;
  for (int line = 1; line <= kFindResultLines; ++line) shown += Line(line)->isVisible() ? 1 : 0;
  EXPECT_EQ(shown, 8);
  EXPECT_EQ(Widget<QLabel>(kFindCount)->text(), QStringLiteral("找到 8 个单位"));
  Type(QStringLiteral("xyz"));
  EXPECT_FALSE(Line(1)->isVisible());
  EXPECT_EQ(Widget<QLabel>(kFindCount)->text(), QString());
  EXPECT_TRUE(Widget<QWidget>(kFindNoMatch)->isVisible());
}

TEST_F(FindTest, ThePanelCoversThePageControlWhole) {
  // State: page 1 with its rows.  Action: Ctrl+F.  Expected: whatever point of the page control
  // is looked at, the panel (or one of its controls) is there, not a row.
  Key(Qt::Key_F, Qt::ControlModifier);
  auto* pages = Widget<QWidget>(kPageControlName);
  const QRect area(pages->mapTo(window(), QPoint(0, 0)), pages->size());
  for (int x = area.left(); x <= area.right(); x += 7) {
    for (int y = area.top(); y <= area.bottom(); y += 7) {
      QWidget* seen = window()->childAt(x, y);
      ASSERT_TRUE(seen == Panel() || Panel()->isAncestorOf(seen)) << x << "," << y;
    }
  }
}

TEST_F(FindTest, EnterJumpsToTheChosenUnitWithItsTextSelected) {
  // State: page 1 on show, 2 typed into 千克 earlier.  Action: search "克", Down, Enter.
  // Expected: page 5 on show, the second match (毫克) holds the focus with its text selected.
  ClickCategoryButton(5);
  TypeInto(202, "2");
  ClickCategoryButton(1);
  Find(QStringLiteral("克"));
  EXPECT_EQ(Line(2)->text(), QStringLiteral("毫克(mg) — 质量"));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Up);
  Key(Qt::Key_Return);
  EXPECT_FALSE(Panel()->isVisible());
  EXPECT_EQ(CurrentCategory(), 5);
  ASSERT_EQ(Focused(), Row(203));
  EXPECT_EQ(Row(203)->text(), QStringLiteral("2,000,000"));
  EXPECT_EQ(Row(203)->selectedText(), Row(203)->text());
}

TEST_F(FindTest, JumpBuildsAPageNotShownYetAndClickOnAMatchJumpsToo) {
  // Action: search "N", click the first line.  Expected: the force page is built and its row
  // takes the focus.
  Find(QStringLiteral("N"));
  QTest::mouseClick(Line(1), Qt::LeftButton);
  EXPECT_EQ(CurrentCategory(), 6);
  EXPECT_EQ(Focused(), Row(252));
}

TEST_F(FindTest, ALetterTypedOutsideTheRowsStartsTheSearch) {
  // State: a category button holds the focus.  Action: type "k".  Expected: the finder opens
  // with "k" as its query. In a row the letter is just refused.
  auto* button = Widget<QWidget>("unit5");
  button->setFocus();
  QTest::keyClick(button, Qt::Key_K);
  ASSERT_TRUE(Panel()->isVisible());
  EXPECT_EQ(Box()->text(), "k");
  EXPECT_EQ(FirstMatch(), QStringLiteral("千米(km) — 长度"));
  Key(Qt::Key_Escape);

  TypeInto(2, "k");
  EXPECT_FALSE(Panel()->isVisible());
  EXPECT_EQ(Row(2)->text(), "");
}

TEST_F(FindTest, RowMenuCopiesPlainValuesWithAndWithoutTheUnit) {
  // State: separators on, 1234.5 m typed.  Action: the row menu of 毫米 (showing "1,234,500").
  // Expected: the value without separators, then with its symbol; a unit without a symbol
  // copies its name.
  TypeInto(2, "1234.5");
  ASSERT_EQ(RowText(4), QStringLiteral("1,234,500"));
  ChooseFromRowMenu(4, "复制数值菜单");
  EXPECT_EQ(QApplication::clipboard()->text(), "1234500");
  ChooseFromRowMenu(4, "复制数值和单位菜单");
  EXPECT_EQ(QApplication::clipboard()->text(), "1234500 mm");
  ChooseFromRowMenu(5, "复制数值和单位菜单");
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("12345000000000 埃"));
}

TEST_F(FindTest, CopyTakesTheFullValueBehindAShortenedOne) {
  // State: a result too wide for its row shows a shorter form.  Action: 复制数值.  Expected:
  // every digit of the full result, without separators.
  TypeInto(3, "987654321.123");
  ASSERT_FALSE(Row(4)->toolTip().isEmpty()) << "the row is expected to show a shorter form";
  ASSERT_NE(RowText(4).remove(u','), QStringLiteral("987654321123000"));
  ChooseFromRowMenu(4, "复制数值菜单");
  EXPECT_EQ(QApplication::clipboard()->text(), "987654321123000");
}

TEST_F(FindTest, CtrlShiftCCopiesTheFocusedRowAndAnEmptyRowCopiesNothing) {
  QApplication::clipboard()->setText("before");
  TypeInto(2, "1");
  Row(3)->setFocus();
  Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "0.001 km");

  ClearRow(2);
  Key(Qt::Key_Escape);
  QApplication::clipboard()->setText("before");
  Row(3)->setFocus();
  Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "before");
}

TEST_F(FindTest, PasteSelectAllAndClearFromTheRowMenu) {
  // Action: paste "2.5" into 千米; select all in 米; clear the page.  Expected: the paste
  // converts as typing does; select all selects the row's text; clearing empties every row and
  // BaseValue.
  QApplication::clipboard()->setText("2.5");
  ChooseFromRowMenu(3, "粘贴菜单");
  EXPECT_EQ(RowText(3), "2.5");
  EXPECT_EQ(RowText(2), "2,500");
  ChooseFromRowMenu(2, "全选菜单");
  EXPECT_EQ(Focused(), Row(2));
  EXPECT_EQ(Row(2)->selectedText(), "2,500");
  ChooseFromRowMenu(4, "清空本页菜单");
  for (const int row : {2, 3, 4, 5}) EXPECT_EQ(RowText(row), "") << row;
  EXPECT_EQ(state().BaseValue, 0.0);
}

TEST_F(FindTest, UpAndDownMoveBetweenRowsAndStopAtTheEnds) {
  // State: page 1 (rows 2 to 5), the first row focused after start-up.
  ASSERT_EQ(Focused(), Row(2));
  Key(Qt::Key_Up);
  EXPECT_EQ(Focused(), Row(2));
  Key(Qt::Key_Down);
  EXPECT_EQ(Focused(), Row(3));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  EXPECT_EQ(Focused(), Row(5));
  EXPECT_EQ(Row(5)->selectedText(), Row(5)->text());
  Key(Qt::Key_Down);
  EXPECT_EQ(Focused(), Row(5));
  Key(Qt::Key_Up);
  EXPECT_EQ(Focused(), Row(4));
}

TEST_F(FindTest, EscapeInARowClearsThePage) {
  TypeInto(3, "7");
  ASSERT_EQ(RowText(2), "7,000");
  Key(Qt::Key_Escape);
  for (const int row : {2, 3, 4, 5}) EXPECT_EQ(RowText(row), "") << row;
  EXPECT_EQ(state().BaseValue, 0.0);
}

TEST_F(FindTest, CtrlPageUpAndDownSwitchAmongCategoriesWithUnits) {
  // State: page 1 on show; pages 5 and 6 are the others with units.
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(CurrentCategory(), 1);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(CurrentCategory(), 5);
  EXPECT_EQ(Focused(), Row(202));
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(CurrentCategory(), 6);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(CurrentCategory(), 6);
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(CurrentCategory(), 5);
}

// Page 1 lists 30 units whose symbols start with "mi" and 19 that do not.
std::string ManyMatchesConfig() {
  std::string text =
      "[通用设置]\n记住最后类别=1\n最后的类别=0\n小数保留位数=4\n"
      "跨度=372\n上下间隔=24\n每列个数=15\n[按钮的命名]\nunit1=长度\n[unit1]\n";
  for (int i = 1; i <= 49; ++i) {
    const std::string n = std::to_string(i);
    text += std::to_string(PageBase(1) + i) + "=" +
            (i <= 30 ? "英里" + n + "(mi" + n + ")" : "米" + n + "(m" + n + ")") + ",1\n";
  }
  return text;
}

class FindManyTest : public FindTest {
 protected:
  void SetUp() override { Start(ManyMatchesConfig()); }

  // The list's line showing `text`, made or designed.
  QLabel* LineShowing(const QString& text) {
    for (QLabel* label : Panel()->findChildren<QLabel*>()) {
      if (label->isVisible() && label->text() == text) return label;
    }
    return nullptr;
  }
  // Whether the label lies whole inside what the list shows.
  bool InView(QLabel* label) {
    auto* list = Widget<QWidget>(kFindList);
    const QRect place(label->mapTo(list, QPoint(0, 0)), label->size());
    return QRect(QPoint(0, 0), list->size()).contains(place);
  }
};

TEST_F(FindManyTest, EveryMatchIsListedAndDownKeepsTheChosenLineInView) {
  // State: 30 matches for "mi", more than the list shows at once.  Action: Down to the last
  // match, Enter.  Expected: "找到 30 个单位"; every chosen line in view; the jump reaches the
  // thirtieth unit.
  Find(QStringLiteral("mi"));
  EXPECT_EQ(Widget<QLabel>(kFindCount)->text(), QStringLiteral("找到 30 个单位"));
  for (int i = 1; i <= 30; ++i) {
    QLabel* line = LineShowing(QStringLiteral("英里%1(mi%1) — 长度").arg(i));
    ASSERT_NE(line, nullptr) << i;
    if (i > 1) Key(Qt::Key_Down);
    EXPECT_TRUE(InView(line)) << i;
  }
  EXPECT_FALSE(InView(LineShowing(QStringLiteral("英里1(mi1) — 长度"))));
  Key(Qt::Key_Return);
  EXPECT_EQ(Focused(), Row(PageBase(1) + 30));
}

TEST_F(FindManyTest, ClickOnALineBelowTheFirstScreenfulJumpsToItsUnit) {
  // Action: "mi", PageDown twice (to the end), a click on the line of 英里25.  Expected: its
  // row takes the focus.
  Find(QStringLiteral("mi"));
  Key(Qt::Key_PageDown);
  Key(Qt::Key_PageDown);
  QLabel* line = LineShowing(QStringLiteral("英里25(mi25) — 长度"));
  ASSERT_NE(line, nullptr);
  ASSERT_TRUE(InView(line));
  QTest::mouseClick(line, Qt::LeftButton);
  EXPECT_FALSE(Panel()->isVisible());
  EXPECT_EQ(Focused(), Row(PageBase(1) + 25));
}

TEST_F(FindManyTest, ANewQueryStartsAtTheTopOfTheList) {
  // State: "mi" with the last match chosen.  Action: type "1".  Expected: the first match of
  // "mi1" is chosen and in view, and the number follows the new query.
  Find(QStringLiteral("mi"));
  for (int i = 1; i < 30; ++i) Key(Qt::Key_Down);
  Type(QStringLiteral("1"));
  EXPECT_EQ(Widget<QLabel>(kFindCount)->text(), QStringLiteral("找到 11 个单位"));
  QLabel* first = LineShowing(QStringLiteral("英里1(mi1) — 长度"));
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(InView(first));
  Key(Qt::Key_Return);
  EXPECT_EQ(Focused(), Row(PageBase(1) + 1));
}

}  // namespace
}  // namespace velmora
