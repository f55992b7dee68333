#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>

#include "toolkit/private/advanced_page_control.h"
#include "toolkit/private/picture_box.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/design_support.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"

namespace velmora {
namespace {

using testing::MainWindowTest;
using testing::UserClick;
using testing::UserKeys;
using testing::WhileModal;

using testing::Make;

// A small window with a button that counts its clicks, an edit box, and a canvas.
WindowDesign CountingDesign(const char* name) {
  WindowDesign design;
  design.name = name;
  design.title = name;
  design.width = 300;
  design.height = 200;
  ControlDesign button = Make(Kind::Button, "按钮1", {10, 10, 80, 24}, "一");
  button.events = {{Event::Clicked, "Count"}};
  ControlDesign close = Make(Kind::Button, "关闭", {100, 10, 80, 24}, "关");
  close.events = {{Event::Clicked, "Close"}};
  design.controls = {button, close, Make(Kind::EditBox, "编辑框1", {10, 40, 120, 16}),
                     Make(Kind::Canvas, "画板1", {10, 80, 280, 100})};
  return design;
}

HandlerTable CountingHandlers(int& clicks) {
  return {{"Count", [&clicks](const EventArgs&) { ++clicks; }},
          {"Close", [](const EventArgs& e) { DestroyWindow(e.window); }}};
}

QAbstractButton* Button(Window* window, const char* name) {
  return qobject_cast<QAbstractButton*>(FindControl(window, name).object());
}

class SecondaryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = LoadWindow(CountingDesign("Owner"), CountingHandlers(main_clicks_), nullptr, false);
    ASSERT_NE(main_, nullptr);
    main_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.data()));
  }
  void TearDown() override { delete main_.data(); }

  QPointer<Window> main_;
  int main_clicks_ = 0;
};

TEST_F(SecondaryWindowTest, ModalWindowBlocksTheOthersAndReturnsOnlyWhenDestroyed) {
  // State: an open window.  Action: load a modal window, click and type into the first window,
  // then close the modal one with its own button.  Expected: the first window takes no click and
  // no key while the modal one is open; LoadWindow returns only after the close, and the first
  // window takes clicks again.
  int modal_clicks = 0;
  bool closed = false;
  WhileModal([&](Window* modal) {
    EXPECT_EQ(WindowName(modal), "Modal");
    EXPECT_EQ(FindWindow("Modal"), modal);
    UserClick(Button(main_, "按钮1"));
    auto* edit = qobject_cast<QLineEdit*>(FindControl(main_, "编辑框1").object());
    UserClick(edit);
    UserKeys(edit, "12");
    EXPECT_EQ(main_clicks_, 0);
    EXPECT_EQ(edit->text(), "");
    EXPECT_FALSE(edit->hasFocus());
    UserClick(Button(modal, "按钮1"));
    EXPECT_EQ(modal_clicks, 1);
    closed = true;
    UserClick(Button(modal, "关闭"));
  });
  EXPECT_EQ(LoadWindow(CountingDesign("Modal"), CountingHandlers(modal_clicks), nullptr, true),
            nullptr);
  EXPECT_TRUE(closed);
  EXPECT_EQ(FindWindow("Modal"), nullptr);
  EXPECT_EQ(ActiveModalWindow(), nullptr);
  UserClick(Button(main_, "按钮1"));
  EXPECT_EQ(main_clicks_, 1);
}

TEST_F(SecondaryWindowTest, ModelessWindowWithOwnerStaysAboveItAndLeavesItUsable) {
  // State: an open window.  Action: load a modeless window it owns; click the owner.
  // Expected: LoadWindow returns the shown window at once, a window of its own kept above its
  // owner; the owner takes the click; the owned window goes with its owner.
  int owned_clicks = 0;
  QPointer<Window> owned =
      LoadWindow(CountingDesign("Owned"), CountingHandlers(owned_clicks), main_, false);
  ASSERT_NE(owned, nullptr);
  EXPECT_TRUE(owned->isVisible());
  EXPECT_TRUE(owned->isWindow());
  EXPECT_EQ(owned->parentWidget(), main_.data());
  EXPECT_EQ(ActiveModalWindow(), nullptr);
  UserClick(Button(main_, "按钮1"));
  UserClick(Button(owned, "按钮1"));
  EXPECT_EQ(main_clicks_, 1);
  EXPECT_EQ(owned_clicks, 1);
  delete main_.data();
  EXPECT_TRUE(owned.isNull());
}

