#include "ui/about_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <string>
#include <vector>

#include "toolkit/private/pictures.h"
#include "ui/about_window_design.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"
#include "ui/secondary_windows.h"
#include "ui/skin.h"

namespace velmora {
namespace {

using testing::MainWindowTest;
using testing::WhileModal;

class AboutTest : public MainWindowTest {
 protected:
  void TearDown() override {
    SetAddressOpener({});
    MainWindowTest::TearDown();
  }

  // Chooses "&A.关于" and runs `body` on the window while it is open.
  void WithAbout(const std::function<void(Window*)>& body) {
    WhileModal(body);
    qobject_cast<QAction*>(FindControl(window(), "关于菜单").object())->trigger();
    EXPECT_EQ(FindWindow(kAboutWindow), nullptr);
  }

  static QWidget* Widget(Window* window, const char* name) {
    return qobject_cast<QWidget*>(FindControl(window, name).object());
  }
};

TEST_F(AboutTest, ShowsPictureVersionAndHomepageInTheStyleAndOkCloses) {
  // State: style 2.  Action: choose "&A.关于", then OK.
  // Expected: the style's background, rounded outline, the 48 x 48 picture, the version text and
  // the homepage label; OK closes it and the menu's call returns.
  Start("[通用设置]\n界面风格=2\n");
  notices().HomepageAddress = "http://127.0.0.1:9/velmora/";
  bool seen = false;
  WithAbout([&seen](Window* about) {
    seen = true;
    EXPECT_EQ(Picture(WindowControl(about)), kSkinStyles[1].background);
    EXPECT_FALSE(about->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(about->mask().contains(QPoint(190, 100)));
    const Control picture = FindControl(about, "图片框1");
    EXPECT_EQ(Picture(picture), kAboutPicture);
    EXPECT_EQ(LoadPicture(kAboutPicture).size(), QSize(48, 48));
    EXPECT_EQ(Text(FindControl(about, "透明标签1")), "维尔莫拉\n\n\nVersion:3.21 Final");
    const Control link = FindControl(about, kAboutHomepageLabel);
    EXPECT_TRUE(Visible(link));
    EXPECT_EQ(Text(link), "Homepage: http://127.0.0.1:9/velmora/");
    EXPECT_EQ(Text(FindControl(about, kAboutLinkBox)), "http://127.0.0.1:9/velmora/");
    QTest::mouseClick(qobject_cast<QAbstractButton*>(Widget(about, "确定")), Qt::LeftButton);
    EXPECT_TRUE(IsDestroying(about));
  });
  EXPECT_TRUE(seen);
}

TEST_F(AboutTest, EscapeClosesItLikeOk) {
  Start("[通用设置]\n界面风格=1\n");
  bool seen = false;
  WithAbout([&seen](Window* about) {
    seen = true;
    QTest::keyClick(Widget(about, "确定"), Qt::Key_Escape);
    EXPECT_TRUE(IsDestroying(about));
  });
  EXPECT_TRUE(seen);
}

TEST_F(AboutTest, HomepageLabelOpensTheAddressOfItsLinkBox) {
  Start("");
  std::vector<QString> opened;
  SetAddressOpener([&opened](const QString& address) { opened.push_back(address); });
  WithAbout([&opened](Window* about) {
    ShowAboutHomepage(about, "http://127.0.0.1:9/velmora/");
    QTest::mouseClick(Widget(about, kAboutHomepageLabel), Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<QString>{"http://127.0.0.1:9/velmora/"});
  });
}

TEST_F(AboutTest, WithoutAHomepageTheLabelIsHiddenAndNothingOpens) {
  Start("");
  std::vector<QString> opened;
  SetAddressOpener([&opened](const QString& address) { opened.push_back(address); });
  WithAbout([&opened](Window* about) {
    ShowAboutHomepage(about, "");
    EXPECT_FALSE(Visible(FindControl(about, kAboutHomepageLabel)));
    EXPECT_EQ(Text(FindControl(about, kAboutLinkBox)), "");
    // Even a click that reached the hidden label's handler has nothing to open.
    OpenAddress(FindControl(about, kAboutLinkBox));
    EXPECT_TRUE(opened.empty());
  });
}

TEST_F(AboutTest, WhileOpenTheMenuCannotOpenItAgainAndAfterwardsItOpensFresh) {
  // State: the About window open.  Action: click the help button of the main window; close
  // with the close button; choose the item again.  Expected: no menu and no second window while
  // it is open; afterwards a new window, not the old one.
  Start("");
  QPointer<Window> first;
  WithAbout([this, &first](Window* about) {
    first = about;
    testing::UserClick(Widget(window(), "超级按钮2"));
    EXPECT_FALSE(window()->findChild<QMenu*>(kHelpMenu)->isVisible());
    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == kAboutWindow && widget->isVisible()) ++open;
    }
    EXPECT_EQ(open, 1);
    QTest::mouseClick(qobject_cast<QAbstractButton*>(Widget(about, "控件_图形按钮_关闭")),
                      Qt::LeftButton);
  });
  EXPECT_TRUE(first.isNull());
  bool fresh = false;
  WithAbout([&fresh](Window* about) { fresh = about->isVisible() && !IsDestroying(about); });
  EXPECT_TRUE(fresh);
}

}  // namespace
}  // namespace velmora
