#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <string>
#include <vector>

#include "app/startup.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/skin.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

constexpr const char* kConfig =
    "[通用设置]\n小数保留位数=3\n是否千位分隔=1\n跨度=300\n上下间隔=24\n每列个数=15\n"
    "[unit1]\n2=米,1\n3=千米,0.001\n";

TEST_F(MainWindowTest, StartReadsTheSettingsAndShowsTheWindow) {
  Start(kConfig);
  EXPECT_TRUE(window()->isVisible());
  EXPECT_EQ(window()->objectName(), "MainWindow");
  EXPECT_EQ(window()->pos(), QPoint(50, 50));
  EXPECT_EQ(state().settings.DecimalPlaces, 3);
  EXPECT_TRUE(state().settings.ThousandsSeparators);
  EXPECT_EQ(state().settings.RowsPerColumn, 15);
  // No category is loaded yet: the design's first page shows no rows.
  EXPECT_TRUE(RowsOnPage(1).isEmpty());
  EXPECT_EQ(state().NextRowNumber, 0);
}

// The window's icon offers every size the desktop may ask for, and the background is kept at the
// window's size, drawn from the style's picture.
TEST_F(MainWindowTest, IconAtEverySizeAndBackgroundAtTheWindowSize) {
  Start(kConfig);
  const QList<QSize> sizes = window()->windowIcon().availableSizes();
  for (const int side : {16, 32, 48, 72, 128}) {
    EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
  }
  const QImage shown = window()->grab().toImage();
  const QImage picture(QString::fromUtf8(kSkinStyles[0].background));
  // Places no control covers: above the pages and beside them.
  for (const QPoint place : {QPoint(700, 10), QPoint(10, 300)}) {
    EXPECT_EQ(shown.pixel(place), picture.pixel(place)) << place.x() << "," << place.y();
  }
}

class ExitTest : public MainWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ExitTest, EndsTheMainWindow) {
  // State: the running main window.  Action: the exit item or the close button.
  // Expected: the window is hidden at once and deleted when the event is done.
  Start(kConfig);
  QPointer<Window> window = this->window();
  const Control way_out = FindControl(window, GetParam());
  ASSERT_TRUE(way_out);
  if (auto* action = qobject_cast<QAction*>(way_out.object())) {
    action->trigger();
  } else {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(way_out.object()), Qt::LeftButton);
  }
  EXPECT_TRUE(IsDestroying(window));
  EXPECT_FALSE(window->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

INSTANTIATE_TEST_SUITE_P(WaysOut, ExitTest,
                         ::testing::Values("退出菜单", "托盘退出菜单", "控件_图形按钮_关闭"));

TEST_F(MainWindowTest, SettingsAndHelpButtonsOpenTheirMenusBelowThemselves) {
  // State: the window at its design position (50, 50).
  // Action: click "设置", then "帮助".
  // Expected: "&General" opens at (74, 98), "&Help" at (122, 98).
  Start(kConfig);
  const struct {
    const char* button;
    const char* menu;
    QPoint at;
  } cases[] = {{"超级按钮1", "&General", {74, 98}}, {"超级按钮2", "&Help", {122, 98}}};
  for (const auto& c : cases) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>(FindControl(window(), c.button).object()),
                      Qt::LeftButton);
    QMenu* menu = window()->findChild<QMenu*>(c.menu);
    ASSERT_NE(menu, nullptr) << c.menu;
    EXPECT_TRUE(menu->isVisible()) << c.menu;
    EXPECT_EQ(menu->pos(), c.at) << c.menu;
    menu->hide();
  }
}

TEST_F(MainWindowTest, LinkLabelsOpenTheirAddressesThroughTheLinkBox) {
  // State: a home page and an advert address, the message label showing a fetched notice.
  // Action: click the message, ownership and advert labels.
  // Expected: the home page, the home page, the advert address; every label points with a hand.
  notices().HomepageAddress = "http://home.example/";
  notices().AdvertAddress = "http://games.example/new";
  Start(kConfig);
  SetText(FindControl(window(), "消息标签"), QStringLiteral("新版本发布"));
  std::vector<QString> opened;
  SetAddressOpener([&opened](const QString& address) { opened.push_back(address); });
  for (const char* label : {"消息标签", "透明标签33", "广告透明标签"}) {
    EXPECT_EQ(MouseCursor(FindControl(window(), label)), Cursor::Hand) << label;
    QTest::mousePress(qobject_cast<QWidget*>(FindControl(window(), label).object()),
                      Qt::LeftButton);
  }
  SetAddressOpener({});
  EXPECT_EQ(opened, (std::vector<QString>{"http://home.example/", "http://home.example/",
                                          "http://games.example/new"}));
  EXPECT_EQ(Text(FindControl(window(), "超级链接框1")), "http://games.example/new");
}

