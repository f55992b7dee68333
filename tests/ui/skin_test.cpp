#include "ui/skin.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "text/gb18030.h"
#include "toolkit/window.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/secondary_windows.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

// Text that reads on light grey: every channel dark.
bool IsDark(Colour colour) {
  return (colour & 0xFF) < 0x80 && ((colour >> 8) & 0xFF) < 0x80 && ((colour >> 16) & 0xFF) < 0x80;
}

constexpr const char* kMainWindowCaptions[] = {"透明标签170", "消息标签", "透明标签33",
                                               "广告透明标签"};

struct StyleCase {
  const char* name;
  const char* stored;  // nullptr: no "界面风格" key
  int style;
  int row;  // row of the style table, 0: the designed look
};

const StyleCase kStyleCases[] = {
    {"Absent", nullptr, 1, 1},
    {"Blue", "1", 1, 1},
    {"Green", "2", 2, 2},
    {"Vista", "3", 3, 3},
    {"FractionTruncates", "2.9", 2, 2},
    {"Seven", "7", 7, 0},
    {"Zero", "0", 0, 0},
    {"NotANumber", "abc", 0, 0},
    {"Negative", "-1", -1, 0},
};

class InterfaceStyleTest : public MainWindowTest,
                           public ::testing::WithParamInterface<StyleCase> {};

TEST_P(InterfaceStyleTest, DressesTheMainWindowOrKeepsItsDesignedLook) {
  // State: "界面风格" as in the case.  Action: start.
  // Expected: styles 1 to 3 give their background, faces and a hidden menu bar; any other value
  // keeps the designed look (no background, no faces, the menu bar shown). The outline is cut
  // either way.
  std::string config = "[通用设置]\n";
  if (GetParam().stored != nullptr) config += std::string("界面风格=") + GetParam().stored + "\n";
  Start(config);
  EXPECT_EQ(state().settings.InterfaceStyle, GetParam().style);
  const Control self = WindowControl(window());
  const Control settings_button = FindControl(window(), "超级按钮1");
  const Control help_button = FindControl(window(), "超级按钮2");
  if (GetParam().row != 0) {
    const SkinStyle& style = kSkinStyles[GetParam().row - 1];
    EXPECT_EQ(Picture(self), style.background);
    EXPECT_EQ(Picture(settings_button), style.settings_face);
    EXPECT_EQ(Picture(help_button), style.help_face);
    EXPECT_FALSE(MenuVisible(window(), kGeneralMenu));
    EXPECT_FALSE(MenuVisible(window(), kHelpMenu));
    EXPECT_TRUE(window()->menu_bar()->isHidden());
  } else {
    EXPECT_EQ(Picture(self), "");
    EXPECT_EQ(Picture(settings_button), "");
    EXPECT_TRUE(MenuVisible(window(), kGeneralMenu));
    EXPECT_TRUE(MenuVisible(window(), kHelpMenu));
  }
  // The title and the notices: white on a background picture, dark on the plain light grey.
  for (const char* name : kMainWindowCaptions) {
    const Colour colour = TextColour(FindControl(window(), name));
    if (GetParam().row != 0) {
      EXPECT_EQ(colour, kWhite) << name;
    } else {
      EXPECT_TRUE(IsDark(colour)) << name << " " << colour;
    }
  }
  EXPECT_EQ(BackgroundColour(self), kLightGrey);
  EXPECT_EQ(BackgroundColour(FindControl(window(), kPageControlName)), kLightGrey);
  for (const char* name :
       {"透明标签170", "超级按钮1", "超级按钮2", "控件_图形按钮_最小化", "控件_图形按钮_关闭"}) {
    EXPECT_TRUE(Visible(FindControl(window(), name))) << name;
  }
  EXPECT_FALSE(window()->mask().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, InterfaceStyleTest, ::testing::ValuesIn(kStyleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, HiddenMenusStillOpenAsPopUps) {
  Start("[通用设置]\n界面风格=1\n");
  QTest::mouseClick(qobject_cast<QAbstractButton*>(FindControl(window(), "超级按钮1").object()),
                    Qt::LeftButton);
  QMenu* menu = window()->findChild<QMenu*>(kGeneralMenu);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->actions().size(), 5);
  menu->hide();
}

TEST_F(MainWindowTest, MenusAreMadeOnFirstUseAndKeepChoicesMadeBefore) {
  // The start does not make the pop-up menus of a skinned window: they are not in its first frame.
  Start("[通用设置]\n界面风格=1\n");
  EXPECT_TRUE(window()->findChildren<QMenu*>().isEmpty());
  EXPECT_EQ(window()->findChild<QMenuBar*>(), nullptr);
  EXPECT_FALSE(MenuVisible(window(), kGeneralMenu));

  // The skin hid both bar entries before the menus existed; showing one on the shown window makes
  // the menus with that choice, and the bar appears with only that entry.
  SetMenuVisible(window(), kGeneralMenu, true);
  auto* bar = window()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_TRUE(MenuVisible(window(), kGeneralMenu));
  EXPECT_FALSE(MenuVisible(window(), kHelpMenu));
  EXPECT_NE(window()->findChild<QMenu*>(kTrayMenu), nullptr);
}

TEST_F(MainWindowTest, AMenuItemAskedForByNameMakesTheMenus) {
  Start("[通用设置]\n界面风格=2\n");
  const Control item = FindControl(window(), "即时计算器菜单");
  ASSERT_TRUE(item);
  EXPECT_EQ(item.kind(), Kind::MenuItem);
  QMenu* menu = window()->findChild<QMenu*>(kGeneralMenu);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->actions().contains(static_cast<QAction*>(item.object())));
  // The bar stays hidden: the skin's choices were kept for the menus made later.
  EXPECT_TRUE(window()->menu_bar()->isHidden());
  EXPECT_FALSE(FindControl(window(), "没有这个控件"));
}

