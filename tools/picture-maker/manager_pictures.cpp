#include "manager_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "image_ops.h"

namespace velmora::pictures {
namespace {

// The same walk round the colour wheel as the main window's faces, so a category keeps its
// colour in both windows.
double CategoryHue(int number) {
  const int index = number - 1;
  return std::fmod(0.56 + (index % 16 + 0.5 * (index / 16)) / 16.0, 1.0);
}

QColor Hsl(double hue, double saturation, double lightness) {
  return QColor::fromHslF(static_cast<float>(hue), static_cast<float>(saturation),
                          static_cast<float>(lightness));
}

// White plus on a green disc.
void DrawAdd(QPainter& p) {
  DrawDisc(p, QColor(140, 220, 120), QColor(40, 140, 50), QColor(24, 90, 30));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(7, 3.6, 2, 8.8), 0.5, 0.5);
  p.drawRoundedRect(QRectF(3.6, 7, 8.8, 2), 0.5, 0.5);
}

// White cross on a red disc.
void DrawDelete(QPainter& p) {
  DrawDisc(p, QColor(250, 130, 110), QColor(186, 36, 28), QColor(116, 18, 12));
  QPen white(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap);
  p.setPen(white);
  p.drawLine(QPointF(5.2, 5.2), QPointF(10.8, 10.8));
  p.drawLine(QPointF(10.8, 5.2), QPointF(5.2, 10.8));
}

// A blue arrow, pointing up or down.
void DrawArrow(QPainter& p, bool up) {
  QPainterPath arrow;
  arrow.moveTo(8, 1.2);
  arrow.lineTo(14.6, 8);
  arrow.lineTo(10.6, 8);
  arrow.lineTo(10.6, 14.6);
  arrow.lineTo(5.4, 14.6);
  arrow.lineTo(5.4, 8);
  arrow.lineTo(1.4, 8);
  arrow.closeSubpath();
  if (!up) {
    p.translate(0, 16);
    p.scale(1, -1);
  }
  QLinearGradient fill(0, 1, 0, 15);
  fill.setColorAt(0, QColor(120, 176, 250));
  fill.setColorAt(1, QColor(30, 84, 186));
  p.setPen(QPen(QColor(18, 50, 120), 0.8));
  p.setBrush(fill);
  p.drawPath(arrow);
}

// A green tick over a small blue disk: the list is written to the file.
void DrawApply(QPainter& p) {
  QLinearGradient body(0, 1, 0, 15);
  body.setColorAt(0, QColor(110, 150, 220));
  body.setColorAt(1, QColor(40, 70, 150));
  p.setPen(QPen(QColor(22, 40, 96), 0.8));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(236, 242, 252));
  p.drawRect(QRectF(4, 2, 8, 4.5));
  p.setBrush(QColor(60, 90, 160));
  p.drawRect(QRectF(9.5, 2.6, 1.6, 3.2));
  QPen tick(QColor(50, 200, 70), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  QPen edge(QColor(16, 80, 24), 3.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  QPainterPath path;
  path.moveTo(5, 10.4);
  path.lineTo(7.6, 13);
  path.lineTo(13.6, 6.6);
  p.setBrush(Qt::NoBrush);
  p.setPen(edge);
  p.drawPath(path);
  p.setPen(tick);
  p.drawPath(path);
}

}  // namespace

QImage MakeManagerFace(int number) {
  const double hue = CategoryHue(number);
  const double saturation = number <= 16 ? 0.55 : 0.45;
  QImage face = NewImage(72, 24, QImage::Format_RGB32);
  QPainter painter(&face);
  QLinearGradient fill(0, 0, 0, 24);
  fill.setColorAt(0.0, Hsl(hue, saturation, 0.97));
  fill.setColorAt(1.0, Hsl(hue, saturation, 0.88));
  painter.fillRect(QRect(0, 0, 72, 24), fill);
  QLinearGradient band(0, 0, 0, 24);
  band.setColorAt(0.0, Hsl(hue, saturation + 0.2, 0.66));
  band.setColorAt(1.0, Hsl(hue, saturation + 0.2, 0.52));
  painter.fillRect(QRect(0, 0, 4, 24), band);
  painter.fillRect(QRect(4, 0, 1, 24), QColor(255, 255, 255, 200));
  painter.fillRect(QRect(5, 0, 67, 1), QColor(255, 255, 255, 220));
  painter.fillRect(QRect(71, 0, 1, 24), Hsl(hue, saturation, 0.74));
  painter.fillRect(QRect(0, 23, 72, 1), Hsl(hue, saturation, 0.62));
  painter.end();
  AddGrain(face, 1.5, static_cast<std::uint64_t>(7000 + number));
  return face;
}

QImage MakeUnitCommandIcon(UnitCommandIcon icon) {
  QImage image = NewLayer(16, 16);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case UnitCommandIcon::kAdd:
      DrawAdd(painter);
      break;
    case UnitCommandIcon::kDelete:
      DrawDelete(painter);
      break;
    case UnitCommandIcon::kUp:
      DrawArrow(painter, true);
      break;
    case UnitCommandIcon::kDown:
      DrawArrow(painter, false);
      break;
    case UnitCommandIcon::kApply:
      DrawApply(painter);
      break;
  }
  return image;
}

}  // namespace velmora::pictures
