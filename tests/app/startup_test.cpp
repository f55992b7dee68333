#include "app/startup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPointer>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

// Two units on every page that a case may start on or show.
std::string UnitSections() {
  std::string text;
  for (const int page : {1, 4, 12, 32}) {
    const int base = PageBase(page);
    text += "[unit" + std::to_string(page) + "]\n" + std::to_string(base + 1) + "=甲,1\n" +
            std::to_string(base + 2) + "=乙,2\n";
  }
  return text;
}

std::string Config(std::string_view general) {
  std::string config = "[通用设置]\n跨度=300\n上下间隔=24\n每列个数=15\n";
  config.append(general);
  config.append(UnitSections());
  return config;
}

int ShownPage(Window* window) {
  return CurrentPage(FindControl(window, kPageControlName));
}

struct RememberCase {
  const char* name;
  const char* general;
  int built_page;  // 0: no page built
};

const RememberCase kRememberCases[] = {
    {"RememberedTemperaturePage", "记住最后类别=1\n最后的类别=3\n", 4},
    {"RememberedFirstPage", "记住最后类别=1\n最后的类别=0\n", 1},
    {"RememberedLastPage", "记住最后类别=1\n最后的类别=31\n", 32},
    {"RememberedFractionTruncates", "记住最后类别=1\n最后的类别=3.9\n", 4},
    {"RememberingOff", "记住最后类别=0\n最后的类别=3\n", 0},
    {"RememberingNotExactlyOne", "记住最后类别=2\n最后的类别=3\n", 0},
    {"PageBeyondTheLast", "记住最后类别=1\n最后的类别=32\n", 0},
    {"NegativePage", "记住最后类别=1\n最后的类别=-1\n", 0},
    {"PageNotANumber", "记住最后类别=1\n最后的类别=abc\n", 1},
    {"NoKeysAtAll", "", 0},
};

class RememberedPageTest : public MainWindowTest,
                           public ::testing::WithParamInterface<RememberCase> {};

TEST_P(RememberedPageTest, StartsOnTheRememberedPageOrOnNone) {
  // State: config.dat with the case's remembering keys.  Action: start.
  // Expected: the remembered page on show with its rows built, or no page built at all.
  Start(Config(GetParam().general));
  for (int page = 1; page <= kCategoryCount; ++page) {
    EXPECT_EQ(state().PageBuilt[page], page == GetParam().built_page) << "page " << page;
  }
  if (GetParam().built_page != 0) {
    EXPECT_EQ(ShownPage(window()), GetParam().built_page - 1);
    EXPECT_EQ(RowsOnPage(GetParam().built_page).size(), 2);
  } else {
    EXPECT_EQ(ShownPage(window()), 0);
    EXPECT_TRUE(RowsOnPage(1).isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RememberedPageTest, ::testing::ValuesIn(kRememberCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, QuitRemembersThePageOnShow) {
  // State: remembering on, started on page 4.  Action: show page 12, quit.
  // Expected: "最后的类别" holds "11".
  Start(Config("记住最后类别=1\n最后的类别=3\n"));
  ClickCategoryButton(12);
  Quit();
  EXPECT_EQ(ReadSetting(kGeneralSection, kLastCategoryKey), "11");
}

TEST_F(MainWindowTest, QuitRemembersTheRestoredPageWhenNothingWasClicked) {
  Start(Config("记住最后类别=1\n最后的类别=31\n"));
  Quit();
  EXPECT_EQ(ReadSetting(kGeneralSection, kLastCategoryKey), "31");
}

TEST_F(MainWindowTest, QuitWithRememberingOffLeavesTheFileUntouched) {
  // State: remembering off.  Action: show page 12, quit.
  // Expected: config.dat is byte for byte as before.
  Start(Config("记住最后类别=0\n最后的类别=3\n"));
  const std::string before = ConfigBytes();
  ClickCategoryButton(12);
  Quit();
  EXPECT_EQ(ConfigBytes(), before);
}

TEST_F(MainWindowTest, RememberingSwitchedOnDuringTheRunSavesThePageAtQuit) {
  // State: started with remembering off.  Action: the options dialog turns it on in memory,
  // page 12 is shown, quit.  Expected: "最后的类别" holds "11".
  Start(Config("记住最后类别=0\n最后的类别=3\n"));
  state().settings.RememberLastCategory = 1;
  ClickCategoryButton(12);
  Quit();
  EXPECT_EQ(ReadSetting(kGeneralSection, kLastCategoryKey), "11");
}

TEST_F(MainWindowTest, QuitFromTheTrayMenuWhileHiddenSavesThePageAndRemovesTheIcon) {
  // State: remembering on, page 12 shown, window minimised to the tray.
  // Action: "&X.退出" of the tray menu.  Expected: the page is saved, the icon is gone.
  SetTrayAvailableForTesting(true);
  Start(Config("记住最后类别=1\n最后的类别=0\n"));
  ClickCategoryButton(12);
  QTest::mouseClick(qobject_cast<QWidget*>(FindControl(window(), "控件_图形按钮_最小化").object()),
                    Qt::LeftButton);
  ASSERT_FALSE(window()->isVisible());
  ASSERT_TRUE(TrayIconShown(window()));
  QPointer<QSystemTrayIcon> tray = window()->findChild<QSystemTrayIcon*>();
  ASSERT_NE(tray, nullptr);
  qobject_cast<QAction*>(FindControl(window(), "托盘退出菜单").object())->trigger();
  EXPECT_FALSE(tray != nullptr && tray->isVisible());
  Quit();
  EXPECT_EQ(ReadSetting(kGeneralSection, kLastCategoryKey), "11");
}

TEST_F(MainWindowTest, StartAddsTheSystemMenuToTheShownWindow) {
  Start(Config(""));
  EXPECT_TRUE(HasSystemMenu(window()));
  EXPECT_TRUE(window()->isVisible());
  EXPECT_TRUE(window()->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(MainWindowTest, StartCutsTheRoundedOutlineOfTheFixedSize) {
  Start(Config(""));
  const QRegion outline = window()->mask();
  ASSERT_FALSE(outline.isEmpty());
  EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 946, 493));
  EXPECT_FALSE(outline.contains(QPoint(0, 0)));
  EXPECT_FALSE(outline.contains(QPoint(945, 492)));
  EXPECT_TRUE(outline.contains(QPoint(10, 0)));
  EXPECT_TRUE(outline.contains(QPoint(473, 246)));
  // The main window is never translucent.
  EXPECT_EQ(WindowOpacity(window()), 255);
}

TEST_F(MainWindowTest, DamagedSettingsFileStillStarts) {
  // State: config.dat of binary junk.  Action: start.  Expected: the window comes up with no
  // page built and empty captions; nothing is written.
  StartWithFileBytes(std::string_view("\xff\xfe[\x00\x01=\n\x80\x80", 9));
  const std::string before = ConfigBytes();
  EXPECT_TRUE(window()->isVisible());
  EXPECT_EQ(state().NextRowNumber, 0);
  EXPECT_EQ(Text(FindControl(window(), "unit1")), "");
  Quit();
  EXPECT_EQ(ConfigBytes(), before);
}

}  // namespace
}  // namespace velmora
