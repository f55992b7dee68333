#include "ui/calculator_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/calculator_window_design.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"
#include "ui/secondary_windows.h"

namespace velmora {
namespace {

constexpr const char* kPiDigits = "3.1415926535897932384626433832795";

// One calculator window, opened as the program opens it (modeless), over a settings file of
// its own.
class CalculatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteBytes(dir_ / "config.dat", "");
    SetSettingsPath(dir_ / "config.dat");
    Open();
  }
  void TearDown() override {
    delete window_.data();
    SetSettingsPath({});
  }

  void Open() {
    window_ = LoadWindow(CalculatorWindowDesign(), CalculatorWindowHandlers(settings_, state_),
                         nullptr, false);
    ASSERT_NE(window_, nullptr);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
  }
  void Close() {
    DestroyWindow(window_.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window_.isNull());
  }

  QPlainTextEdit* Expression() {
    return qobject_cast<QPlainTextEdit*>(FindControl(window_, kExpressionBox).object());
  }
  QLineEdit* Result() {
    return qobject_cast<QLineEdit*>(FindControl(window_, kResultBox).object());
  }
  QString ResultText() { return Result()->text(); }
  QString ExpressionText() { return Expression()->toPlainText(); }
  int Caret() { return CaretPosition(FindControl(window_, kExpressionBox)); }
  QAbstractButton* Button(const char* name) {
    return qobject_cast<QAbstractButton*>(FindControl(window_, name).object());
  }
  void Click(const char* name) {
    QAbstractButton* button = Button(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // Types one text as the keyboard (or an input method) delivers it, outside Latin-1 too.
  void Type(const QString& text) {
    QTest::sendKeyEvent(QTest::Click, Expression(), Qt::Key_unknown, text, Qt::NoModifier);
  }
  // Writes the expression as the user would leave it: text, then the caret at `caret`.
  void Prepare(const QString& text, int caret) {
    SetText(FindControl(window_, kExpressionBox), text);
    SetCaretPosition(FindControl(window_, kExpressionBox), caret);
  }
  // Chooses an item of the "保存到" pop-up by clicking it, as the user does.
  void SaveTo(const char* letter) {
    Click(kSaveToButton);
    QMenu* menu = window_->Menu(kSaveToMenu);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    for (QAction* action : menu->actions()) {
      if (action->text() == letter) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        return;
      }
    }
    FAIL() << "no item " << letter;
  }

  testing::TempDir dir_;
  Settings settings_;
  CalculatorMemory state_;
  QPointer<Window> window_;
};

TEST_F(CalculatorTest, TypingShowsTheResultAfterEveryCharacter) {
  // State: empty calculator.  Action: type "1", "+", "2".  Expected: the result box shows "1",
  // "1", "3" with no "=" pressed, and the focus stays in the expression box.
  const std::pair<const char*, const char*> steps[] = {{"1", "1"}, {"+", "1"}, {"2", "3"}};
  ASSERT_TRUE(Expression()->hasFocus());
  for (const auto& [key, result] : steps) {
    QTest::keyClicks(Expression(), key);
    EXPECT_EQ(ResultText(), result) << "after " << key;
  }
  EXPECT_EQ(ExpressionText(), "1+2");
  EXPECT_TRUE(Expression()->hasFocus());
}

TEST_F(CalculatorTest, KeysInsertTheirTokensAndLeaveTheCaretWhereTheArgumentGoes) {
  struct Case {
    const char* what;
    QString before;
    int caret;
    const char* key;
    QString after;
    int caret_after;
    const char* result;  // nullptr: whatever the evaluator makes of the text
  };
  const Case cases[] = {
      {"sin in an empty box", "", 0, "sin", "sin()", 4, "0"},
      {"cos", "", 0, "COS", "cos()", 4, "1"},
      {"tan", "", 0, "tan", "tan()", 4, ""},
      {"ctg", "", 0, "ctg", "ctg()", 4, ""},
      {"log", "", 0, "log", "log()", 4, ""},
      {"ln", "", 0, "ln", "ln()", 3, ""},
      {"e^x is the function", "", 0, "e", "e()", 2, ""},
      {"parentheses", "2", 1, "括号", "2()", 2, ""},
      {"pi", "", 0, "PI", kPiDigits, 33, kPiDigits},
      {"plus in the middle of 12", "12", 1, "加", "1+2", 2, "3"},
      {"digit at the start", "+2", 0, "柒", "7+2", 1, "9"},
      {"point", "1", 1, "点", "1.", 2, "1."},
      {"power", "2", 1, "次方", "2^", 2, "1"},
      {"after a Chinese character", "你1", 2, "乘", "你1*", 3, nullptr},
      {"between an emoji and a digit", "😀5", 1, "减", "😀-5", 2, nullptr},
      {"after a flag made of two code points", "🇨🇳", 1, "零", "🇨🇳0", 2, nullptr},
  };
  for (const Case& c : cases) {
    Prepare(c.before, c.caret);
    Click(c.key);
    EXPECT_EQ(ExpressionText(), c.after) << c.what;
    EXPECT_EQ(Caret(), c.caret_after) << c.what;
    EXPECT_TRUE(Expression()->hasFocus()) << c.what;
    if (c.result != nullptr) {
      EXPECT_EQ(ResultText(), c.result) << c.what;
    }
  }
}

TEST_F(CalculatorTest, SinKeyThenTypedArgumentShowsTheSine) {
  // State: empty.  Action: sin, then type 30.  Expected: "sin(30)" and about 0.5.
  Click("sin");
  QTest::keyClicks(Expression(), "30");
  EXPECT_EQ(ExpressionText(), "sin(30)");
  EXPECT_NEAR(ResultText().toDouble(), 0.5, 1e-9);
}

TEST_F(CalculatorTest, TypedChineseCharacterCountsAsOneBeforeTheCaret) {
  // State: empty.  Action: type 你 (as an input method commits it), then 2, then press 加.
  // Expected: the caret stood at 2 characters and ends after the "+".
  Type(QStringLiteral("你"));
  Type(QStringLiteral("2"));
  EXPECT_EQ(Caret(), 2);
  Click("加");
  EXPECT_EQ(ExpressionText(), "你2+");
  EXPECT_EQ(Caret(), 3);
  QTest::keyClicks(Expression(), "3");
  EXPECT_EQ(ExpressionText(), "你2+3");
}

TEST_F(CalculatorTest, KeyGoesInFrontOfASelectionAndKeepsIt) {
  // State: "123" with "23" selected.  Action: press 加.  Expected: "1+23", caret after the "+".
  Prepare("123", 1);
  QTextCursor cursor = Expression()->textCursor();
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  Expression()->setTextCursor(cursor);
  EXPECT_EQ(Caret(), 1);
  Click("加");
  EXPECT_EQ(ExpressionText(), "1+23");
  EXPECT_EQ(Caret(), 2);
  EXPECT_EQ(ResultText(), "24");
}

TEST_F(CalculatorTest, KeypadKeyIsOneUndoStep) {
  QTest::keyClicks(Expression(), "12");
  Click("加");
  QTest::keyClick(Expression(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(ExpressionText(), "12");
  EXPECT_EQ(ResultText(), "12");
}

TEST_F(CalculatorTest, StoredResultSurvivesClearCloseAndReopen) {
  // State: "6*7" evaluated.  Action: "保存到" → B, 清空, close, reopen, press B, then A.
  // Expected: B inserts "42" with the caret behind it; the empty slot A inserts nothing.
  QTest::keyClicks(Expression(), "6*7");
  ASSERT_EQ(ResultText(), "42");
  SaveTo("B");
  EXPECT_EQ(state_.MemorySlot[1], "42");
  Click("清空");
  Close();
  Open();
  EXPECT_EQ(ExpressionText(), "");
  EXPECT_EQ(ResultText(), "");
  Click("B");
  EXPECT_EQ(ExpressionText(), "42");
  EXPECT_EQ(Caret(), 2);
  EXPECT_EQ(ResultText(), "42");
  Click("A");
  EXPECT_EQ(ExpressionText(), "42");
  EXPECT_EQ(Caret(), 2);
}

TEST_F(CalculatorTest, MemorySlotAdvancesByCharactersOfItsText) {
  // A slot holding an odd text moves the caret by the characters the user sees.
  Prepare("你好😀", 3);
  // Text that is no number has no result; the slot is filled as the user would paste it.
  ASSERT_EQ(ResultText(), "");
  state_.MemorySlot[3] = "你好😀";
  Prepare("1", 0);
  Click("D");
  EXPECT_EQ(ExpressionText(), "你好😀1");
  EXPECT_EQ(Caret(), 3);
}

TEST_F(CalculatorTest, SaveToMenuOpensAtThePointer) {
  const QPoint pointer = QGuiApplication::primaryScreen()->geometry().center();
  QCursor::setPos(pointer);
  if (QCursor::pos() != pointer) GTEST_SKIP() << "the platform cannot place the pointer";
  Click(kSaveToButton);
  QMenu* menu = window_->Menu(kSaveToMenu);
  ASSERT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->pos(), pointer);
  QStringList items;
  for (QAction* action : menu->actions()) items << action->text();
  EXPECT_EQ(items, QStringList({"A", "B", "C", "D"}));
  menu->hide();
}

TEST_F(CalculatorTest, EmptyResultStoresAndCopiesTheEmptyText) {
  state_.MemorySlot[2] = "5";
  QTest::keyClicks(Expression(), "1/0");
  ASSERT_EQ(ResultText(), "");
  SaveTo("C");
  EXPECT_EQ(state_.MemorySlot[2], "");
  QGuiApplication::clipboard()->setText("old");
  Click("复制计算结果");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

TEST_F(CalculatorTest, ClearEmptiesBothBoxesAndFocusesTheExpression) {
  QTest::keyClicks(Expression(), "2*3");
  ASSERT_EQ(ResultText(), "6");
  Click("清空");
  EXPECT_EQ(ExpressionText(), "");
  EXPECT_EQ(ResultText(), "");
  EXPECT_TRUE(Expression()->hasFocus());
}

TEST_F(CalculatorTest, CopyPutsTheResultOnTheClipboardAndTheCaretAtTheEnd) {
  QTest::keyClicks(Expression(), "2^10");
  SetCaretPosition(FindControl(window_, kExpressionBox), 1);
  Click("复制计算结果");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1024");
  EXPECT_EQ(Caret(), 4);
  EXPECT_FALSE(Expression()->textCursor().hasSelection());
  EXPECT_TRUE(Expression()->hasFocus());
}

TEST_F(CalculatorTest, EqualsKeyEvaluatesAgain) {
  QTest::keyClicks(Expression(), "8/4*2");
  Result()->clear();
  Click("等于");
  EXPECT_EQ(ResultText(), "4");
  EXPECT_TRUE(Expression()->hasFocus());
}

TEST_F(CalculatorTest, EnterKeepsTheExpressionOnOneLine) {
  QTest::keyClicks(Expression(), "1+2");
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    QTest::keyClick(Expression(), key);
    QTest::keyClick(Expression(), key, Qt::ShiftModifier);
  }
  EXPECT_EQ(ExpressionText(), "1+2");
  EXPECT_EQ(ResultText(), "3");
  QTest::keyClicks(Expression(), "0");
  EXPECT_EQ(ExpressionText(), "1+20");
}

TEST_F(CalculatorTest, CtrlCCopiesTheSelectionOrElseTheResult) {
  QTest::keyClicks(Expression(), "12*3");
  QTest::keyClick(Expression(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "36");
  QTest::keyClick(Expression(), Qt::Key_Home);
  QTest::keyClick(Expression(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(Expression(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(Expression(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");
  EXPECT_EQ(ExpressionText(), "12*3");
}

TEST_F(CalculatorTest, EscapeClosesTheWindowFromAnyControl) {
  for (const char* focus : {kExpressionBox, "壹"}) {
    SetFocus(FindControl(window_, focus));
    QTest::keyClick(qobject_cast<QWidget*>(FindControl(window_, focus).object()), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window_.isNull()) << focus;
    if (window_.isNull()) Open();
  }
}

TEST_F(CalculatorTest, CloseButtonDestroysTheWindow) {
  Click("控件_图形按钮_关闭");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window_.isNull());
}

TEST_F(CalculatorTest, PastedHugeExpressionsAreEvaluated) {
  // State: empty.  Action: paste a 64 KiB expression, then 100,000 nested parentheses.
  // Expected: each result appears (the group's value; the long sum's value).
  std::string sum;
  while (sum.size() < 64 * 1024) sum += "1+";
  sum += "1";
  const int ones = static_cast<int>(sum.size() / 2 + 1);
  const QString nested = QString(100000, u'(') + QStringLiteral("2*3") + QString(100000, u')');
  const std::pair<QString, QString> pastes[] = {
      {QString::fromStdString(sum), QString::number(ones)}, {nested, "6"}};
  for (const auto& [text, result] : pastes) {
    Click("清空");
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(Expression(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ExpressionText().size(), text.size());
    EXPECT_EQ(ResultText(), result);
  }
}

TEST_F(CalculatorTest, ResultBoxShowsALongResultWhole) {
  // An expression without operators comes back as written, however long.
  const QString digits(40000, u'7');
  SetText(FindControl(window_, kExpressionBox), digits);
  EXPECT_EQ(ResultText(), digits);
  SaveTo("A");
  EXPECT_EQ(state_.MemorySlot[0].size(), 40000u);
}

TEST_F(CalculatorTest, WordsShowNoResultWhileThePiKeyGivesDigits) {
  // State: empty calculator.  Action: type "PI*2", clear, then the "PI" key and "*2"; then "1e3".
  // Expected: the typed word and the exponent form leave the result box empty instead of showing
  // 0; the key's digits compute.
  QTest::keyClicks(Expression(), "PI*2");
  EXPECT_EQ(ResultText(), "");
  Click("清空");
  Click("PI");
  QTest::keyClicks(Expression(), "*2");
  EXPECT_EQ(ExpressionText(), QString::fromLatin1(kPiDigits) + "*2");
  EXPECT_EQ(ResultText(), "6.283185307179586");
  Click("清空");
  QTest::keyClicks(Expression(), "1e3");
  EXPECT_EQ(ResultText(), "");
}

TEST_F(CalculatorTest, GroupCaptionStandsClearOfTheExpressionLabelInEveryStyle) {
  // State: the calculator opened in interface style 1, 2, 3 and the designed look.
  // Action: none.  Expected: the line the group box draws its caption in and the label
  // "计算式：" share no pixel, the label stands below the frame's top edge and above the
  // expression box.
  for (const int style : {1, 2, 3, 7}) {
    // "[通用设置]" and "界面风格=" in GB18030.
    std::string config = "[\xCD\xA8\xD3\xC3\xC9\xE8\xD6\xC3]\n\xBD\xE7\xC3\xE6\xB7\xE7\xB8\xF1=";
    config += std::to_string(style);
    testing::WriteBytes(dir_ / "config.dat", config);
    Close();
    Open();
    auto* group = qobject_cast<QGroupBox*>(FindControl(window_, "分组框1").object());
    auto* label = qobject_cast<QWidget*>(FindControl(window_, "标签1").object());
    ASSERT_NE(group, nullptr);
    ASSERT_NE(label, nullptr);
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.textAlignment = group->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, group);
    EXPECT_FALSE(caption.isEmpty()) << style;
    EXPECT_FALSE(caption.intersects(label->geometry()))
        << "style " << style << ": caption bottom " << caption.bottom() << ", label top "
        << label->geometry().top();
    const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxFrame, group);
    EXPECT_GT(label->geometry().top(), frame.top())
        << "style " << style << ": the label covers the frame's top edge";
    EXPECT_LE(label->geometry().bottom(), Expression()->geometry().top()) << style;
  }
}

TEST_F(CalculatorTest, KeypadKeysShowTheHandAndTheirDesignFonts) {
  const std::pair<const char*, int> keys[] = {{"壹", 16}, {"捌", 14}, {"sin", 14}, {"log", 12},
                                              {"ln", 12}, {"A", 14},  {"PI", 12},  {"e", 12}};
  for (const auto& [name, pixels] : keys) {
    QAbstractButton* button = Button(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << name;
    EXPECT_EQ(button->font().pixelSize(), pixels) << name;
  }
  EXPECT_EQ(Button("e")->text(), "e^x");
  EXPECT_EQ(Expression()->cursor().shape(), Qt::IBeamCursor);
}

// The calculator opened from the real main window's menu.
class CalculatorFromMenuTest : public testing::MainWindowTest {
 protected:
  void ChooseCalculator() {
    // The menus are made on first use, as the settings button's click makes them.
    QMenu* menu = window()->Menu(QString::fromUtf8(kGeneralMenu));
    ASSERT_NE(menu, nullptr);
    QAction* item = menu->findChild<QAction*>("即时计算器菜单");
    ASSERT_NE(item, nullptr);
    item->trigger();
  }
  int OpenCalculators() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* open = dynamic_cast<Window*>(widget);
      if (open != nullptr && !IsDestroying(open) && WindowName(open) == kCalculatorWindow) ++count;
    }
    return count;
  }
};

TEST_F(CalculatorFromMenuTest, OpensModelessOverTheMainWindowWhichStaysUsable) {
  // State: the program on category 1 (metres, kilometres).  Action: choose "&I.即时计算器",
  // type into the calculator, then into a unit row of the main window.  Expected: an owned,
  // modeless calculator; both windows take the keys.
  Start(
      "[通用设置]\n小数保留位数=6\n跨度=300\n上下间隔=24\n每列个数=15\n"
      "[unit1]\n2=米,1\n3=千米,0.001\n");
  ClickCategoryButton(1);
  ChooseCalculator();
  Window* calculator = FindWindow(kCalculatorWindow);
  ASSERT_NE(calculator, nullptr);
  EXPECT_TRUE(calculator->isVisible());
  EXPECT_EQ(calculator->parentWidget(), window());
  EXPECT_EQ(ActiveModalWindow(), nullptr);
  auto* expression = qobject_cast<QWidget*>(FindControl(calculator, kExpressionBox).object());
  testing::UserClick(expression);
  testing::UserKeys(expression, "2*4");
  EXPECT_EQ(Text(FindControl(calculator, kResultBox)), "8");
  // The user's click on the main window makes it the active one (the window manager's part).
  window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  testing::UserClick(Row(2));
  testing::UserKeys(Row(2), "5");
  EXPECT_EQ(RowText(3), "0.005");
}

TEST_F(CalculatorFromMenuTest, SecondChoiceBringsTheOpenCalculatorForward) {
  // State: the calculator open with an expression, the main window active.  Action: choose the
  // menu item again.  Expected: still one calculator, the same one, its expression kept, active.
  Start("[通用设置]\n小数保留位数=6\n");
  ChooseCalculator();
  QPointer<Window> first = FindWindow(kCalculatorWindow);
  ASSERT_NE(first, nullptr);
  SetText(FindControl(first, kExpressionBox), "1+1");
  window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  ChooseCalculator();
  EXPECT_EQ(OpenCalculators(), 1);
  EXPECT_EQ(FindWindow(kCalculatorWindow), first.data());
  EXPECT_EQ(Text(FindControl(first, kExpressionBox)), "1+1");
  EXPECT_TRUE(QTest::qWaitForWindowActive(first.data()));
}

}  // namespace
}  // namespace velmora
