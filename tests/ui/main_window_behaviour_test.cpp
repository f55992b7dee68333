#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWindow>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/main_window.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

constexpr const char* kConfig =
    "[通用设置]\n小数保留位数=6\n跨度=300\n上下间隔=24\n每列个数=15\n"
    "[unit1]\n2=米,1\n3=千米,0.001\n";

QWidget* Widget(Window* window, const char* name) {
  return qobject_cast<QWidget*>(FindControl(window, name).object());
}

class TrayTest : public MainWindowTest {
 protected:
  void StartWithTray() {
    SetTrayAvailableForTesting(true);
    Start(kConfig);
    ClickCategoryButton(1);
    TypeInto(2, "5");
  }
  void Minimise() { QTest::mouseClick(Widget(window(), "控件_图形按钮_最小化"), Qt::LeftButton); }
  QSystemTrayIcon* Tray() { return window()->findChild<QSystemTrayIcon*>(); }
  void ClickTray(QSystemTrayIcon::ActivationReason reason) {
    ASSERT_NE(Tray(), nullptr);
    emit Tray()->activated(reason);
  }
};

TEST_F(TrayTest, MinimiseHidesTheWindowBehindAnIconWithItsTip) {
  StartWithTray();
  Minimise();
  EXPECT_FALSE(window()->isVisible());
  ASSERT_TRUE(TrayIconShown(window()));
  EXPECT_EQ(Tray()->toolTip(), "Velmora");
  EXPECT_FALSE(Tray()->icon().isNull());
}

TEST_F(TrayTest, OpenFromTheTrayMenuComesBackAsAClickOnTheIconDoes) {
  // State: minimised to the tray, 5 m typed.  Action: "&O.打开主界面" from the tray menu; then
  // minimised again and a primary click on the icon.  Expected: both times the window returns
  // restored with its values and the icon goes.
  StartWithTray();
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"tray menu",
       [this] {
         qobject_cast<QAction*>(FindControl(window(), "打开主界面菜单").object())->trigger();
       }},
      {"primary click", [this] { ClickTray(QSystemTrayIcon::Trigger); }},
  };
  for (const auto& [name, restore] : ways) {
    SCOPED_TRACE(name);
    Minimise();
    ASSERT_TRUE(TrayIconShown(window()));
    restore();
    EXPECT_TRUE(window()->isVisible());
    EXPECT_FALSE(window()->isMinimized());
    EXPECT_FALSE(TrayIconShown(window()));
    EXPECT_EQ(RowText(3), "0.005");
  }
}

TEST_F(TrayTest, DoubleClickIsAPrimaryActionToo) {
  StartWithTray();
  Minimise();
  ClickTray(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(window()->isVisible());
  EXPECT_FALSE(TrayIconShown(window()));
  EXPECT_EQ(RowText(3), "0.005");
}

TEST_F(TrayTest, SecondaryClickOpensTheTrayMenuAtThePointer) {
  StartWithTray();
  Minimise();
  QCursor::setPos(300, 320);
  ClickTray(QSystemTrayIcon::Context);
  QMenu* menu = window()->findChild<QMenu*>(kTrayMenu);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->pos(), QPoint(300, 320));
  EXPECT_FALSE(window()->isVisible());
  EXPECT_TRUE(TrayIconShown(window()));
  menu->hide();
}

TEST_F(MainWindowTest, WithoutANotificationAreaMinimiseKeepsTheWindowReachable) {
  // State: no system tray.  Action: the minimise button.  Expected: an ordinary minimised
  // window, no tray icon.
  SetTrayAvailableForTesting(false);
  Start(kConfig);
  QTest::mouseClick(Widget(window(), "控件_图形按钮_最小化"), Qt::LeftButton);
  EXPECT_TRUE(window()->isMinimized());
  EXPECT_FALSE(TrayIconShown(window()));
  RestoreWindow(window());
  EXPECT_FALSE(window()->isMinimized());
  EXPECT_TRUE(window()->isVisible());
}

TEST_F(MainWindowTest, OpenFromTheTrayOnceAfterAnEarlierTaskBarMinimise) {
  // State: minimised to the task bar while no tray was there, restored from the task bar; then
  // a tray appears and the window is minimised to it.
  // Action: "&O.打开主界面" once.
  // Expected: the window is back, shown and not minimised, with its values.
  SetTrayAvailableForTesting(false);
  Start(kConfig);
  ClickCategoryButton(1);
  TypeInto(2, "5");
  QWidget* minimise = Widget(window(), "控件_图形按钮_最小化");
  QTest::mouseClick(minimise, Qt::LeftButton);
  ASSERT_TRUE(window()->isMinimized());
  window()->setWindowState(Qt::WindowNoState);  // the task bar's restore
  SetTrayAvailableForTesting(true);
  QTest::mouseClick(minimise, Qt::LeftButton);
  ASSERT_FALSE(window()->isVisible());
  qobject_cast<QAction*>(FindControl(window(), "打开主界面菜单").object())->trigger();
  EXPECT_TRUE(window()->isVisible());
  EXPECT_FALSE(window()->isMinimized());
  EXPECT_FALSE(window()->windowHandle()->windowStates().testFlag(Qt::WindowMinimized));
  EXPECT_EQ(RowText(3), "0.005");
}

