#include "ui/category_pages.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <string>

#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

// Three rows per column, pitch 300 by 24, followed by `sections`.
std::string WithLayout(std::string_view sections) {
  std::string config = "[通用设置]\n跨度=300\n上下间隔=24\n每列个数=3\n";
  config.append(sections);
  return config;
}

std::string Section(int page, int units) {
  std::string text = "[unit" + std::to_string(page) + "]\n";
  const int base = PageBase(page);
  for (int i = 1; i <= units; ++i) {
    text += std::to_string(base + i) + "=单位" + std::to_string(i) + "," + std::to_string(i) + "\n";
  }
  return text;
}

// The label standing on the same line as an edit box: its copy made right after the box.
QLabel* LabelBeside(QLineEdit* edit) {
  for (QLabel* label : edit->parentWidget()->findChildren<QLabel*>()) {
    if (label->objectName().contains(u'#') && label->y() == edit->y() &&
        label->x() == edit->x() + 124) {
      return label;
    }
  }
  return nullptr;
}

int CurrentPageIndex(Window* window) {
  return CurrentPage(FindControl(window, "选择夹1"));
}

TEST_F(MainWindowTest, RowsStandColumnByColumn) {
  // State: page 1 with the units "2" to "6"; three rows per column, pitch 300 by 24.
  // Action: show page 1.
  // Expected: boxes at (16,20) (16,44) (16,68) (316,20) (316,44), labels at 140 and 440 on the
  // same lines, names as stored; NextRowNumber is 7.
  Start(WithLayout(Section(1, 5)));
  ClickCategoryButton(1);
  const QPoint expected[] = {{16, 20}, {16, 44}, {16, 68}, {316, 20}, {316, 44}};
  for (int i = 0; i < 5; ++i) {
    QLineEdit* edit = Row(2 + i);
    ASSERT_NE(edit, nullptr) << "row " << 2 + i;
    EXPECT_EQ(edit->pos(), expected[i]) << "row " << 2 + i;
    EXPECT_EQ(edit->size(), QSize(120, 16));
    EXPECT_TRUE(edit->isVisible());
    QLabel* label = LabelBeside(edit);
    ASSERT_NE(label, nullptr) << "row " << 2 + i;
    EXPECT_EQ(label->x(), i < 3 ? 140 : 440);
    EXPECT_EQ(label->text(), QStringLiteral("单位%1").arg(i + 1));
    EXPECT_EQ(label->size(), QSize(96, 16));
    EXPECT_DOUBLE_EQ(state().FactorTable.Get(2 + i), i + 1);
  }
  EXPECT_EQ(state().NextRowNumber, 7);
  EXPECT_EQ(CurrentPageIndex(window()), 0);
  EXPECT_EQ(RowsOnPage(1).size(), 5);
}

TEST_F(MainWindowTest, PageShownTwiceIsBuiltOnce) {
  // State: page 3 with four units.  Action: show it, show page 1, show it again.
  // Expected: one set of rows; each showing switches the page and recounts the file.
  Start(WithLayout(Section(3, 4)));
  ClickCategoryButton(3);
  ASSERT_EQ(RowsOnPage(3).size(), 4);
  ClickCategoryButton(1);
  EXPECT_EQ(CurrentPageIndex(window()), 0);
  EXPECT_EQ(state().NextRowNumber, 2);
  // A unit added to the file meanwhile is counted, but shows no row until the next start.
  WriteConfig(WithLayout(Section(3, 6)));
  ClickCategoryButton(3);
  EXPECT_EQ(CurrentPageIndex(window()), 2);
  EXPECT_EQ(RowsOnPage(3).size(), 4);
  EXPECT_EQ(state().NextRowNumber, PageBase(3) + 7);
  EXPECT_TRUE(state().PageBuilt[3]);
}

TEST_F(MainWindowTest, EmptySectionGivesAnEmptyBuiltPage) {
  // State: "unit5" has a header and no items; "unit6" does not exist at all.
  // Action: show both pages; then units appear in the file and page 5 is shown again.
  // Expected: empty pages, NextRowNumber PageBase+1, marked built; no rows until a restart.
  Start(WithLayout("[unit5]\n"));
  ClickCategoryButton(5);
  EXPECT_EQ(CurrentPageIndex(window()), 4);
  EXPECT_EQ(state().NextRowNumber, PageBase(5) + 1);
  EXPECT_TRUE(state().PageBuilt[5]);
  EXPECT_TRUE(RowsOnPage(5).isEmpty());
  ClickCategoryButton(6);
  EXPECT_EQ(state().NextRowNumber, PageBase(6) + 1);
  EXPECT_TRUE(RowsOnPage(6).isEmpty());

  WriteConfig(WithLayout(Section(5, 2)));
  ClickCategoryButton(5);
  EXPECT_EQ(state().NextRowNumber, PageBase(5) + 3);
  EXPECT_TRUE(RowsOnPage(5).isEmpty());
}