TEST_F(MainWindowTest, LabelsWithoutAnAddressAreNoLinks) {
  // State: no home page, an advert address.  Action: click all three labels.
  // Expected: only the advert label points with a hand and opens anything.
  notices().AdvertAddress = "http://games.example/";
  Start(kConfig);
  std::vector<QString> opened;
  SetAddressOpener([&opened](const QString& address) { opened.push_back(address); });
  for (const char* label : {"消息标签", "透明标签33", "广告透明标签"}) {
    QTest::mousePress(qobject_cast<QWidget*>(FindControl(window(), label).object()),
                      Qt::LeftButton);
  }
  SetAddressOpener({});
  EXPECT_EQ(opened, std::vector<QString>{"http://games.example/"});
  EXPECT_EQ(MouseCursor(FindControl(window(), "消息标签")), Cursor::Default);
  EXPECT_EQ(MouseCursor(FindControl(window(), "透明标签33")), Cursor::Default);
  EXPECT_EQ(MouseCursor(FindControl(window(), "广告透明标签")), Cursor::Hand);
}

TEST_F(MainWindowTest, TextsUseTheCjkFontAtTheirDesignSizes) {
  Start(kConfig);
  ClickCategoryButton(1);
  const QLabel* unit_name = nullptr;
  for (const QLabel* label : window()->findChildren<QLabel*>()) {
    if (label->text() == "千米") unit_name = label;
  }
  ASSERT_NE(unit_name, nullptr);
  const QFontInfo unit_font(unit_name->font());
  EXPECT_EQ(unit_font.family(), "Noto Sans CJK SC");
  EXPECT_EQ(unit_font.pixelSize(), 12);
  const QFontInfo title(
      qobject_cast<QWidget*>(FindControl(window(), "透明标签170").object())->font());
  EXPECT_EQ(title.family(), "Noto Sans CJK SC");
  EXPECT_EQ(title.pixelSize(), 16);
  EXPECT_EQ(QFontInfo(Row(2)->font()).family(), "Noto Sans CJK SC");
}

TEST(MainWindowCopyTest, CopiesOfTheTemplatesRaiseTheRowHandlersWithTheirRowNumbers) {
  // State: the main window with recording handlers for the row events.
  // Action: copy 编辑框3 as row 102 and 编辑框4 as row 152; the program writes into the first
  // copy, then the user types into each copy.
  // Expected: the program's write raises no row handler; typing runs the page-3 handler with
  // argument 102 and the temperature handler with 152, each naming its copy as the source.
  ProgramState state;
  HandlerTable handlers = MainWindowHandlers(state);
  struct Call {
    std::string handler;
    int argument;
    QObject* source;
  };
  std::vector<Call> calls;
  handlers[kOnRowEdited] = [&calls](const EventArgs& e) {
    calls.push_back({kOnRowEdited, e.argument, e.source.object()});
  };
  handlers[kOnTemperatureEdited] = [&calls](const EventArgs& e) {
    calls.push_back({kOnTemperatureEdited, e.argument, e.source.object()});
  };
  QPointer<Window> window = LoadWindow(MainWindowDesign(), std::move(handlers), nullptr, false);
  const Control template3 = FindControl(window, "编辑框3");
  const Control copy3 = CopyControl(template3, 102);
  SetTag(copy3, "102");
  const Control copy4 = CopyControl(FindControl(window, "编辑框4"), 152);
  SetText(copy3, "1");
  EXPECT_TRUE(calls.empty());
  for (const Control& copy : {copy3, copy4}) {
    SetVisible(copy, true);
    QTest::keyClicks(qobject_cast<QWidget*>(copy.object()), "2");
  }
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].handler, kOnRowEdited);
  EXPECT_EQ(calls[0].argument, 102);
  EXPECT_EQ(calls[0].source, copy3.object());
  EXPECT_NE(calls[0].source, template3.object());
  EXPECT_EQ(calls[1].handler, kOnTemperatureEdited);
  EXPECT_EQ(calls[1].argument, 152);
  EXPECT_EQ(calls[1].source, copy4.object());
  delete window.data();
}

}  // namespace
}  // namespace velmora