TEST_F(MainWindowTest, TheDesignedLookMakesItsMenuBarWhenShown) {
  Start("[通用设置]\n界面风格=7\n");
  auto* bar = window()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->actions().size(), 2);
  EXPECT_GT(bar->height(), 0);
}

TEST_F(MainWindowTest, RestylingAtRunTimeChangesTheBackgroundAtOnce) {
  // State: running in style 1.  Action: "界面风格" becomes 2 and the style routine runs, as the
  // options dialog's Apply does.  Expected: background and faces of style 2.
  Start("[通用设置]\n界面风格=1\n");
  WriteSetting(kGeneralSection, kInterfaceStyleKey, "2");
  ApplyInterfaceStyle(state().settings, window());
  EXPECT_EQ(state().settings.InterfaceStyle, 2);
  EXPECT_EQ(Picture(WindowControl(window())), kSkinStyles[1].background);
  EXPECT_EQ(Picture(FindControl(window(), "超级按钮2")), kSkinStyles[1].help_face);
}

TEST_F(MainWindowTest, SecondaryWindowCaptionsAreDarkOnlyWithoutABackgroundPicture) {
  // State: "界面风格" 1, then 7.  Action: each secondary window is built and styled.
  // Expected: its caption (the label designed in white at its top) is white over style 1's
  // picture and dark on the designed light grey.
  Start("[通用设置]\n界面风格=1\n");
  for (const char* stored : {"1", "7"}) {
    WriteSetting(kGeneralSection, kInterfaceStyleKey, stored);
    for (const SecondaryWindow& secondary : SecondaryWindows()) {
      SCOPED_TRACE(std::string(secondary.name) + " in style " + stored);
      QPointer<Window> shown = LoadWindow(secondary.design(), {}, nullptr, false);
      ASSERT_NE(shown, nullptr);
      Settings settings;
      ApplyInterfaceStyle(settings, shown);
      int captions = 0;
      for (const ControlDesign& control : secondary.design().controls) {
        if (control.kind != Kind::TransparentLabel || control.look.text_colour != kWhite) continue;
        ++captions;
        const Colour colour = TextColour(FindControl(shown, control.name));
        if (std::string(stored) == "1") {
          EXPECT_EQ(colour, kWhite) << control.name;
        } else {
          EXPECT_TRUE(IsDark(colour)) << control.name;
        }
      }
      EXPECT_GE(captions, 1);
      delete shown.data();
    }
  }
}

// A secondary window of the About window's size, with nothing in it.
const WindowDesign& SecondaryDesign() {
  static const WindowDesign design = [] {
    WindowDesign d;
    d.name = "AboutWindow";
    d.title = "About";
    d.width = 379;
    d.height = 227;
    return d;
  }();
  return design;
}

class SecondaryWindowSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteBytes(dir_ / "config.dat", Utf8ToGb18030("[通用设置]\n界面风格=3\n"));
    SetSettingsPath(dir_ / "config.dat");
    window_ = LoadWindow(SecondaryDesign(), {}, nullptr, false);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    delete window_.data();
    SetSettingsPath({});
    SetWindowOpacitySupportedForTesting(std::nullopt);
  }

  testing::TempDir dir_;
  QPointer<Window> window_;
};

TEST_F(SecondaryWindowSkinTest, RoundedAndTranslucentWhereThePlatformCanBe) {
  // State: a 379 x 227 secondary window.  Action: shape it with and without window opacity.
  // Expected: rounded corners both times; opacity 234 only where it is supported.
  for (const bool supported : {false, true}) {
    SetWindowOpacitySupportedForTesting(supported);
    ApplyWindowShape(window_);
    const QRegion outline = window_->mask();
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 379, 227));
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(378, 0)));
    EXPECT_FALSE(outline.contains(QPoint(0, 226)));
    EXPECT_TRUE(outline.contains(QPoint(190, 0)));
    EXPECT_TRUE(outline.contains(QPoint(190, 113)));
    EXPECT_EQ(WindowOpacity(window_), supported ? kSecondaryWindowOpacity : 255) << supported;
  }
}

TEST_F(SecondaryWindowSkinTest, StyleGivesOnlyTheBackground) {
  Settings settings;
  ApplyInterfaceStyle(settings, window_);
  EXPECT_EQ(settings.InterfaceStyle, 3);
  EXPECT_EQ(Picture(WindowControl(window_)), kSkinStyles[2].background);
}

}  // namespace
}  // namespace velmora
