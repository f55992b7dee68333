#include "icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

#include "image_ops.h"

namespace velmora::pictures {
namespace {

const QColor kTileTop(78, 150, 232);
const QColor kTileBottom(24, 78, 160);
const QColor kTileBorder(14, 48, 104);
const QColor kRulerTop(255, 220, 110);
const QColor kRulerBottom(236, 168, 52);
const QColor kRulerBorder(120, 74, 10);
const QColor kTick(92, 56, 8);

void DrawTile(QPainter& painter, double size, double pixel) {
  const double radius = size * 0.19;
  const QRectF outer(pixel * 0.5, pixel * 0.5, size - pixel, size - pixel);
  QLinearGradient fill(0, 0, 0, size);
  fill.setColorAt(0.0, kTileTop);
  fill.setColorAt(1.0, kTileBottom);
  painter.setPen(QPen(kTileBorder, pixel));
  painter.setBrush(fill);
  painter.drawRoundedRect(outer, radius, radius);
  // Gloss on the upper half.
  QPainterPath gloss;
  gloss.addRoundedRect(outer.adjusted(pixel, pixel, -pixel, -pixel), radius - pixel,
                       radius - pixel);
  QPainterPath upper;
  upper.addRect(QRectF(0, 0, size, size * 0.46));
  QLinearGradient shine(0, 0, 0, size * 0.46);
  shine.setColorAt(0.0, QColor(255, 255, 255, 80));
  shine.setColorAt(1.0, QColor(255, 255, 255, 18));
  painter.setPen(Qt::NoPen);
  painter.setBrush(shine);
  painter.drawPath(gloss.intersected(upper));
}

// Sizes from 32 up: the design is laid out on a 32-unit grid with edges on whole units.
QImage VectorIcon(int size) {
  QImage image = NewLayer(size, size);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double scale = size / 32.0;
  const double pixel = 1.0 / scale;
  DrawTile(painter, size, 1.0 * std::max(1.0, scale * 0.75));
  painter.scale(scale, scale);

  const QPolygonF right_arrow{{6, 7}, {19, 7}, {19, 3.5}, {25, 8.5}, {19, 13.5}, {19, 10}, {6, 10}};
  const QPolygonF left_arrow{{26, 14},   {13, 14}, {13, 10.5}, {7, 15.5},
                             {13, 20.5}, {13, 17}, {26, 17}};
  painter.setPen(Qt::NoPen);
  for (const QPolygonF& arrow : {right_arrow, left_arrow}) {
    painter.setBrush(QColor(6, 30, 80, 110));
    painter.drawPolygon(arrow.translated(0, 1.0));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawPolygon(arrow);
  }

  const QRectF ruler(4, 22, 24, 6);
  QLinearGradient gold(0, ruler.top(), 0, ruler.bottom());
  gold.setColorAt(0.0, kRulerTop);
  gold.setColorAt(1.0, kRulerBottom);
  painter.setPen(QPen(kRulerBorder, pixel));
  painter.setBrush(gold);
  painter.drawRoundedRect(ruler.adjusted(pixel / 2, pixel / 2, -pixel / 2, -pixel / 2), 1.2, 1.2);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kTick);
  for (int i = 0; i < 7; ++i) {
    const double x = 7 + 3 * i;
    const double length = i % 2 == 0 ? 3.0 : 2.0;
    painter.drawRect(QRectF(x, ruler.top(), 1.0, length));
  }
  return image;
}

// At 16 pixels every shape is placed on whole pixels by hand.
QImage PixelIcon() {
  QImage image = NewLayer(16, 16);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawTile(painter, 16, 1.0);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QColor white(255, 255, 255);
  const auto arrow = [&](int y, int shaft_from, int shaft_to, int head_x, int direction,
                         const QColor& colour) {
    painter.fillRect(QRect(shaft_from, y, shaft_to - shaft_from + 1, 1), colour);
    for (int step = 0; step < 3; ++step) {
      painter.fillRect(QRect(head_x + direction * step, y - 2 + step, 1, 5 - 2 * step), colour);
    }
  };
  // No drop shadow at this size: it would blur the arrows into each other.
  arrow(4, 3, 9, 10, 1, white);
  arrow(8, 6, 12, 5, -1, white);

  painter.fillRect(QRect(2, 11, 12, 1), kRulerTop);
  painter.fillRect(QRect(2, 12, 12, 1), QColor(250, 196, 80));
  painter.fillRect(QRect(2, 13, 12, 1), kRulerBottom);
  for (int x = 4; x <= 12; x += 2) {
    painter.fillRect(QRect(x, 11, 1, (x % 4 == 0) ? 2 : 1), kTick);
  }
  return image;
}

}  // namespace

QImage MakeIcon(int size) {
  // The hand-placed pixels serve only a 16-pixel screen image; at twice the pixels the vector
  // design has room.
  return size * DrawingScale() <= 16 ? PixelIcon() : VectorIcon(size);
}

QImage MakeAboutPicture() {
  QImage image = NewLayer(48, 48);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawImage(QPoint(0, 0), VectorIcon(40));
  // An information badge over the tile's corner, drawn from shapes so that no font is involved.
  const QPointF centre(37.5, 37.5);
  QLinearGradient fill(0, 27, 0, 48);
  fill.setColorAt(0.0, QColor(96, 196, 112));
  fill.setColorAt(1.0, QColor(28, 128, 56));
  painter.setPen(QPen(QColor(255, 255, 255), 1.5));
  painter.setBrush(fill);
  painter.drawEllipse(centre, 9.5, 9.5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255));
  painter.drawEllipse(QPointF(37.5, 32.8), 1.6, 1.6);
  painter.drawRoundedRect(QRectF(36.2, 35.4, 2.6, 7.4), 0.8, 0.8);
  return image;
}

}  // namespace velmora::pictures
