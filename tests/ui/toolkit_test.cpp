#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "toolkit/private/decimal_validator.h"
#include "toolkit/window.h"
#include "ui/design_support.h"

namespace velmora {
namespace {

// What a handler saw: its name, the source's object name, the binding's argument.
struct Seen {
  std::string handler;
  QString source;
  int argument;
  bool operator==(const Seen&) const = default;
};

using testing::Make;

class ToolkitTest : public ::testing::Test {
 protected:
  void TearDown() override { delete window_.data(); }

  // A window with an edit box, two buttons, a label, a timer and a page control with one page.
  WindowDesign Design() {
    WindowDesign design;
    design.name = "TestWindow";
    design.title = "Test";
    design.width = 300;
    design.height = 200;
    design.events = {{Event::Created, "Record"}, {Event::Destroying, "Record"}};
    ControlDesign edit = Make(Kind::EditBox, "编辑框1", {10, 40, 120, 16}, "", "7");
    edit.look.input = Input::DecimalNumber;
    edit.events = {{Event::ContentChanged, "Record", 11},
                   {Event::GotFocus, "Record", 12},
                   {Event::LostFocus, "Record", 13}};
    ControlDesign first = Make(Kind::Button, "按钮1", {10, 10, 60, 24}, "一", "5000");
    first.events = {{Event::Clicked, "Record", 1}};
    ControlDesign second = first;
    second.name = "按钮2";
    second.left = 80;
    second.tag = "5001";
    second.events = {{Event::Clicked, "Other", 2}};
    ControlDesign label = Make(Kind::TransparentLabel, "标签1", {10, 70, 100, 16}, "<b>x</b>");
    label.events = {{Event::LeftButtonDown, "Record", 21}, {Event::LeftButtonUp, "Record", 22}};
    ControlDesign timer = Make(Kind::Timer, "时钟1");
    timer.events = {{Event::Tick, "Record", 31}};
    // The buttons stand above the edit box, so that the window's first focus goes to a button.
    design.controls = {first, second, edit, label, timer};
    design.menus = {{"菜单", {{"项1", "&A.一", {{Event::Chosen, "Record", 41}}, ""}}}};
    return design;
  }

  HandlerTable Handlers() {
    auto record = [this](const char* name) {
      return [this, name](const EventArgs& e) {
        seen_.push_back({name, e.source.object()->objectName(), e.argument});
        if (nested_ && e.event == Event::Clicked) {
          // A program write inside a handler raises its own event at once; afterwards the
          // outer handler's source is back.
          SetText(FindControl(e.window, "编辑框1"), "5");
          sources_after_nested_.push_back(EventSource().object()->objectName());
        }
      };
    };
    return {{"Record", record("Record")}, {"Other", record("Other")}};
  }

  void Load() {
    window_ = LoadWindow(Design(), Handlers(), nullptr, false);
    ASSERT_NE(window_, nullptr);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
    seen_.clear();
  }

  template <typename T>
  T* Widget(const char* name) {
    return qobject_cast<T*>(FindControl(window_, name).object());
  }

  QPointer<Window> window_;
  std::vector<Seen> seen_;
  bool nested_ = false;
  std::vector<QString> sources_after_nested_;
};

TEST_F(ToolkitTest, CreatedIsRaisedBeforeTheWindowIsShown) {
  bool visible_when_created = true;
  HandlerTable handlers = {{"Record", [&](const EventArgs& e) {
                              if (e.event == Event::Created) {
                                visible_when_created = Visible(WindowControl(e.window));
                              }
                            }}};
  window_ = LoadWindow(Design(), std::move(handlers), nullptr, false);
  EXPECT_FALSE(visible_when_created);
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(ToolkitTest, ContentChangedIsRaisedForTypingAndForProgramWrites) {
  Load();
  auto* edit = Widget<QLineEdit>("编辑框1");
  SetText(FindControl(window_, "编辑框1"), "3");
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClicks(edit, "4");
  const std::vector<Seen> expected = {
      {"Record", "编辑框1", 11}, {"Record", "编辑框1", 12}, {"Record", "编辑框1", 11}};
  EXPECT_EQ(seen_, expected);
  EXPECT_EQ(edit->text(), "34");
}

TEST_F(ToolkitTest, CopyRaisesTheTemplateHandlersWithItselfAsSource) {
  // State: a copy of the edit box, given a tag of its own.
  // Action: write into the copy.  Expected: the template's handler runs and names the copy.
  Load();
  const Control original = FindControl(window_, "编辑框1");
  const Control copy = CopyControl(original);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy.kind(), Kind::EditBox);
  EXPECT_NE(copy.object(), original.object());
  EXPECT_EQ(Tag(copy), "7");
  SetTag(copy, "8");
  EXPECT_EQ(Tag(original), "7");
  EXPECT_EQ(FindControlByTag(window_, 8), copy);
  EXPECT_EQ(FindControlByTag(window_, 7), original);

  SetText(copy, "9");
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].source, copy.object()->objectName());
  EXPECT_EQ(seen_[0].argument, 11);
  EXPECT_EQ(Left(copy), Left(original));
  EXPECT_EQ(Width(copy), 120);
  // The design name still finds the template.
  EXPECT_EQ(FindControl(window_, "编辑框1"), original);
}

