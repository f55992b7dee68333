// What assistive tools learn about the windows through Qt's accessibility interface, and the
// keyboard's way through them.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <string>
#include <vector>

#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/about_window.h"
#include "ui/about_window_design.h"
#include "ui/design_support.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"
#include "ui/options_window_design.h"
#include "ui/secondary_windows.h"

namespace velmora {
namespace {

using testing::MainWindowTest;
using testing::Make;
using testing::WhileModal;

QString AccessibleName(QObject* object) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QStringLiteral("<none>");
}

QObject* AccessibleLabel(QObject* object) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
  if (accessible == nullptr) return nullptr;
  const auto labels = accessible->relations(QAccessible::Label);
  return labels.isEmpty() ? nullptr : labels.front().first->object();
}

// A control as the focus walk reports it: its design name, a copy by its tag.
QString Describe(const QWidget* widget) {
  if (widget == nullptr) return QStringLiteral("<nothing>");
  QString name = widget->objectName();
  if (const qsizetype hash = name.indexOf(u'#'); hash >= 0) {
    name =
        name.left(hash) + QLatin1Char('[') + widget->property("tag").toString() + QLatin1Char(']');
  }
  return name;
}

// Presses Tab from the focused widget until the focus comes back to where it started (or 120
// steps): the controls it passed, the start first.
QStringList TabWalk() {
  QStringList walk;
  QWidget* start = QApplication::focusWidget();
  QWidget* current = start;
  for (int step = 0; step < 120 && current != nullptr; ++step) {
    walk.append(Describe(current));
    QTest::keyClick(current, Qt::Key_Tab);
    current = QApplication::focusWidget();
    if (current == start) break;
  }
  return walk;
}

// ---- The mechanism, on a small window whose design lists its controls out of reading order.

class AccessibleToolkitTest : public ::testing::Test {
 protected:
  void TearDown() override { delete window_.data(); }

  void Load() {
    WindowDesign design;
    design.name = "AccessibleWindow";
    design.width = 300;
    design.height = 200;
    ControlDesign ok = Make(Kind::Button, "确定按钮", {10, 160, 60, 24}, "确定");
    ControlDesign close = Make(Kind::ImageButton, "关闭按钮", {250, 0, 44, 18}, "×");
    close.accessible_name = "关闭";
    ControlDesign edit = Make(Kind::EditBox, "编辑框", {80, 40, 120, 16});
    edit.label = "标签";
    ControlDesign label = Make(Kind::TransparentLabel, "标签", {10, 40, 60, 16}, "米(m)");
    ControlDesign category = Make(Kind::SuperButton, "类别", {210, 38, 72, 24}, "长度");
    ControlDesign check = Make(Kind::CheckBox, "选择框", {10, 80, 16, 16});
    check.label = "选择标签";
    ControlDesign check_label = Make(Kind::TransparentLabel, "选择标签", {30, 80, 100, 16}, "记住");
    ControlDesign link = Make(Kind::TransparentLabel, "链接", {10, 120, 100, 16}, "主页");
    link.cursor = Cursor::Hand;
    link.events = {{Event::LeftButtonDown, "Link"}};
    ControlDesign row = Make(Kind::EditBox, "模板", {80, 60, 120, 16});
    row.visible = false;
    row.label = "模板标签";
    ControlDesign row_label = Make(Kind::TransparentLabel, "模板标签", {10, 60, 60, 16});
    row_label.visible = false;
    design.controls = {ok, close, check, check_label, link, row_label, row, edit, label, category};
    HandlerTable handlers = {{"Link", [this](const EventArgs&) { ++link_presses_; }}};
    window_ = LoadWindow(design, std::move(handlers), nullptr, false);
    ASSERT_NE(window_, nullptr);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
  }

  QWidget* Widget(const char* name) {
    return qobject_cast<QWidget*>(FindControl(window_, name).object());
  }

  // A row made as the category loader makes one: edit box and label copied, the label named.
  Control AddRow(const QString& unit, bool label_first) {
    const Control template_edit = FindControl(window_, "模板");
    const Control template_label = FindControl(window_, "模板标签");
    Control label = label_first ? CopyControl(template_label) : Control();
    const Control edit = CopyControl(template_edit);
    if (!label_first) label = CopyControl(template_label);
    SetText(label, unit);
    SetTag(edit, unit);
    SetVisible(edit, true);
    SetVisible(label, true);
    return edit;
  }