TEST_F(MainWindowTest, MenusOpenBelowTheirButtonsWhereverTheWindowStands) {
  // State: the window moved to (100, 200).  Action: click "设置", then "帮助".
  // Expected: "&General" at (124, 248), "&Help" at (172, 248).
  Start(kConfig);
  window()->move(100, 200);
  const struct {
    const char* button;
    const char* menu;
    QPoint at;
  } cases[] = {{"超级按钮1", kGeneralMenu, {124, 248}}, {"超级按钮2", kHelpMenu, {172, 248}}};
  for (const auto& c : cases) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(Widget(window(), c.button)), Qt::LeftButton);
    QMenu* menu = window()->findChild<QMenu*>(c.menu);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible()) << c.menu;
    EXPECT_EQ(menu->pos(), c.at) << c.menu;
    menu->hide();
  }
}

struct DragCase {
  const char* name;
  QPoint grip;  // in the window's client area
};

const DragCase kDragCases[] = {
    {"Window", {500, 482}},
    {"PageControl", {400, 300}},
    {"TitleLabel", {300, 8}},
};

class DragTest : public MainWindowTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(DragTest, WindowFollowsThePointerExactlyUntilTheButtonIsUp) {
  // State: window at (100, 200) with 5 m typed.  Action: left button down on the surface, the
  // pointer moves by (37, -21), then (-60, 45) in all, the button goes up, the pointer moves on.
  // Expected: the window keeps the grip under the pointer while the button is down, stops after,
  // and the rows keep their values.
  Start(kConfig);
  ClickCategoryButton(1);
  TypeInto(2, "5");
  window()->move(100, 200);
  const QPoint grip = GetParam().grip;
  const QPoint pointer = QPoint(100, 200) + grip;
  QCursor::setPos(pointer);
  QTest::mousePress(window(), Qt::LeftButton, {}, grip);
  EXPECT_EQ(drag().x, grip.x());
  EXPECT_EQ(drag().y, grip.y());
  EXPECT_EQ(TimerInterval(FindControl(window(), kDragTimer)), 1);

  QCursor::setPos(pointer + QPoint(37, -21));
  QTRY_COMPARE(window()->pos(), QPoint(137, 179));
  QCursor::setPos(pointer + QPoint(-60, 45));
  QTRY_COMPARE(window()->pos(), QPoint(40, 245));
  EXPECT_EQ(window()->size(), QSize(946, 493));

  QTest::mouseRelease(window(), Qt::LeftButton, {}, grip);
  EXPECT_EQ(TimerInterval(FindControl(window(), kDragTimer)), 0);
  QCursor::setPos(pointer + QPoint(200, 100));
  QTest::qWait(30);
  EXPECT_EQ(window()->pos(), QPoint(40, 245));
  EXPECT_EQ(RowText(3), "0.005");
}

INSTANTIATE_TEST_SUITE_P(Surfaces, DragTest, ::testing::ValuesIn(kDragCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RotationCase {
  const char* name;
  const char* label;
  const char* timer;
  std::vector<std::string> NoticeState::*texts;
  int NoticeState::*index;
};

const RotationCase kRotationCases[] = {
    {"Messages", kMessageLabel, kMessageTimer, &NoticeState::MessageTexts,
     &NoticeState::MessageIndex},
    {"Adverts", kAdvertLabel, kAdvertTimer, &NoticeState::AdvertTexts, &NoticeState::AdvertIndex},
};

class RotationTest : public MainWindowTest, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(RotationTest, ShowsTheTextsInTurnWithTheFirstTwiceAfterTheLast) {
  // State: three texts stored, the display timer started at 1 ms as the notice fetch does.
  // Action: the ticks.  Expected: A, then every 3 s B, C, A, A, B, C, A, A; markup stays text.
  Start(kConfig);
  const RotationCase& c = GetParam();
  notices().*c.texts = {"甲 A", "乙 <b>B</b>", "丙 C"};
  auto* label = qobject_cast<QLabel*>(Widget(window(), c.label));
  ASSERT_NE(label, nullptr);
  const Control timer = FindControl(window(), c.timer);
  SetTimerInterval(timer, 1);
  QTRY_COMPARE(label->text(), QString("甲 A"));
  EXPECT_EQ(TimerInterval(timer), kNoticeInterval);

  std::vector<std::string> shown = {label->text().toStdString()};
  for (int tick = 0; tick < 8; ++tick) {
    window()->Raise(timer.object(), Event::Tick);
    shown.push_back(label->text().toStdString());
  }
  const std::vector<std::string> expected = {"甲 A",        "乙 <b>B</b>", "丙 C", "甲 A", "甲 A",
                                             "乙 <b>B</b>", "丙 C",        "甲 A", "甲 A"};
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST_P(RotationTest, AnEmptyListLeavesTheDesignedText) {
  Start(kConfig);
  const RotationCase& c = GetParam();
  const QString designed = Text(FindControl(window(), c.label));
  window()->Raise(FindControl(window(), c.timer).object(), Event::Tick);
  EXPECT_EQ(Text(FindControl(window(), c.label)), designed);
  EXPECT_EQ(notices().*c.index, 0);
}

INSTANTIATE_TEST_SUITE_P(Labels, RotationTest, ::testing::ValuesIn(kRotationCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