TEST_F(ToolkitTest, FindControlByTagFollowsWritesAndForgetsDestroyedControls) {
  Load();
  const Control copy = CopyControl(FindControl(window_, "编辑框1"));
  SetTag(copy, "152.9");
  EXPECT_EQ(FindControlByTag(window_, 152), copy);
  SetTag(copy, "153");
  EXPECT_FALSE(FindControlByTag(window_, 152));
  EXPECT_EQ(FindControlByTag(window_, 153), copy);
  EXPECT_EQ(FindControlByTag(window_, 5001), FindControl(window_, "按钮2"));
  delete copy.object();
  EXPECT_FALSE(FindControlByTag(window_, 153));
  SetTag(FindControl(window_, "按钮1"), "");
  EXPECT_FALSE(FindControlByTag(window_, 5000));
}

TEST_F(ToolkitTest, RedirectedEventsRunTheTargetHandlersNamingTheSource) {
  // State: 按钮2's events redirected to 按钮1.
  // Action: click 按钮2.  Expected: 按钮1's handler runs; EventSource is 按钮2.
  Load();
  RedirectEvents(FindControl(window_, "按钮2"), FindControl(window_, "按钮1"));
  QTest::mouseClick(Widget<QAbstractButton>("按钮2"), Qt::LeftButton);
  const std::vector<Seen> expected = {{"Record", "按钮2", 1}};
  EXPECT_EQ(seen_, expected);
  // Controls of different kinds are not redirected.
  RedirectEvents(FindControl(window_, "按钮1"), FindControl(window_, "编辑框1"));
  QTest::mouseClick(Widget<QAbstractButton>("按钮1"), Qt::LeftButton);
  EXPECT_EQ(seen_.back(), (Seen{"Record", "按钮1", 1}));
}

TEST_F(ToolkitTest, EventSourceIsRestoredAfterANestedEvent) {
  Load();
  nested_ = true;
  QTest::mouseClick(Widget<QAbstractButton>("按钮1"), Qt::LeftButton);
  const std::vector<Seen> expected = {{"Record", "按钮1", 1}, {"Record", "编辑框1", 11}};
  EXPECT_EQ(seen_, expected);
  EXPECT_EQ(sources_after_nested_, std::vector<QString>{"按钮1"});
  EXPECT_FALSE(EventSource());
}

TEST_F(ToolkitTest, LabelMouseButtonsAndTimerTicksAndMenuItems) {
  Load();
  auto* label = Widget<QLabel>("标签1");
  QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
  QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
  const Control timer = FindControl(window_, "时钟1");
  EXPECT_EQ(TimerInterval(timer), 0);
  SetTimerInterval(timer, 1);
  EXPECT_EQ(TimerInterval(timer), 1);
  // Waits for the first tick rather than a fixed time, so a busy machine cannot starve it.
  const auto ticks = [this] {
    return std::count(seen_.begin(), seen_.end(), Seen{"Record", "时钟1", 31});
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks() >= 1; }, 5000));
  SetTimerInterval(timer, 0);
  EXPECT_EQ(TimerInterval(timer), 0);
  EXPECT_GE(ticks(), 1);
  const std::vector<Seen> mouse = {{"Record", "标签1", 21}, {"Record", "标签1", 22}};
  EXPECT_EQ(std::vector<Seen>(seen_.begin(), seen_.begin() + 2), mouse);

  seen_.clear();
  qobject_cast<QAction*>(FindControl(window_, "项1").object())->trigger();
  EXPECT_EQ(seen_, (std::vector<Seen>{{"Record", "项1", 41}}));
}