  QPointer<Window> window_;
  int link_presses_ = 0;
};

TEST_F(AccessibleToolkitTest, ControlsAreNamedByCaptionLabelOrDesign) {
  Load();
  struct Case {
    const char* control;
    const char* name;
  };
  const Case cases[] = {
      {"编辑框", "米(m)"},   // by the label beside it
      {"选择框", "记住"},    // a check box without a caption, by its label
      {"关闭按钮", "关闭"},  // a picture button, by what it does
      {"类别", "长度"},      // a button, by its caption
      {"确定按钮", "确定"}, {"链接", "主页"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AccessibleName(Widget(c.control)), QString::fromUtf8(c.name)) << c.control;
  }
  EXPECT_EQ(AccessibleLabel(Widget("编辑框")), Widget("标签"));
}

TEST_F(AccessibleToolkitTest, NamesFollowCaptionsThatCodeChanges) {
  Load();
  SetText(FindControl(window_, "标签"), "千米(km)");
  SetText(FindControl(window_, "类别"), "面积");
  // A name of its own stays: the caption of a picture button is only its glyph.
  SetText(FindControl(window_, "关闭按钮"), "X");
  EXPECT_EQ(AccessibleName(Widget("编辑框")), "千米(km)");
  EXPECT_EQ(AccessibleName(Widget("类别")), "面积");
  EXPECT_EQ(AccessibleName(Widget("关闭按钮")), "关闭");
}

TEST_F(AccessibleToolkitTest, EachCopiedRowIsNamedByItsOwnCopiedLabel) {
  // Copies are paired in the order they are made, label first or edit box first.
  Load();
  const Control metre = AddRow("米(m)", false);
  const Control inch = AddRow("英寸(in)", true);
  const Control foot = AddRow("A&B", false);
  EXPECT_EQ(AccessibleName(metre.object()), "米(m)");
  EXPECT_EQ(AccessibleName(inch.object()), "英寸(in)");
  // An ampersand in a unit's name is part of the name, not a mnemonic.
  EXPECT_EQ(AccessibleName(foot.object()), "A&B");
  QObject* label = AccessibleLabel(inch.object());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(static_cast<QLabel*>(label)->text(), "英寸(in)");
  EXPECT_EQ(AccessibleName(Widget("模板")), "");
}

TEST_F(AccessibleToolkitTest, TabFollowsReadingOrderWithRowsAfterTheirTemplate) {
  Load();
  AddRow("米(m)", false);
  AddRow("英寸(in)", false);
  // The window opened with the focus on its first control that takes input.
  EXPECT_EQ(Describe(QApplication::focusWidget()), "编辑框");
  const QStringList expected = {"编辑框", "类别", "模板[米(m)]", "模板[英寸(in)]",
                                "选择框", "链接", "确定按钮",    "关闭按钮"};
  EXPECT_EQ(TabWalk(), expected);
}

TEST_F(AccessibleToolkitTest, LinkLabelsTakeSpaceAndEnterWhileTheyAreLinks) {
  Load();
  QWidget* link = Widget("链接");
  link->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(link->hasFocus());
  QTest::keyClick(link, Qt::Key_Space);
  QTest::keyClick(link, Qt::Key_Return);
  EXPECT_EQ(link_presses_, 2);
  // Without the hand cursor it is plain text again: out of the walk, deaf to keys.
  SetMouseCursor(FindControl(window_, "链接"), Cursor::Default);
  EXPECT_EQ(link->focusPolicy(), Qt::NoFocus);
  Widget("选择框")->setFocus(Qt::TabFocusReason);
  QTest::keyClick(Widget("选择框"), Qt::Key_Tab);
  EXPECT_EQ(Describe(QApplication::focusWidget()), "确定按钮");
}

// ---- The program's windows.

