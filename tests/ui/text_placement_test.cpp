// Text in the 16-pixel rows of the main window, as drawn: commas, descenders and minus signs
// must show whole, in every interface style.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <optional>
#include <string>

#include "toolkit/toolkit.h"
#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

// The first and last image rows holding ink: pixels far from `background`.
struct InkRows {
  int top = -1;
  int bottom = -1;
};

InkRows FindInk(const QImage& image, QColor background, int first_column, int last_column) {
  InkRows ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = first_column; x <= last_column; ++x) {
      const QColor c = image.pixelColor(x, y);
      const int distance = qAbs(c.red() - background.red()) + qAbs(c.green() - background.green()) +
                           qAbs(c.blue() - background.blue());
      if (distance < 90) continue;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y;
      break;
    }
  }
  return ink;
}

class TextPlacementTest : public testing::MainWindowTest,
                          public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    Start("[通用设置]\n界面风格=" + std::to_string(GetParam()) +
          "\n小数保留位数=2\n是否千位分隔=1\n跨度=300\n上下间隔=24\n每列个数=15\n"
          "[unit1]\n2=米(m),1\n3=毫米(mm),1000\n");
    ClickCategoryButton(1);
  }

  // The ink of `text` in the (unfocused) millimetre row, inside its one-pixel border.
  InkRows EditInk(const QString& text) {
    const Control row = FindControlByTag(window(), 3);
    SetText(row, text);
    QLineEdit* edit = Row(3);
    const QImage image = edit->grab().toImage();
    return FindInk(image, edit->palette().color(QPalette::Base), 1, image.width() - 2);
  }

  // The ink of `text` drawn by the metre row's label on white.
  InkRows LabelInk(const QString& text) {
    QLabel* label = nullptr;
    for (QLabel* candidate : window()->findChildren<QLabel*>()) {
      if (candidate->objectName().startsWith(QStringLiteral("透明标签1#"))) label = candidate;
    }
    if (label == nullptr) return {};
    label->setText(text);
    QImage image(label->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return FindInk(image, Qt::white, 0, image.width() - 1);
  }
};

TEST_P(TextPlacementTest, CommaTailShowsInsideTheEditBox) {
  // State: a 16-pixel unit row with 12-pixel text, separators on.
  // Action: draw "1.000" and "1,000".
  // Expected: the comma reaches below the point, so the two read differently; all ink stays
  // inside the border, digits included.
  const InkRows point = EditInk(QStringLiteral("1.000"));
  const InkRows comma = EditInk(QStringLiteral("1,000"));
  const int height = Row(3)->height();
  ASSERT_EQ(height, 16);
  ASSERT_GE(point.top, 0) << "nothing drawn";
  EXPECT_GT(comma.bottom, point.bottom);
  EXPECT_GE(comma.top, 1);
  EXPECT_LE(comma.bottom, height - 3) << "the tail touches the border";
  const InkRows grouped = EditInk(QStringLiteral("-123,456,789"));
  EXPECT_GE(grouped.top, 1);
  EXPECT_LE(grouped.bottom, height - 3);
}

TEST_P(TextPlacementTest, DescendersShowInsideTheLabel) {
  // State: a 16-pixel unit label with 12-pixel text.
  // Action: draw "ac", "gy" and a CJK caption.
  // Expected: "g" and "y" reach below "a" and "c" and end above the label's last row; CJK
  // characters are not cut at the top.
  const InkRows plain = LabelInk(QStringLiteral("ac"));
  const InkRows descending = LabelInk(QStringLiteral("gy"));
  const InkRows cjk = LabelInk(QStringLiteral("毫米(mm)"));
  ASSERT_GE(plain.top, 0) << "nothing drawn";
  EXPECT_GT(descending.bottom, plain.bottom);
  EXPECT_LE(descending.bottom, 14);
  EXPECT_GE(cjk.top, 1);
  EXPECT_LE(cjk.bottom, 14);
}

INSTANTIATE_TEST_SUITE_P(Styles, TextPlacementTest, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "style" + std::to_string(info.param); });

}  // namespace
}  // namespace velmora
