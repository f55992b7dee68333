// Text in the 16-pixel rows of the main window, as drawn: commas, descenders and minus signs
// must show whole, in every interface style.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <optional>
#include <string>

#include "toolkit/toolkit.h"
#include "ui/main_window_fixture.h"

namespace velmora {
namespace {

// The first and last image rows, within rows `first_row` to `last_row`, holding ink: pixels far
// from `background`.
struct InkRows {
  int top = -1;
  int bottom = -1;
  int height() const { return top < 0 ? 0 : bottom - top + 1; }
};

InkRows FindInk(const QImage& image, QColor background, QRect area) {
  InkRows ink;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
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

// The height of the ink of `text` drawn in `font` with room all around: what a box that cuts
// nothing shows.
int FreeInkHeight(const QFont& font, const QString& text) {
  QImage image(300, 80, QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(10, 50), text);
  }
  return FindInk(image, Qt::white, image.rect()).height();
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
    // Inside the one-pixel border, which is drawn over anything that reaches it.
    return FindInk(image, edit->palette().color(QPalette::Base),
                   image.rect().adjusted(1, 1, -1, -1));
  }

  // The ink of `text` drawn by the metre row's label on white.
  QLabel* Label() {
    for (QLabel* candidate : window()->findChildren<QLabel*>()) {
      if (candidate->objectName().startsWith(QStringLiteral("透明标签1#"))) return candidate;
    }
    return nullptr;
  }

  InkRows LabelInk(const QString& text) {
    QLabel* label = Label();
    if (label == nullptr) return {};
    label->setText(text);
    QImage image(label->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return FindInk(image, Qt::white, image.rect());
  }
};

TEST_P(TextPlacementTest, CommaTailShowsInsideTheEditBox) {
  // State: a 16-pixel unit row with 12-pixel text, separators on.
  // Action: draw "1.000", "1,000" and a negative grouped number.
  // Expected: the comma reaches below the point, so the two read differently; every text shows
  // its whole ink inside the border, as tall as when drawn with room all around.
  ASSERT_EQ(Row(3)->height(), 16);
  const InkRows point = EditInk(QStringLiteral("1.000"));
  const InkRows comma = EditInk(QStringLiteral("1,000"));
  ASSERT_GE(point.top, 0) << "nothing drawn";
  EXPECT_GT(comma.bottom, point.bottom);
  for (const QString& text : {QStringLiteral("1,000"), QStringLiteral("-123,456,789"),
                              QStringLiteral("-2.5e+16"), QStringLiteral("9,876,543.21")}) {
    EXPECT_EQ(EditInk(text).height(), FreeInkHeight(Row(3)->font(), text)) << text.toStdString();
  }
}

TEST_P(TextPlacementTest, DescendersShowInsideTheLabel) {
  // State: a 16-pixel unit label with 12-pixel text.
  // Action: draw "ac", "gy" and captions mixing CJK, brackets and descenders.
  // Expected: "g" and "y" reach below "a" and "c"; every caption shows its whole ink, as tall as
  // when drawn with room all around.
  const InkRows plain = LabelInk(QStringLiteral("ac"));
  const InkRows descending = LabelInk(QStringLiteral("gy"));
  ASSERT_GE(plain.top, 0) << "nothing drawn";
  EXPECT_GT(descending.bottom, plain.bottom);
  for (const QString& text : {QStringLiteral("gy"), QStringLiteral("毫米(mm)"),
                              QStringLiteral("码(yd)"), QStringLiteral("微米(μm)")}) {
    EXPECT_EQ(LabelInk(text).height(), FreeInkHeight(Label()->font(), text)) << text.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, TextPlacementTest, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "style" + std::to_string(info.param); });

}  // namespace
}  // namespace velmora