constexpr const char* kConfig =
    "[通用设置]\n界面风格=1\n小数保留位数=6\n是否千位分隔=1\n记住最后类别=1\n最后类别=0\n"
    "跨度=300\n上下间隔=24\n每列个数=15\n"
    "[按钮的命名]\nunit1=长度单位\nunit2=面积\nunit17=体积流量\n"
    "[unit1]\n2=米(m),1\n3=千米(km),0.001\n4=英寸(in),39.37\n"
    "[unit2]\n52=平方米(m²),1\n";

class AccessibleWindowsTest : public MainWindowTest {
 protected:
  QWidget* Widget(Window* window, const std::string& name) {
    return qobject_cast<QWidget*>(FindControl(window, name).object());
  }
};

TEST_F(AccessibleWindowsTest, MainWindowControlsHaveNamesThatSayWhatTheyAre) {
  Start(kConfig);
  struct Case {
    const char* control;
    const char* name;
  };
  const Case cases[] = {
      {"控件_图形按钮_关闭", "关闭"},
      {"控件_图形按钮_最小化", "最小化"},
      {"超级按钮1", "设置"},
      {"超级按钮2", "帮助"},
      {"unit1", "长度单位"},  // renamed at start-up from the settings file
      {"unit2", "面积"},
      {"unit17", "体积流量"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AccessibleName(Widget(window(), c.control)), QString::fromUtf8(c.name)) << c.control;
  }
  // The rows of the page shown at start-up, each by its unit, its label as its buddy.
  const char* const units[] = {"米(m)", "千米(km)", "英寸(in)"};
  for (int i = 0; i < 3; ++i) {
    QLineEdit* row = Row(2 + i);
    ASSERT_NE(row, nullptr) << i;
    EXPECT_EQ(AccessibleName(row), QString::fromUtf8(units[i]));
    auto* label = qobject_cast<QLabel*>(AccessibleLabel(row));
    ASSERT_NE(label, nullptr) << i;
    EXPECT_EQ(label->text(), QString::fromUtf8(units[i]));
    EXPECT_EQ(label->buddy(), row);
  }
  // A page built later, and a caption changed while the program runs.
  ClickCategoryButton(2);
  ASSERT_NE(Row(52), nullptr);
  EXPECT_EQ(AccessibleName(Row(52)), "平方米(m²)");
  SetText(FindControl(window(), "unit2"), "面积单位");
  EXPECT_EQ(AccessibleName(Widget(window(), "unit2")), "面积单位");
}

TEST_F(AccessibleWindowsTest, MainWindowTabOrderFollowsReadingOrder) {
  // Rows (down their column), then the category buttons row by row as they stand, the links of
  // the bottom line, the title bar's picture buttons, the command buttons, the message link.
  Start(kConfig);
  ASSERT_EQ(QApplication::focusWidget(), Row(2));
  QStringList expected = {"编辑框1[2]", "编辑框1[3]", "编辑框1[4]"};
  for (int row = 0; row < 16; ++row) {
    expected << QStringLiteral("unit%1").arg(row + 1) << QStringLiteral("unit%1").arg(row + 17);
  }
  const auto link = [this](const char* name) {
    return MouseCursor(FindControl(window(), name)) == Cursor::Hand;
  };
  if (link("透明标签33")) expected << "透明标签33";
  if (link("广告透明标签")) expected << "广告透明标签";
  expected << "控件_图形按钮_最小化"
           << "控件_图形按钮_关闭"
           << "超级按钮1"
           << "超级按钮2";
  if (link("消息标签")) expected << "消息标签";
  EXPECT_EQ(TabWalk(), expected);
}

TEST_F(AccessibleWindowsTest, RowsOfAPageBuiltLaterTakeTheirPlaceInTheReadingOrder) {
  // The row templates of pages not shown at the start are made when the page is first built;
  // their rows still come before the category buttons, as on the page shown at the start.
  Start(kConfig);
  EXPECT_EQ(window()->findChild<QLineEdit*>("编辑框2"), nullptr);
  ClickCategoryButton(2);
  ASSERT_EQ(QApplication::focusWidget(), Row(52));
  const QStringList walk = TabWalk();
  ASSERT_GE(walk.size(), 3);
  EXPECT_EQ(walk.mid(0, 3), QStringList({"编辑框2[52]", "unit1", "unit17"}));
}