TEST_F(MainWindowTest, SixtyUnitsGiveFortyNineRows) {
  // State: page 2 lists 60 consecutive units.  Action: show it.
  // Expected: rows for keys 52 to 100 only; NextRowNumber 101; the 50th unit is never read.
  Start("[通用设置]\n跨度=300\n上下间隔=24\n每列个数=15\n" + Section(2, 60));
  ClickCategoryButton(2);
  EXPECT_EQ(RowsOnPage(2).size(), 49);
  EXPECT_NE(Row(100), nullptr);
  // The 50th unit's key is page 3's PageBase: the number of page 3's template, never a row.
  EXPECT_EQ(FindControlByTag(window(), 101), FindControl(window(), "编辑框3"));
  EXPECT_EQ(state().NextRowNumber, 101);
  EXPECT_EQ(state().FactorTable.Get(101), 0.0);
}

TEST_F(MainWindowTest, ListEndsAtTheFirstGap) {
  // State: page 1 has the keys "2", "3" and "5".  Expected: two rows; NextRowNumber 4.
  Start(WithLayout("[unit1]\n2=米,1\n3=千米,0.001\n5=毫米,1000\n"));
  ClickCategoryButton(1);
  EXPECT_EQ(RowsOnPage(1).size(), 2);
  EXPECT_EQ(state().NextRowNumber, 4);
  EXPECT_EQ(state().FactorTable.Get(5), 0.0);
}

TEST_F(MainWindowTest, OddUnitValuesStillMakeRows) {
  // State: a unit with an empty name, one whose factor is not a number, one that is markup.
  // Expected: three rows; the names shown as plain text; the bad factor stored as 0.
  Start(WithLayout("[unit1]\n2=,2.5\n3=市尺,abc\n4=<b>粗</b><img src=x>,1\n"));
  ClickCategoryButton(1);
  ASSERT_EQ(RowsOnPage(1).size(), 3);
  EXPECT_EQ(LabelBeside(Row(2))->text(), "");
  EXPECT_DOUBLE_EQ(state().FactorTable.Get(2), 2.5);
  EXPECT_EQ(state().FactorTable.Get(3), 0.0);
  QLabel* markup = LabelBeside(Row(4));
  EXPECT_EQ(markup->text(), "<b>粗</b><img src=x>");
  EXPECT_EQ(markup->textFormat(), Qt::PlainText);
}

TEST_F(MainWindowTest, RowsPerColumnZeroPutsOneRowInEachColumn) {
  Start("[通用设置]\n跨度=200\n上下间隔=24\n每列个数=0\n" + Section(1, 3));
  ClickCategoryButton(1);
  EXPECT_EQ(Row(2)->pos(), QPoint(16, 20));
  EXPECT_EQ(Row(3)->pos(), QPoint(216, 20));
  EXPECT_EQ(Row(4)->pos(), QPoint(416, 20));
}

TEST_F(MainWindowTest, RowsCopyTheirPageTemplate) {
  // Expected: a row has its template's size, colours and alignment, and its own tag; the
  // template itself stays hidden and keeps its tag, so a row number never finds it.
  Start(WithLayout(Section(15, 1)));
  ClickCategoryButton(15);
  QLineEdit* row = Row(702);
  ASSERT_NE(row, nullptr);
  auto* edit_template = qobject_cast<QLineEdit*>(FindControl(window(), "编辑框15").object());
  EXPECT_TRUE(edit_template->isHidden());
  EXPECT_EQ(edit_template->property("tag").toString(), "701");
  EXPECT_EQ(row->property("tag").toString(), "702");
  EXPECT_EQ(row->parentWidget(), edit_template->parentWidget());
  EXPECT_EQ(row->alignment(), Qt::AlignCenter);
  EXPECT_EQ(row->palette().color(QPalette::Text), QColor(0, 0, 255));
  EXPECT_EQ(LabelBeside(row)->width(), 224);
}

TEST_F(MainWindowTest, PageOutsideTheRangeIsIgnored) {
  Start(WithLayout(Section(1, 2)));
  LoadCategoryPage(state(), window(), 0);
  LoadCategoryPage(state(), window(), 33);
  EXPECT_EQ(state().NextRowNumber, 0);
  EXPECT_EQ(CurrentPageIndex(window()), 0);
}

}  // namespace
}  // namespace velmora
