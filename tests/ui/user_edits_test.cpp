// Which changes of an edit box count as the user's edits, and the unit rows converting on those
// alone: the program's own writes of results never feed back into the conversion.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>

#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/conversion_handlers.h"
#include "ui/design_support.h"
#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

// A window with a line edit and a multi-line box whose content changed and user edited events
// are counted.
class EditEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowDesign design;
    design.name = "EditEventsWindow";
    design.width = 300;
    design.height = 200;
    ControlDesign line = testing::Make(Kind::EditBox, "单行", {10, 10, 200, 20});
    ControlDesign multi = testing::Make(Kind::EditBox, "多行", {10, 40, 200, 60});
    multi.look.input = Input::MultiLine;
    for (ControlDesign* box : {&line, &multi}) {
      box->events = {{Event::ContentChanged, "Changed"}, {Event::UserEdited, "Edited"}};
    }
    design.controls = {line, multi};
    HandlerTable handlers = {{"Changed", [this](const EventArgs&) { ++changed_; }},
                             {"Edited", [this](const EventArgs&) { ++edited_; }}};
    window_ = LoadWindow(design, std::move(handlers), nullptr, false);
    ASSERT_NE(window_, nullptr);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
  }
  void TearDown() override { delete window_.data(); }

  QPointer<Window> window_;
  int changed_ = 0;
  int edited_ = 0;
};

struct EditCase {
  const char* name;
  // Whether the change is the user's (raises user edited) or the program's.
  bool by_user;
  // Runs on the box, which holds "12" with the focus and the caret at the end.
  std::function<void(Control box, QWidget* widget)> action;
  friend std::ostream& operator<<(std::ostream& os, const EditCase& c) { return os << c.name; }
};

const EditCase kEditCases[] = {
    {"Typing", true, [](Control, QWidget* w) { QTest::keyClicks(w, "34"); }},
    {"Backspace", true, [](Control, QWidget* w) { QTest::keyClick(w, Qt::Key_Backspace); }},
    {"Cut", true,
     [](Control, QWidget* w) {
       QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
       QTest::keyClick(w, Qt::Key_X, Qt::ControlModifier);
     }},
    {"PasteByKey", true,
     [](Control, QWidget* w) {
       SetClipboardText("9");
       QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
     }},
    {"Undo", true, [](Control, QWidget* w) { QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier); }},
    {"InsertText", true, [](Control box, QWidget*) { InsertText(box, 1, "5"); }},
    {"SetText", false, [](Control box, QWidget*) { SetText(box, "77"); }},
};

class EditEventsCaseTest : public EditEventsTest,
                           public ::testing::WithParamInterface<std::tuple<EditCase, bool>> {};

TEST_P(EditEventsCaseTest, ContentChangedAlwaysUserEditedOnlyForTheUsersEdits) {
  // State: a line edit or a multi-line box holding "12" as typed, with the focus.
  // Action: the case's change.
  // Expected: content changed is raised; user edited as often, for the user's changes only.
  const auto& [c, multi_line] = GetParam();
  const Control box = FindControl(window_, multi_line ? "多行" : "单行");
  auto* widget = qobject_cast<QWidget*>(box.object());
  ASSERT_NE(widget, nullptr);
  QTest::mouseClick(widget, Qt::LeftButton);
  ASSERT_TRUE(widget->hasFocus());
  QTest::keyClicks(widget, "12");
  ASSERT_EQ(Text(box), "12");
  changed_ = 0;
  edited_ = 0;
  c.action(box, widget);
  EXPECT_NE(Text(box), "12");
  EXPECT_GT(changed_, 0);
  EXPECT_EQ(edited_, c.by_user ? changed_ : 0);
}

INSTANTIATE_TEST_SUITE_P(Changes, EditEventsCaseTest,
                         ::testing::Combine(::testing::ValuesIn(kEditCases), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_MultiLine" : "_Line");
                         });

TEST_F(EditEventsTest, PasteIntoAndProgramWritesWithoutTheFocus) {
  // State: the line edit without the focus.
  // Action: the program writes into it, then pastes into it as the rows' menu does.
  // Expected: the write raises no user edited; the paste, the user's command, does.
  const Control box = FindControl(window_, "单行");
  SetText(box, "1");
  EXPECT_EQ(changed_, 1);
  EXPECT_EQ(edited_, 0);
  SetClipboardText("42");
  PasteInto(box);
  EXPECT_EQ(Text(box), "142");
  EXPECT_EQ(edited_, 1);
}

constexpr const char* kConfig = R"([通用设置]
小数保留位数=2
是否千位分隔=1
跨度=300
上下间隔=24
每列个数=15

[unit1]
2=米(m),1
3=千米(km),0.001
4=毫米(mm),1000
5=英尺(ft),3.2808398950131

[unit4]
152=摄氏度,1
153=开尔文,1
154=列氏度,1
155=华氏度,1
156=兰氏度,1
)";

class RowEditsTest : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    Start(kConfig);
    ClickCategoryButton(1);
  }
};

TEST_F(RowEditsTest, ProgramWritesIntoRowsConvertNothing) {
  // State: "5" typed into the metre row, which keeps the focus.
  // Action: the program writes into the focused row and into another row.
  // Expected: the quantity stays 5 m; the other rows keep showing it.
  TypeInto(2, "5");
  ASSERT_EQ(RowText(4), "5,000");
  SetText(FindControlByTag(window(), 2), "9");
  SetText(FindControlByTag(window(), 3), "7");
  EXPECT_EQ(state().BaseValue, 5.0);
  EXPECT_EQ(RowText(4), "5,000");
  EXPECT_EQ(RowText(5), "16.4");
}

TEST_F(RowEditsTest, PasteAndCutConvert) {
  // State: page 1, nothing typed.
  // Action: paste "2.5" into the metre row by the rows' menu command, then "1" into the
  // kilometre row by Ctrl+V, then cut all of the kilometre row.
  // Expected: each edit converts the page from the edited row.
  SetClipboardText("2.5");
  PasteInto(FindControlByTag(window(), 2));
  EXPECT_EQ(RowText(4), "2,500");
  EXPECT_EQ(RowText(5), "8.2");

  QLineEdit* km = Row(3);
  QTest::mouseClick(km, Qt::LeftButton);
  km->selectAll();
  SetClipboardText("1");
  QTest::keyClick(km, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(RowText(2), "1,000");
  EXPECT_EQ(RowText(4), "1,000,000");

  km->selectAll();
  QTest::keyClick(km, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(RowText(3), "");
  EXPECT_EQ(RowText(2), "0");
  EXPECT_EQ(state().BaseValue, 0.0);
}

TEST_F(RowEditsTest, RefreshOnTheTemperaturePageKeepsTheTypedTemperature) {
  // State: "0.4" typed into the Celsius row, which keeps the focus.
  // Action: the options change to no decimals and the page on show is refreshed, as Apply does.
  // Expected: the rows show 0.4 °C in whole numbers, each from 0.4 °C, not from the Celsius
  // row's rounded "0"; the quantity stays 0.4 °C.
  ClickCategoryButton(4);
  TypeInto(152, "0.4");
  state().settings.DecimalPlaces = 0;
  RefreshCurrentPage(state(), window());
  EXPECT_EQ(RowText(152), "0");
  EXPECT_EQ(RowText(153), "274");
  EXPECT_EQ(RowText(155), "33");
  EXPECT_DOUBLE_EQ(state().BaseValue, 0.4);
}

}  // namespace
}  // namespace velmora