TEST_F(AccessibleWindowsTest, MainWindowMouseActionsHaveKeys) {
  Start(kConfig);
  SetTrayAvailableForTesting(false);
  // A category button takes Space: its page, with the first row taking the keys.
  QWidget* button = Widget(window(), "unit2");
  button->setFocus(Qt::TabFocusReason);
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(CurrentPage(FindControl(window(), "选择夹1")), 1);
  EXPECT_EQ(QApplication::focusWidget(), Row(52));
  // The settings button opens its menu, whose items have access keys.
  QWidget* settings = Widget(window(), "超级按钮1");
  settings->setFocus(Qt::TabFocusReason);
  QTest::keyClick(settings, Qt::Key_Space);
  QMenu* menu = window()->Menu(QString::fromUtf8(kGeneralMenu));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  menu->close();
  // The minimise picture button takes Space too.
  QWidget* minimise = Widget(window(), "控件_图形按钮_最小化");
  minimise->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(minimise->hasFocus());
  QTest::keyClick(minimise, Qt::Key_Space);
  EXPECT_TRUE(window()->isMinimized());
}

TEST_F(AccessibleWindowsTest, OptionsDialogBoxesAreNamedByTheirLabelsInReadingOrder) {
  Start(kConfig);
  WhileModal([this](Window* options) {
    options->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(options));
    struct Case {
      const char* control;
      const char* name;
    };
    const Case cases[] = {
        {"小数保留位数编辑框", "小数保留位数："},
        {"选择框1", "是否千位分隔"},
        {"选择框2", "记住退出时的页面"},
        {"选择框3", "按有效数字显示"},
        {"跨度编辑框", "输入框之间的横向距离"},
        {"上下间隔编辑框", "输入框之间的纵向距离"},
        {"每列个数编辑框", "每列的输入框个数"},
        {"unit5", "类别按钮5的名称"},
        {"单选框2", "绿水青山"},
        {"确认", "确定"},
        {"控件_图形按钮_关闭", "关闭"},
    };
    for (const Case& c : cases) {
      EXPECT_EQ(AccessibleName(Widget(options, c.control)), QString::fromUtf8(c.name)) << c.control;
    }
    // From the tabs through the page on show to the buttons below it; the radio buttons of a
    // group are left out of the comparison, Qt lets Tab stop at the checked one only.
    auto* tabs = Widget(options, kOptionsPages)->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    tabs->setFocus(Qt::TabFocusReason);
    QStringList walk = TabWalk();
    walk.removeIf([](const QString& name) { return name.startsWith(u"单选框"); });
    const QStringList expected = {"tabs", "选择框1", "选择框2", "小数保留位数编辑框", "选择框3",
                                  "确认", "取消",    "应用",    "控件_图形按钮_关闭"};
    EXPECT_EQ(walk, expected);
  });
  qobject_cast<QAction*>(FindControl(window(), "系统设置菜单").object())->trigger();
}

TEST_F(AccessibleWindowsTest, AboutWindowNamesItsButtonsAndItsLinkTakesEnter) {
  Start(kConfig);
  QStringList opened;
  SetAddressOpener([&opened](const QString& address) { opened.append(address); });
  WhileModal([this, &opened](Window* about) {
    about->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    ShowAboutHomepage(about, "http://127.0.0.1:9/velmora/");
    EXPECT_EQ(AccessibleName(Widget(about, "控件_图形按钮_关闭")), "关闭");
    EXPECT_EQ(AccessibleName(Widget(about, "确定")), "确定");
    // The window opens on OK, not on its link or its picture button.
    EXPECT_EQ(Describe(QApplication::focusWidget()), "确定");
    const QStringList expected = {"确定", "控件_图形按钮_关闭", kAboutHomepageLabel};
    EXPECT_EQ(TabWalk(), expected);
    QWidget* link = Widget(about, kAboutHomepageLabel);
    link->setFocus(Qt::TabFocusReason);
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(opened, QStringList{"http://127.0.0.1:9/velmora/"});
  });
  qobject_cast<QAction*>(FindControl(window(), "关于菜单").object())->trigger();
  SetAddressOpener({});
}

}  // namespace
}  // namespace velmora
