#include "buttons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "image_ops.h"

namespace velmora::pictures {
namespace {

struct FacePalette {
  QColor border, top_light, top_dark, bottom_dark, bottom_light;
};

// Each style tints its menu buttons with the colour of its background.
FacePalette MenuPalette(int style) {
  switch (style) {
    case 2:
      return {QColor(18, 60, 46), QColor(246, 252, 248), QColor(222, 240, 229),
              QColor(190, 224, 204), QColor(214, 238, 223)};
    case 3:
      return {QColor(8, 40, 46), QColor(244, 252, 252), QColor(218, 238, 240),
              QColor(182, 220, 224), QColor(208, 236, 238)};
    default:
      return {QColor(22, 34, 92), QColor(246, 248, 255), QColor(224, 231, 250),
              QColor(194, 208, 244), QColor(216, 226, 250)};
  }
}

// A rectangle rounded only on the given side, so two faces side by side form one pill.
QPainterPath HalfRoundedRect(const QRectF& rect, double radius, MenuFaceSide side) {
  QPainterPath path;
  const double l = rect.left(), r = rect.right(), t = rect.top(), b = rect.bottom();
  if (side == MenuFaceSide::kLeft) {
    path.moveTo(r, t);
    path.lineTo(l + radius, t);
    path.arcTo(QRectF(l, t, 2 * radius, 2 * radius), 90, 90);
    path.lineTo(l, b - radius);
    path.arcTo(QRectF(l, b - 2 * radius, 2 * radius, 2 * radius), 180, 90);
    path.lineTo(r, b);
  } else {
    path.moveTo(l, t);
    path.lineTo(r - radius, t);
    path.arcTo(QRectF(r - 2 * radius, t, 2 * radius, 2 * radius), 90, -90);
    path.lineTo(r, b - radius);
    path.arcTo(QRectF(r - 2 * radius, b - 2 * radius, 2 * radius, 2 * radius), 0, -90);
    path.lineTo(l, b);
  }
  path.closeSubpath();
  return path;
}

// The glossy "two halves" fill of the faces: a bright upper half over a deeper lower half.
QLinearGradient GlossFill(double top, double bottom, const FacePalette& palette) {
  QLinearGradient fill(0, top, 0, bottom);
  fill.setColorAt(0.0, palette.top_light);
  fill.setColorAt(0.48, palette.top_dark);
  fill.setColorAt(0.52, palette.bottom_dark);
  fill.setColorAt(1.0, palette.bottom_light);
  return fill;
}

}  // namespace

QImage MakeMenuFace(int style, MenuFaceSide side) {
  const FacePalette palette = MenuPalette(style);
  QImage face = NewLayer(48, 24);
  QPainter painter(&face);
  painter.setRenderHint(QPainter::Antialiasing);
  // The outer edge sits on the pixel grid; the seam between the two faces is a single line
  // drawn by the right-hand face.
  const QRectF outer =
      side == MenuFaceSide::kLeft ? QRectF(0.5, 0.5, 48.0, 23.0) : QRectF(-0.5, 0.5, 48.0, 23.0);
  const QPainterPath shape = HalfRoundedRect(outer, 5.0, side);
  painter.fillPath(shape, GlossFill(1, 23, palette));
  // A soft inner highlight along the top edge.
  painter.setClipPath(shape);
  painter.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
  painter.drawLine(QPointF(0, 1.5), QPointF(48, 1.5));
  painter.setClipping(false);
  painter.setPen(QPen(WithAlpha(palette.border, 0.85), 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(shape);
  if (side == MenuFaceSide::kRight) {
    painter.setPen(QPen(WithAlpha(palette.border, 0.45), 1.0));
    painter.drawLine(QPointF(0.5, 3), QPointF(0.5, 21));
  }
  return face;
}

QImage MakeCategoryFace(int number) {
  // Two columns of sixteen: the left column walks once round the colour wheel from top to
  // bottom, the right column does the same half a step further on, so neighbours differ
  // clearly yet the whole set reads as one calm spectrum.
  const int index = number - 1;
  const int row = index % 16;
  const int column = index / 16;
  const double hue = std::fmod(0.56 + (row + 0.5 * column) / 16.0, 1.0);
  const double saturation = column == 0 ? 0.62 : 0.5;
  const auto colour = [&](double lightness, double saturation_scale) {
    return QColor::fromHslF(static_cast<float>(hue),
                            static_cast<float>(saturation * saturation_scale),
                            static_cast<float>(lightness));
  };
  const FacePalette palette{colour(0.55, 0.55), colour(0.955, 1.0), colour(0.9, 1.0),
                            colour(0.86, 1.0), colour(0.885, 1.0)};

  QImage face = NewImage(72, 24, QImage::Format_RGB32);
  QPainter painter(&face);
  painter.fillRect(QRect(0, 0, 72, 24), GlossFill(0, 24, palette));
  painter.fillRect(QRect(0, 0, 72, 1), QColor(255, 255, 255, 190));
  painter.fillRect(QRect(0, 1, 1, 22), QColor(255, 255, 255, 110));
  painter.fillRect(QRect(71, 1, 1, 22), WithAlpha(palette.border, 0.35));
  painter.fillRect(QRect(0, 23, 72, 1), WithAlpha(palette.border, 0.7));
  return face;
}

QImage MakeButtonStateFace() {
  QImage face = NewImage(72, 24, QImage::Format_RGB32);
  QPainter painter(&face);
  QLinearGradient fill(0, 0, 0, 24);
  fill.setColorAt(0.0, QColor(255, 255, 255));
  fill.setColorAt(0.5, QColor(250, 251, 253));
  fill.setColorAt(1.0, QColor(236, 240, 245));
  painter.fillRect(QRect(0, 0, 72, 24), fill);
  painter.setPen(QColor(168, 182, 200));
  painter.drawRect(QRect(0, 0, 71, 23));
  painter.setPen(QColor(255, 255, 255));
  painter.drawLine(1, 1, 70, 1);
  return face;
}

namespace {

// Caption buttons hang from the window's top edge: square at the top, rounded at the outer
// bottom corner of the pair (bottom-left of minimise, bottom-right of close).
QPainterPath CaptionShape(double width, double height, bool round_left, bool round_right) {
  constexpr double kRadius = 4.0;
  const QRectF r(0.5, -0.5, width - 1.0, height);
  QPainterPath path(QPointF(r.left(), r.top()));
  if (round_left) {
    path.lineTo(r.left(), r.bottom() - kRadius);
    path.arcTo(QRectF(r.left(), r.bottom() - 2 * kRadius, 2 * kRadius, 2 * kRadius), 180, 90);
  } else {
    path.lineTo(r.left(), r.bottom());
  }
  if (round_right) {
    path.lineTo(r.right() - kRadius, r.bottom());
    path.arcTo(QRectF(r.right() - 2 * kRadius, r.bottom() - 2 * kRadius, 2 * kRadius, 2 * kRadius),
               270, 90);
  } else {
    path.lineTo(r.right(), r.bottom());
  }
  path.lineTo(r.right(), r.top());
  return path;
}

struct CaptionLook {
  QColor top, middle_top, middle_bottom, bottom;
  QColor border;
  QColor glyph, glyph_shadow;
};

CaptionLook GlassLook(ButtonState state) {
  switch (state) {
    case ButtonState::kHover:
      return {QColor(255, 255, 255, 120), QColor(255, 255, 255, 80), QColor(255, 255, 255, 40),
              QColor(255, 255, 255, 90),  QColor(0, 0, 0, 140),      QColor(255, 255, 255),
              QColor(0, 0, 0, 150)};
    case ButtonState::kPressed:
      return {QColor(0, 0, 0, 120),      QColor(0, 0, 0, 90),  QColor(0, 0, 0, 70),
              QColor(255, 255, 255, 40), QColor(0, 0, 0, 170), QColor(230, 236, 240),
              QColor(0, 0, 0, 170)};
    case ButtonState::kNormal:
      break;
  }
  return {QColor(255, 255, 255, 70), QColor(255, 255, 255, 34), QColor(255, 255, 255, 10),
          QColor(255, 255, 255, 40), QColor(0, 0, 0, 120),      QColor(255, 255, 255, 235),
          QColor(0, 0, 0, 130)};
}

CaptionLook CloseLook(ButtonState state) {
  switch (state) {
    case ButtonState::kHover:
      return {QColor(246, 160, 142),  QColor(226, 84, 62),    QColor(196, 38, 20),
              QColor(232, 110, 70),   QColor(90, 10, 4, 220), QColor(255, 255, 255),
              QColor(110, 10, 0, 190)};
    case ButtonState::kPressed:
      return {QColor(170, 60, 44),  QColor(150, 30, 16),   QColor(124, 16, 6),
              QColor(168, 56, 30),  QColor(70, 6, 2, 230), QColor(240, 228, 226),
              QColor(60, 0, 0, 200)};
    case ButtonState::kNormal:
      break;
  }
  return {QColor(222, 134, 120, 210), QColor(196, 80, 64, 200), QColor(168, 44, 30, 200),
          QColor(190, 86, 60, 210),   QColor(60, 8, 4, 190),    QColor(255, 255, 255, 240),
          QColor(80, 10, 0, 170)};
}

QImage CaptionButton(int width, int height, bool round_left, bool round_right,
                     const CaptionLook& look, const QPainterPath& glyph) {
  QImage image = NewLayer(width, height);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPainterPath shape = CaptionShape(width, height, round_left, round_right);
  QLinearGradient fill(0, 0, 0, height);
  fill.setColorAt(0.0, look.top);
  fill.setColorAt(0.48, look.middle_top);
  fill.setColorAt(0.52, look.middle_bottom);
  fill.setColorAt(1.0, look.bottom);
  QPainterPath closed = shape;
  closed.closeSubpath();
  painter.fillPath(closed, fill);
  painter.setPen(QPen(look.border, 1.0));
  painter.drawPath(shape);
  // The inner light line gives the glass its edge.
  painter.setClipPath(closed);
  painter.setPen(QPen(QColor(255, 255, 255, 60), 1.0));
  painter.drawPath(CaptionShape(width, height - 1, round_left, round_right).translated(1, 0));
  painter.setClipping(false);

  painter.setPen(Qt::NoPen);
  painter.setBrush(look.glyph_shadow);
  painter.drawPath(glyph.translated(0, 1));
  painter.setBrush(look.glyph);
  painter.drawPath(glyph);
  return image;
}

}  // namespace

QImage MakeCloseButton(ButtonState state) {
  // An X of two 45-degree strokes between pixel centres, 8 x 8 pixels, centred in the button.
  QPainterPath strokes;
  strokes.moveTo(18.5, 4.5);
  strokes.lineTo(25.5, 11.5);
  strokes.moveTo(25.5, 4.5);
  strokes.lineTo(18.5, 11.5);
  QPainterPathStroker stroker;
  stroker.setWidth(1.9);
  stroker.setCapStyle(Qt::FlatCap);
  const QPainterPath glyph = stroker.createStroke(strokes).simplified();
  return CaptionButton(44, 18, false, true, CloseLook(state), glyph);
}

QImage MakeMinimizeButton(ButtonState state) {
  QPainterPath glyph;
  glyph.addRect(QRectF(9.0, 10.0, 9.0, 2.0));  // level with the foot of the X
  return CaptionButton(27, 18, true, false, GlassLook(state), glyph);
}

}  // namespace velmora::pictures