TEST_F(SecondaryWindowTest, CloseButtonDestroysOnlyItsOwnWindow) {
  int owned_clicks = 0;
  QPointer<Window> owned =
      LoadWindow(CountingDesign("Owned"), CountingHandlers(owned_clicks), main_, false);
  QTest::mouseClick(Button(owned, "关闭"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(owned.isNull());
  EXPECT_FALSE(main_.isNull());
  EXPECT_TRUE(main_->isVisible());
}

struct DragCase {
  const char* name;
  bool draggable;
  const char* grip;  // control pressed on; empty: the window's own background
  QPoint at;         // in the pressed widget
  QPoint moved;      // expected move of the window
};

const DragCase kDragCases[] = {
    {"Background", true, "", {250, 60}, {40, 30}},
    {"Canvas", true, "画板1", {100, 50}, {40, 30}},
    {"NotDraggable", false, "", {250, 60}, {0, 0}},
    {"EditBoxKeepsItsClicks", true, "编辑框1", {5, 5}, {0, 0}},
};

class BackgroundDragTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(BackgroundDragTest, WindowFollowsThePointerWhileTheButtonIsDown) {
  // State: a window at (100, 100).  Action: left button down on the grip, move by (40, 30),
  // release, move again.  Expected: a draggable window moves with the pointer by its background
  // (and what does not take clicks itself) and stops at the release.
  WindowDesign design = CountingDesign("Draggable");
  design.drag_by_background = GetParam().draggable;
  int clicks = 0;
  QPointer<Window> window = LoadWindow(design, CountingHandlers(clicks), nullptr, false);
  ASSERT_NE(window, nullptr);
  window->move(100, 100);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.data()));
  QWidget* grip = *GetParam().grip == '\0'
                      ? window.data()
                      : qobject_cast<QWidget*>(FindControl(window, GetParam().grip).object());
  ASSERT_NE(grip, nullptr);
  const QPoint at = GetParam().at;
  QTest::mousePress(grip, Qt::LeftButton, {}, at);
  QTest::mouseMove(grip, at + QPoint(40, 30));
  EXPECT_EQ(window->pos(), QPoint(100, 100) + GetParam().moved);
  QTest::mouseRelease(grip, Qt::LeftButton, {}, at + QPoint(40, 30) - GetParam().moved);
  const QPoint after = window->pos();
  QTest::mouseMove(grip, at + QPoint(80, 80));
  EXPECT_EQ(window->pos(), after);
  delete window.data();
}

INSTANTIATE_TEST_SUITE_P(Grips, BackgroundDragTest, ::testing::ValuesIn(kDragCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AdvancedPageControlTest, PagesHoldTheirControlsBehindDrawnTabs) {
  // State: a design with an advanced page control of three pages and a box on the third.
  // Action: load it and switch pages.  Expected: tabs with the captions, the box on the third
  // page at its design place, and the current page follows the writes.
  WindowDesign design;
  design.name = "Pages";
  design.width = 300;
  design.height = 300;
  ControlDesign pages = Make(Kind::AdvancedPageControl, "高级选择夹1", {24, 32, 254, 200});
  pages.look.pages = {"常规", "单位类名", "高级"};
  ControlDesign box = Make(Kind::EditBox, "跨度编辑框", {8, 56, 176, 16});
  box.parent = "高级选择夹1";
  box.page = 2;
  ControlDesign check = Make(Kind::CheckBox, "选择框1", {16, 57, 13, 13}, "是否千位分隔");
  check.parent = "高级选择夹1";
  check.page = 0;
  design.controls = {pages, box, check};
  QPointer<Window> window = LoadWindow(design, {}, nullptr, false);
  ASSERT_NE(window, nullptr);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.data()));
  const Control page_control = FindControl(window, "高级选择夹1");
  auto* tabs = dynamic_cast<AdvancedPageControl*>(page_control.object());
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tab_bar()->tabText(1), "单位类名");
  EXPECT_EQ(tabs->page(2)->objectName(), "高级选择夹1_page3");
  // Pages cover the whole control, so design places count from its corner, below the tabs.
  EXPECT_EQ(tabs->page(2)->geometry(), QRect(0, 0, 254, 200));
  EXPECT_LE(tabs->tab_bar()->geometry().bottom(), 32);
  EXPECT_GT(tabs->tab_bar()->height(), 12);
  auto* edit = qobject_cast<QWidget*>(FindControl(window, "跨度编辑框").object());
  EXPECT_EQ(edit->parentWidget(), tabs->page(2));
  EXPECT_EQ(edit->geometry(), QRect(8, 56, 176, 16));
  EXPECT_FALSE(tabs->page(2)->isVisible());
  QTest::mouseClick(tabs->tab_bar(), Qt::LeftButton, {}, tabs->tab_bar()->tabRect(2).center());
  EXPECT_EQ(CurrentPage(page_control), 2);
  EXPECT_TRUE(tabs->page(2)->isVisible());
  SetCurrentPage(page_control, 0);
  EXPECT_EQ(CurrentPage(page_control), 0);
  SetCurrentPage(page_control, 7);
  EXPECT_EQ(CurrentPage(page_control), 0);
  const Control check_box = FindControl(window, "选择框1");
  EXPECT_FALSE(Checked(check_box));
  SetChecked(check_box, true);
  EXPECT_TRUE(Checked(check_box));
  delete window.data();
}

struct FitCase {
  const char* name;
  QSize picture;
  QSize box;
  QRect area;
};

const FitCase kFitCases[] = {
    {"BackgroundIntoPreview", {1024, 768}, {144, 112}, {0, 2, 144, 108}},
    {"SameSize", {48, 48}, {48, 48}, {0, 0, 48, 48}},
    {"TallPicture", {50, 100}, {100, 100}, {25, 0, 50, 100}},
    {"SmallPictureGrows", {24, 12}, {96, 96}, {0, 24, 96, 48}},
    {"EmptyBox", {48, 48}, {0, 0}, {}},
    {"NoPicture", {0, 0}, {48, 48}, {}},
};

class PictureFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(PictureFitTest, KeepsTheProportionsCentred) {
  EXPECT_EQ(PictureBox::PictureArea(GetParam().picture, GetParam().box), GetParam().area);
}

INSTANTIATE_TEST_SUITE_P(Cases, PictureFitTest, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
