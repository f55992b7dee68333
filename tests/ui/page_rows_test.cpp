#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <string>

#include "ui/main_window_fixture.h"
#include "units/category.h"
#include "units/unit_row.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

// A settings file whose page 1 lists `first_page_units` units and page 2 thirty, laid out by
// `layout` ("跨度=…" lines of the general section).
std::string PagesConfig(int first_page_units, const std::string& layout) {
  std::string text = "[通用设置]\n记住最后类别=1\n最后的类别=0\n小数保留位数=4\n" + layout;
  text += "[unit1]\n";
  for (int i = 1; i <= first_page_units; ++i) {
    text += std::to_string(PageBase(1) + i) + "=单位" + std::to_string(i) + ",1\n";
  }
  text += "[unit2]\n";
  for (int i = 1; i <= 30; ++i) {
    text += std::to_string(PageBase(2) + i) + "=面积" + std::to_string(i) + ",1\n";
  }
  return text;
}

constexpr const char* kShippedLayout = "跨度=372\n上下间隔=24\n每列个数=15\n";

class PageRowsTest : public MainWindowTest {
 protected:
  QWidget* PageControl() {
    return qobject_cast<QWidget*>(FindControl(window(), kPageControlName).object());
  }
  // The scrolling view of page `page`: the area that holds the page's panel.
  QAbstractScrollArea* View(int page) {
    QWidget* panel = PageControl()->findChild<QWidget*>(QStringLiteral("选择夹1_page%1").arg(page));
    if (panel == nullptr) return nullptr;
    for (QWidget* up = panel->parentWidget(); up != nullptr; up = up->parentWidget()) {
      if (auto* area = qobject_cast<QAbstractScrollArea*>(up)) return area;
    }
    return nullptr;
  }
  QLabel* LabelOf(QWidget* row) {
    for (QLabel* label : row->parentWidget()->findChildren<QLabel*>()) {
      if (label->buddy() == row) return label;
    }
    return nullptr;
  }
  // Whether the widget lies whole inside what the page control shows of its page.
  bool Shown(int page, QWidget* widget) {
    QAbstractScrollArea* view = View(page);
    const QRect seen = view->viewport()->rect();
    const QRect place(widget->mapTo(view->viewport(), QPoint(0, 0)), widget->size());
    return seen.contains(place);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // Lets the views lay out their scroll bars, as the event loop does before the user looks.
  void Settle() { QCoreApplication::processEvents(); }
};

TEST_F(PageRowsTest, APageWhoseRowsFitKeepsEveryRowInItsPlaceWithoutScrollBars) {
  // State: 30 units with the shipped layout (two columns of 15).  Action: show the page.
  // Expected: no scroll bar; every row stands where the layout puts it, relative to the page
  // control, and the page's panel is exactly the page control's area.
  Start(PagesConfig(30, kShippedLayout));
  ClickCategoryButton(2);
  Settle();
  QAbstractScrollArea* view = View(2);
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(view->verticalScrollBar()->isVisible());
  EXPECT_EQ(view->viewport()->geometry(), QRect(QPoint(0, 0), PageControl()->size()));
  for (int k = 0; k < 30; ++k) {
    QLineEdit* row = Row(PageBase(2) + 1 + k);
    ASSERT_NE(row, nullptr) << k;
    const RowPlace place = PlaceOfRow(k, 372, 24, 15);
    EXPECT_EQ(row->mapTo(PageControl(), QPoint(0, 0)), QPoint(place.edit_left, place.top)) << k;
    EXPECT_EQ(LabelOf(row)->mapTo(PageControl(), QPoint(0, 0)), QPoint(place.label_left, place.top))
        << k;
    EXPECT_TRUE(Shown(2, row)) << k;
  }
}

struct LayoutCase {
  const char* name;
  const char* layout;
  bool sideways;  // a horizontal scroll bar
  bool upright;   // a vertical one
};

class PageRowsLayoutTest : public PageRowsTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(PageRowsLayoutTest, DownReachesEveryRowAndShowsItWithItsName) {
  // State: 49 units, more than the layout shows at once.  Action: Down from the first row to
  // the last, then Up back.  Expected: scroll bars only the way the rows reach past; each
  // focused row and its unit name are wholly shown; back at the first row the view is at its
  // start again.
  Start(PagesConfig(49, GetParam().layout));
  QAbstractScrollArea* view = View(1);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->horizontalScrollBar()->isVisible(), GetParam().sideways);
  EXPECT_EQ(view->verticalScrollBar()->isVisible(), GetParam().upright);
  ASSERT_EQ(QApplication::focusWidget(), Row(PageBase(1) + 1));
  for (int unit = 2; unit <= kMaxUnitsPerPage; ++unit) {
    Key(Qt::Key_Down);
    QLineEdit* row = Row(PageBase(1) + unit);
    ASSERT_EQ(QApplication::focusWidget(), row) << unit;
    EXPECT_TRUE(Shown(1, row)) << unit;
    EXPECT_TRUE(Shown(1, LabelOf(row))) << unit;
  }
  for (int unit = kMaxUnitsPerPage - 1; unit >= 1; --unit) Key(Qt::Key_Up);
  ASSERT_EQ(QApplication::focusWidget(), Row(PageBase(1) + 1));
  EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PageRowsLayoutTest,
    ::testing::Values(
        LayoutCase{"Shipped", kShippedLayout, true, false},
        LayoutCase{"OneLongColumn", "跨度=372\n上下间隔=24\n每列个数=49\n", false, true},
        LayoutCase{"BothWays", "跨度=500\n上下间隔=30\n每列个数=20\n", true, true},
        LayoutCase{"TwoTallColumns", "跨度=260\n上下间隔=17\n每列个数=30\n", false, true}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST_F(PageRowsTest, TheWheelScrollsSidewaysWhenOnlyThatWayIsLeft) {
  // State: 49 units with the shipped layout (columns reach past the right edge).  Action: turn
  // the wheel down over a row, then up.  Expected: the view moves right, then back to the start.
  Start(PagesConfig(49, kShippedLayout));
  QAbstractScrollArea* view = View(1);
  QLineEdit* row = Row(PageBase(1) + 1);
  // The wheel over a row: the row has no use for it, and Qt hands it on to the page's view.
  const auto turn = [row, view](int delta) {
    const QPointF at = row->mapTo(view->viewport(), QPointF(10, 8));
    QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
  };

  turn(-120);
  EXPECT_GT(view->horizontalScrollBar()->value(), 0);
  for (int i = 0; i < 40; ++i) turn(-120);
  EXPECT_EQ(view->horizontalScrollBar()->value(), view->horizontalScrollBar()->maximum());
  EXPECT_TRUE(Shown(1, Row(PageBase(1) + kMaxUnitsPerPage)));
  for (int i = 0; i < 41; ++i) turn(120);
  EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
}

TEST_F(PageRowsTest, APageBuiltAfterTheLayoutChangedScrollsTheWayItsRowsReach) {
  // State: page 1 (49 units) built with the shipped layout.  Action: the layout changes to one
  // column of 49 rows (as the options dialog's Apply sets it), then page 2 (30 units) is shown
  // and its last row focused; back to page 1.  Expected: page 2 scrolls up and down and shows
  // its last row; page 1 keeps its layout and its sideways scrolling.
  Start(PagesConfig(49, kShippedLayout));
  state().settings.RowsPerColumn = 49;
  state().settings.RowSpacing = 30;
  ClickCategoryButton(2);
  Settle();
  QAbstractScrollArea* view = View(2);
  EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(view->verticalScrollBar()->isVisible());
  QLineEdit* last = Row(PageBase(2) + 30);
  last->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(Shown(2, last));
  EXPECT_GT(view->verticalScrollBar()->value(), 0);

  ClickCategoryButton(1);
  Settle();
  EXPECT_TRUE(View(1)->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(View(1)->verticalScrollBar()->isVisible());
  EXPECT_EQ(Row(PageBase(1) + 16)->pos(), QPoint(388, 20));
}

TEST_F(PageRowsTest, ScrollBarsAreThinEnoughToLeaveTheBottomRowWhole) {
  // State: 49 units, shipped layout.  Expected: the horizontal bar leaves the fifteenth line
  // (top 356, 16 high) wholly inside the view, so that no vertical bar is needed.
  Start(PagesConfig(49, kShippedLayout));
  QAbstractScrollArea* view = View(1);
  EXPECT_GE(view->viewport()->height(), 356 + 16);
  EXPECT_TRUE(Shown(1, Row(PageBase(1) + 15)));
}

}  // namespace
}  // namespace velmora
