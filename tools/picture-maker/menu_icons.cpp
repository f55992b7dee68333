#include "menu_icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "image_ops.h"

namespace velmora::pictures {
namespace {

// Gear of eight teeth in slate blue with a light hub.
void DrawGear(QPainter& p) {
  QPainterPath gear;
  const QPointF centre(8, 8);
  constexpr double kPi = 3.14159265358979323846;
  for (int i = 0; i < 16; ++i) {
    const double angle = kPi * 2 * i / 16 - kPi / 16;
    const double radius = i % 2 == 0 ? 7.4 : 5.6;
    const double next = kPi * 2 * (i + 1) / 16 - kPi / 16;
    const QPointF a = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    const QPointF b = centre + QPointF(radius * std::cos(next), radius * std::sin(next));
    if (i == 0) gear.moveTo(a);
    gear.lineTo(a);
    gear.lineTo(b);
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(centre, 2.2, 2.2);
  QLinearGradient fill(0, 0, 0, 16);
  fill.setColorAt(0, QColor(150, 170, 200));
  fill.setColorAt(1, QColor(70, 90, 126));
  p.setPen(QPen(QColor(40, 52, 78), 0.8));
  p.setBrush(fill);
  p.drawPath(gear.subtracted(hole));
}

// A gold ruler lying across a blue list.
void DrawUnitManager(QPainter& p) {
  p.setPen(QPen(QColor(30, 70, 140), 0.8));
  p.setBrush(QColor(236, 242, 252));
  p.drawRoundedRect(QRectF(1.5, 1.5, 11, 12.5), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(58, 110, 200));
  for (int row = 0; row < 4; ++row) p.drawRect(QRectF(3.5, 3.5 + 2.6 * row, 7, 1.2));
  p.save();
  p.translate(9.5, 11);
  p.rotate(-35);
  QLinearGradient gold(0, -2.2, 0, 2.2);
  gold.setColorAt(0, QColor(255, 220, 110));
  gold.setColorAt(1, QColor(236, 168, 52));
  p.setPen(QPen(QColor(120, 74, 10), 0.7));
  p.setBrush(gold);
  p.drawRect(QRectF(-6, -2, 12, 4));
  p.setPen(QPen(QColor(92, 56, 8), 0.7));
  for (int i = -4; i <= 4; i += 2) p.drawLine(QPointF(i, -2), QPointF(i, i % 4 == 0 ? 0 : -0.8));
  p.restore();
}

// Grey calculator with a green display and a grid of keys.
void DrawCalculator(QPainter& p) {
  QLinearGradient body(0, 0, 0, 16);
  body.setColorAt(0, QColor(120, 128, 140));
  body.setColorAt(1, QColor(64, 70, 80));
  p.setPen(QPen(QColor(36, 40, 48), 0.8));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(186, 226, 170));
  p.drawRect(QRectF(4, 2, 8, 3.5));
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      p.setBrush(row == 2 && col == 2 ? QColor(240, 150, 60) : QColor(236, 236, 236));
      p.drawRect(QRectF(4 + 2.9 * col, 7 + 2.8 * row, 2.1, 1.9));
    }
  }
}

// White "i" on a blue disc.
void DrawAbout(QPainter& p) {
  DrawDisc(p, QColor(110, 170, 250), QColor(30, 84, 180), QColor(18, 52, 120));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(6.9, 3.2, 2.2, 2.2));
  p.drawRoundedRect(QRectF(6.9, 6.4, 2.2, 6.4), 0.6, 0.6);
}

// White power sign on a red disc.
void DrawExit(QPainter& p) {
  DrawDisc(p, QColor(250, 120, 100), QColor(176, 30, 24), QColor(110, 16, 12));
  QPen white(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap);
  p.setPen(white);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4.3, 4.6, 7.4, 7.4), 120 * 16, 300 * 16);
  p.drawLine(QPointF(8, 3.4), QPointF(8, 7.6));
}

// A small window with a blue title bar.
void DrawOpen(QPainter& p) {
  p.setPen(QPen(QColor(26, 60, 120), 0.8));
  p.setBrush(QColor(250, 252, 255));
  p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 1.5, 1.5);
  QLinearGradient bar(0, 2.5, 0, 6);
  bar.setColorAt(0, QColor(96, 150, 230));
  bar.setColorAt(1, QColor(40, 92, 190));
  p.setPen(Qt::NoPen);
  p.setBrush(bar);
  p.drawRect(QRectF(2, 3, 12, 3));
  p.setBrush(QColor(200, 214, 236));
  p.drawRect(QRectF(3.5, 7.5, 9, 1.2));
  p.drawRect(QRectF(3.5, 10, 6, 1.2));
}

// A gold coin with a yen sign: two arms meeting in a stem crossed by two bars.
void DrawRates(QPainter& p) {
  DrawDisc(p, QColor(255, 228, 120), QColor(222, 160, 30), QColor(120, 78, 6));
  QPen ink(QColor(110, 64, 0), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(ink);
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(5, 4), QPointF(8, 8));
  p.drawLine(QPointF(11, 4), QPointF(8, 8));
  p.drawLine(QPointF(8, 8), QPointF(8, 12.5));
  p.setPen(QPen(QColor(110, 64, 0), 1.1, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5.5, 8.6), QPointF(10.5, 8.6));
  p.drawLine(QPointF(5.5, 10.6), QPointF(10.5, 10.6));
}

}  // namespace

QImage MakeMenuIcon(MenuIcon icon) {
  QImage image = NewLayer(16, 16);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case MenuIcon::kSettings:
      DrawGear(painter);
      break;
    case MenuIcon::kUnitManager:
      DrawUnitManager(painter);
      break;
    case MenuIcon::kCalculator:
      DrawCalculator(painter);
      break;
    case MenuIcon::kAbout:
      DrawAbout(painter);
      break;
    case MenuIcon::kExit:
      DrawExit(painter);
      break;
    case MenuIcon::kOpen:
      DrawOpen(painter);
      break;
    case MenuIcon::kRates:
      DrawRates(painter);
      break;
  }
  return image;
}

}  // namespace velmora::pictures