TEST_F(ToolkitTest, PropertiesReadBackWhatWasWritten) {
  Load();
  const Control label = FindControl(window_, "标签1");
  EXPECT_EQ(Text(label), "<b>x</b>");
  EXPECT_EQ(Widget<QLabel>("标签1")->textFormat(), Qt::PlainText);
  Move(label, 30, 40);
  EXPECT_EQ(Left(label), 30);
  EXPECT_EQ(Top(label), 40);
  SetVisible(label, false);
  EXPECT_FALSE(Visible(label));
  SetVisible(label, true);
  EXPECT_TRUE(Visible(label));
  const Control edit = FindControl(window_, "编辑框1");
  SetBackgroundColour(edit, 0x0000FF);
  EXPECT_EQ(BackgroundColour(edit), 0x0000FFu);
  EXPECT_EQ(Widget<QLineEdit>("编辑框1")->palette().color(QPalette::Base), QColor(255, 0, 0));
  SetDisabled(FindControl(window_, "按钮1"), true);
  EXPECT_TRUE(Disabled(FindControl(window_, "按钮1")));
  EXPECT_EQ(WindowName(window_), "TestWindow");
}

TEST_F(ToolkitTest, DestroyWindowRaisesItsEventOnceAndDeletesTheWindow) {
  Load();
  DestroyWindow(window_);
  DestroyWindow(window_);
  EXPECT_EQ(seen_, (std::vector<Seen>{{"Record", "TestWindow", 0}}));
  EXPECT_FALSE(window_->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window_.isNull());
}

TEST_F(ToolkitTest, ModalLoadReturnsWhenTheWindowIsDestroyed) {
  QPointer<Window> modal;
  QTimer::singleShot(0, [&modal] {
    modal = dynamic_cast<Window*>(QApplication::activeModalWidget());
    DestroyWindow(modal);
  });
  EXPECT_EQ(LoadWindow(Design(), Handlers(), nullptr, true), nullptr);
  EXPECT_TRUE(modal.isNull());
}

TEST_F(ToolkitTest, OpenAddressOnlyHandsOnWebAddresses) {
  WindowDesign design;
  design.name = "LinkWindow";
  design.width = 10;
  design.height = 10;
  design.controls = {Make(Kind::HyperlinkBox, "超级链接框1")};
  window_ = LoadWindow(design, {}, nullptr, false);
  std::vector<QString> opened;
  SetAddressOpener([&opened](const QString& address) { opened.push_back(address); });
  const Control box = FindControl(window_, "超级链接框1");
  for (const char* address :
       {"http://127.0.0.1/a", "file:///etc/passwd", "javascript:x", "https://127.0.0.1/b", ""}) {
    SetText(box, address);
    OpenAddress(box);
  }
  SetAddressOpener({});
  EXPECT_EQ(opened, (std::vector<QString>{"http://127.0.0.1/a", "https://127.0.0.1/b"}));
}

TEST_F(ToolkitTest, ButtonsWithMissingPicturesStillDraw) {
  // State: a super button and an image button whose pictures do not exist.
  // Expected: both paint (the image button a plain face of its own), nothing fails.
  WindowDesign design;
  design.name = "PictureWindow";
  design.width = 100;
  design.height = 60;
  ControlDesign super_button = Make(Kind::SuperButton, "超级按钮1", {0, 0, 72, 24}, "长度");
  super_button.look.picture = ":/pictures/no-such-face.jpg";
  ControlDesign image_button = Make(Kind::ImageButton, "控件_图形按钮_关闭", {0, 30, 44, 18}, "×");
  image_button.look.picture = ":/pictures/no-such-close.png";
  design.controls = {super_button, image_button};
  window_ = LoadWindow(design, {}, nullptr, false);
  const QImage face = Widget<QWidget>("超级按钮1")->grab().toImage();
  ASSERT_FALSE(face.isNull());
  // Without its face the super button draws a framed one of its own, under its caption also
  // while it has the focus.
  EXPECT_NE(face.pixelColor(0, 12), QColor(236, 236, 236));
  auto* button = Widget<QWidget>("超级按钮1");
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
  button->setFocus();
  ASSERT_TRUE(button->hasFocus());
  const QImage focused = button->grab().toImage();
  int dark = 0;
  for (int y = 4; y < 20; ++y) {
    for (int x = 20; x < 52; ++x) dark += focused.pixelColor(x, y).lightness() < 100 ? 1 : 0;
  }
  EXPECT_GT(dark, 10) << "the caption is drawn";
  const QImage close = Widget<QWidget>("控件_图形按钮_关闭")->grab().toImage();
  EXPECT_NE(close.pixelColor(1, 1), QColor(236, 236, 236));
}

struct ValidatorCase {
  const char* name;
  const char* text;
  QValidator::State state;
  friend std::ostream& operator<<(std::ostream& os, const ValidatorCase& c) { return os << c.name; }
};

// clang-format off
const ValidatorCase kValidatorCases[] = {
  {"empty",              "",        QValidator::Intermediate},
  {"minus_alone",        "-",       QValidator::Intermediate},
  {"point_alone",        ".",       QValidator::Intermediate},
  {"integer",            "12",      QValidator::Acceptable},
  {"negative_fraction",  "-1.5",    QValidator::Acceptable},
  {"trailing_point",     "3.",      QValidator::Acceptable},
  {"leading_point",      ".5",      QValidator::Acceptable},
  {"exponent_pending",   "1e",      QValidator::Intermediate},
  {"exponent_sign",      "1e-",     QValidator::Intermediate},
  {"exponent",           "1.5E+7",  QValidator::Acceptable},
  {"two_points",         "1.2.3",   QValidator::Invalid},
  {"inner_minus",        "1-2",     QValidator::Invalid},
  {"plus_sign",          "+1",      QValidator::Invalid},
  {"exponent_no_digits", "e5",      QValidator::Invalid},
  {"point_in_exponent",  "1e2.5",   QValidator::Invalid},
  {"second_exponent",    "1e2e3",   QValidator::Invalid},
  {"letters",            "12abc",   QValidator::Invalid},
  {"blank",              "1 2",     QValidator::Invalid},
  {"full_width_digit",   "１",      QValidator::Invalid},
};
// clang-format on

class DecimalTextTest : public ::testing::TestWithParam<ValidatorCase> {};

TEST_P(DecimalTextTest, Classifies) {
  EXPECT_EQ(ClassifyDecimalText(QString::fromUtf8(GetParam().text)), GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecimalTextTest, ::testing::ValuesIn(kValidatorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecimalValidatorTest, DropsTheMarksOfProgramResults) {
  DecimalValidator validator;
  QString text = QStringLiteral("1,234.56");
  int position = 5;  // after "1,234"
  EXPECT_EQ(validator.validate(text, position), QValidator::Acceptable);
  EXPECT_EQ(text, "1234.56");
  EXPECT_EQ(position, 4);
  text = QStringLiteral("Na7N");
  position = 3;
  EXPECT_EQ(validator.validate(text, position), QValidator::Acceptable);
  EXPECT_EQ(text, "7");
  EXPECT_EQ(position, 1);
  text = QStringLiteral("-∞");
  position = 2;
  EXPECT_EQ(validator.validate(text, position), QValidator::Intermediate);
  EXPECT_EQ(text, "-");
  text = QStringLiteral("1,2x");
  EXPECT_EQ(validator.validate(text, position), QValidator::Invalid);
}

TEST_F(ToolkitTest, ControlsMadeOnFirstUseWaitUntilAskedForAndKeepTheirPlaces) {
  // A template edit box and its label wait hidden below the two buttons; the edit box is asked for
  // by its tag. It is made then with its label (which names it) and takes the place in the focus
  // chain its design gives it: between the buttons and the later edit box.
  WindowDesign design = Design();
  ControlDesign waiting = Make(Kind::EditBox, "模板", {10, 36, 60, 16}, "", "900");
  waiting.visible = false;
  waiting.made_on_first_use = true;
  waiting.label = "模板标签";
  ControlDesign waiting_label = Make(Kind::TransparentLabel, "模板标签", {80, 36, 60, 16}, "名称");
  waiting_label.visible = false;
  waiting_label.made_on_first_use = true;
  design.controls.push_back(waiting);
  design.controls.push_back(waiting_label);
  window_ = LoadWindow(design, Handlers(), nullptr, false);
  ASSERT_NE(window_, nullptr);
  EXPECT_EQ(window_->findChild<QLineEdit*>("模板"), nullptr);
  EXPECT_EQ(window_->findChild<QLabel*>("模板标签"), nullptr);

  const Control made = FindControlByTag(window_, 900);
  ASSERT_TRUE(made);
  auto* edit = qobject_cast<QLineEdit*>(made.object());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->objectName(), "模板");
  EXPECT_FALSE(edit->isVisibleTo(window_));
  EXPECT_EQ(edit->accessibleName(), "名称");
  EXPECT_EQ(FindControl(window_, "模板"), made);
  EXPECT_EQ(FindControl(window_, "模板标签").object(), window_->findChild<QLabel*>("模板标签"));

  // Shown, it comes between the second button and the first edit box when tabbing.
  SetVisible(made, true);
  QWidget* second_button = Widget<QWidget>("按钮2");
  QWidget* later_edit = Widget<QWidget>("编辑框1");
  EXPECT_EQ(second_button->nextInFocusChain(), edit);
  EXPECT_EQ(edit->nextInFocusChain(), later_edit);
  // Nothing else stands in the chain where it waited.
  int stand_ins = 0;
  for (QWidget* w : window_->findChildren<QWidget*>())
    stand_ins +=
        w->objectName().isEmpty() && w->focusPolicy() == Qt::TabFocus && !w->isVisibleTo(window_);
  EXPECT_EQ(stand_ins, 0);
}

}  // namespace
}  // namespace velmora
