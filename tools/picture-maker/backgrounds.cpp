#include "backgrounds.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "image_ops.h"

namespace velmora::pictures {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr double kPi = std::numbers::pi;

QImage NewCanvas() {
  return NewImage(kWidth, kHeight, QImage::Format_RGB32);
}

// Darkens the top band under the white title text.
void ShadeTitleBand(QImage& image, double strength) {
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, 0, 130);
  gradient.setColorAt(0.0, QColor(0, 0, 0, static_cast<int>(255 * strength)));
  gradient.setColorAt(0.45, QColor(0, 0, 0, static_cast<int>(255 * strength * 0.4)));
  gradient.setColorAt(1.0, QColor(0, 0, 0, 0));
  painter.fillRect(0, 0, kWidth, 130, gradient);
}

void Vignette(QImage& image, double strength) {
  QPainter painter(&image);
  QRadialGradient gradient(QPointF(kWidth * 0.5, kHeight * 0.45), kWidth * 0.72);
  gradient.setColorAt(0.0, QColor(0, 0, 0, 0));
  gradient.setColorAt(0.6, QColor(0, 0, 0, 0));
  gradient.setColorAt(1.0, QColor(0, 0, 0, static_cast<int>(255 * strength)));
  painter.fillRect(image.rect(), gradient);
}

QPointF Bezier(const QPointF& a, const QPointF& b, const QPointF& c, const QPointF& d, double t) {
  const double u = 1.0 - t;
  return a * (u * u * u) + b * (3 * u * u * t) + c * (3 * u * t * t) + d * (t * t * t);
}

// A silk ribbon: many thin strands whose control points drift apart in opposite directions,
// so the ribbon twists over its length like a scarf in the wind.
struct Ribbon {
  QPointF start, control1, control2, end;
  QPointF spread_start, spread_control1, spread_control2, spread_end;
  int strands;
  QColor colour;
  double pen_width;
};

void DrawRibbon(QPainter& painter, const Ribbon& ribbon) {
  for (int i = 0; i < ribbon.strands; ++i) {
    const double t = i / (ribbon.strands - 1.0);
    const double u = t - 0.5;
    QPainterPath path(ribbon.start + ribbon.spread_start * u);
    path.cubicTo(ribbon.control1 + ribbon.spread_control1 * u,
                 ribbon.control2 + ribbon.spread_control2 * u, ribbon.end + ribbon.spread_end * u);
    // Strands near the folded edges catch more light than those in the middle.
    const double edge = std::pow(std::abs(u) * 2.0, 3.0);
    const double alpha =
        ribbon.colour.alphaF() * (0.45 + 0.9 * edge) * std::sin(kPi * (0.08 + 0.84 * t));
    painter.strokePath(path, QPen(WithAlpha(ribbon.colour, alpha), ribbon.pen_width));
  }
}

void Sparkles(QPainter& painter, Random& random, const Ribbon& along, int count) {
  for (int i = 0; i < count; ++i) {
    const double t = random.Range(0.05, 0.98);
    const double u = random.Range(-0.7, 0.7);
    const QPointF centre =
        Bezier(along.start + along.spread_start * u, along.control1 + along.spread_control1 * u,
               along.control2 + along.spread_control2 * u, along.end + along.spread_end * u, t) +
        QPointF(random.Range(-30, 30), random.Range(-30, 30));
    const bool bokeh = random.Next() < 0.12;
    const double radius = bokeh ? random.Range(8, 18) : random.Range(1.2, 4.0);
    const int alpha =
        bokeh ? static_cast<int>(random.Range(18, 40)) : static_cast<int>(random.Range(70, 220));
    SoftGlow(painter, centre, radius, radius, QColor(200, 220, 255, alpha));
  }
}

}  // namespace

QImage MakeBluePhantomBackground() {
  QImage image = NewCanvas();
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient base(0, 0, 0, kHeight);
    base.setColorAt(0.0, QColor(14, 20, 66));
    base.setColorAt(0.45, QColor(17, 28, 80));
    base.setColorAt(1.0, QColor(9, 13, 46));
    painter.fillRect(image.rect(), base);
    SoftGlow(painter, {790, 330}, 640, 430, QColor(48, 84, 196, 150));
    SoftGlow(painter, {170, 650}, 540, 330, QColor(88, 52, 170, 120));
    SoftGlow(painter, {970, 730}, 400, 260, QColor(30, 134, 200, 90));
    SoftGlow(painter, {420, 190}, 440, 210, QColor(60, 64, 165, 70));
  }

  // Drifting mist: fractal noise, thinned out under the text bands of the main window.
  QImage mist = NewLayer(kWidth, kHeight);
  {
    // Computed per device pixel; the formulas are in logical pixels.
    const int scale = DrawingScale();
    const int width = kWidth * scale;
    const NoiseField noise(width, kHeight * scale, 260.0 * scale, 6, 0x6d697374);
    for (int py = 0; py < kHeight * scale; ++py) {
      const double y = static_cast<double>(py) / scale;
      auto* line = reinterpret_cast<QRgb*>(mist.scanLine(py));
      const double top = std::clamp(y / 110.0, 0.0, 1.0);
      const double notices = 1.0 - 0.6 * std::exp(-std::pow((y - 468) / 45.0, 2));
      const double band = top * top * (3 - 2 * top) * notices;
      for (int px = 0; px < width; ++px) {
        const double v = std::clamp((noise.At(px, py) - 0.42) / 0.3, 0.0, 1.0);
        const double alpha = v * v * (3 - 2 * v) * 0.30 * band;
        const QColor colour =
            Mix(QColor(120, 150, 255), QColor(190, 170, 255), noise.At(width - 1 - px, py));
        line[px] = qPremultiply(WithAlpha(colour, alpha).rgba());
      }
    }
  }
  Blur(mist, 6);
  Composite(image, mist, QPainter::CompositionMode_Screen);

  const Ribbon main_ribbon{
      {-80, 430}, {380, 110},  {560, 540}, {1110, 70}, {0, 50},
      {-70, 260}, {150, -240}, {-30, 150}, 100,        QColor(150, 182, 255, 28),
      1.0};
  const Ribbon second_ribbon{
      {-60, 690}, {300, 560}, {700, 780}, {1110, 570}, {0, 40},
      {50, -120}, {-90, 130}, {0, 90},    70,          QColor(196, 160, 255, 22),
      1.0};
  const Ribbon faint_ribbon{
      {-60, 230}, {340, 60},  {640, 380}, {1110, 250}, {0, 40},
      {-90, 60},  {110, -80}, {20, 90},   40,          QColor(120, 200, 255, 15),
      1.0};
  QImage silk = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&silk);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawRibbon(painter, faint_ribbon);
    DrawRibbon(painter, second_ribbon);
    DrawRibbon(painter, main_ribbon);
  }
  QImage silk_glow = silk;
  Blur(silk_glow, 12);
  Composite(image, silk_glow, QPainter::CompositionMode_Plus);
  Composite(image, silk_glow, QPainter::CompositionMode_Plus);
  Composite(image, silk, QPainter::CompositionMode_Plus);

  QImage sparkles = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&sparkles);
    painter.setRenderHint(QPainter::Antialiasing);
    Random random(0x737061726b);
    Sparkles(painter, random, main_ribbon, 110);
    Sparkles(painter, random, second_ribbon, 40);
  }
  Composite(image, sparkles, QPainter::CompositionMode_Plus);

  ShadeTitleBand(image, 0.22);
  Vignette(image, 0.35);
  AddGrain(image, 1.5, 1);
  return image;
}

namespace {

constexpr double kWaterline = 428;

// Karst hills: steep flanks with rounded tops, as along the Li river.
struct Peak {
  double centre, height, width;
  double skew;  // the right flank is this much wider than the left
};

// Bell-shaped: a rounded top, steep flanks that flare out at the foot.
double PeakProfile(const Peak& peak, double x) {
  const double width = x < peak.centre ? peak.width : peak.width * peak.skew;
  return peak.height * std::exp(-1.2 * std::pow(std::abs(x - peak.centre) / width, 2.43));
}

struct HillLayer {
  std::vector<Peak> peaks;
  double floor;  // height of the continuous ridge that joins the peaks
  QColor top, bottom;
  double mist;  // strength of the mist pooling at the layer's foot
};

HillLayer RandomLayer(Random& random, int count, double min_height, double max_height,
                      double min_width, double max_width, double floor, QColor top, QColor bottom,
                      double mist) {
  HillLayer layer{{}, floor, top, bottom, mist};
  for (int i = 0; i < count; ++i) {
    const double centre = (i + random.Range(0.1, 0.9)) * (kWidth + 120.0) / count - 60.0;
    const double height = random.Range(min_height, max_height);
    const double width = random.Range(min_width, max_width);
    layer.peaks.push_back({centre, height, width, random.Range(0.8, 1.25)});
  }
  // The tallest stand furthest back, so smaller hills overlap them.
  std::sort(layer.peaks.begin(), layer.peaks.end(),
            [](const Peak& a, const Peak& b) { return a.height > b.height; });
  return layer;
}

QLinearGradient FadeDown(double top, const HillLayer& layer) {
  QLinearGradient gradient(0, top, 0, kWaterline);
  gradient.setColorAt(0.0, layer.top);
  gradient.setColorAt(0.5, Mix(layer.top, layer.bottom, 0.4));
  gradient.setColorAt(1.0, layer.bottom);
  return gradient;
}

// Draws one range of hills: a low ridge, then every peak as a shape of its own, lit from the
// left, with a leafy texture; mist gathers at the foot of the range.
void DrawHillLayer(QImage& image, const HillLayer& layer, double phase, std::uint64_t seed,
                   double texture) {
  const auto ripple = [phase](double x) {
    return 4 * std::sin(x / 41.0 + phase) + 2 * std::sin(x / 13.0 + 2 * phase);
  };
  QImage range = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&range);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QPainterPath ridge(QPointF(-2, kWaterline + 4));
    for (int x = -2; x <= kWidth + 2; x += 2) ridge.lineTo(x, kWaterline - layer.floor - ripple(x));
    ridge.lineTo(kWidth + 2, kWaterline + 4);
    ridge.closeSubpath();
    painter.setBrush(FadeDown(kWaterline - layer.floor - 10, layer));
    painter.drawPath(ridge);

    for (const Peak& peak : layer.peaks) {
      const double left = peak.centre - 1.8 * peak.width;
      const double right = peak.centre + 1.8 * peak.width * peak.skew;
      QPainterPath hill(QPointF(left, kWaterline + 4));
      for (double x = left; x <= right; x += 1.5) {
        // Small bumps of its own keep a peak from looking drawn with a compass.
        const double bumps =
            2.5 * std::sin(x / 9.0 + peak.centre) + 1.2 * std::sin(x / 4.3 + peak.height);
        const double height = PeakProfile(peak, x);
        hill.lineTo(x,
                    kWaterline - height - (0.5 * ripple(x) + bumps) * std::min(1.0, height / 40.0));
      }
      hill.lineTo(right, kWaterline + 4);
      hill.closeSubpath();
      painter.setBrush(FadeDown(kWaterline - peak.height, layer));
      painter.drawPath(hill);
      QLinearGradient light(peak.centre - peak.width, 0, peak.centre + peak.width * peak.skew, 0);
      light.setColorAt(0.0, QColor(255, 255, 240, 34));
      light.setColorAt(0.4, QColor(255, 255, 240, 0));
      light.setColorAt(0.6, QColor(0, 0, 0, 0));
      light.setColorAt(1.0, QColor(0, 20, 10, 60));
      painter.setBrush(light);
      painter.drawPath(hill);
    }
  }
  if (texture > 0) {
    const int scale = DrawingScale();
    const NoiseField leaves(kWidth * scale, kHeight * scale, 9.0 * scale, 3, seed);
    for (int y = 0; y < range.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(range.scanLine(y));
      for (int x = 0; x < range.width(); ++x) {
        const double f = 1.0 + texture * (leaves.At(x, y) - 0.5);
        const QRgb p = line[x];
        line[x] = qRgba(std::clamp(static_cast<int>(qRed(p) * f), 0, qAlpha(p)),
                        std::clamp(static_cast<int>(qGreen(p) * f), 0, qAlpha(p)),
                        std::clamp(static_cast<int>(qBlue(p) * f), 0, qAlpha(p)), qAlpha(p));
      }
    }
  }
  QPainter painter(&image);
  painter.drawImage(0, 0, range);
  QLinearGradient mist(0, kWaterline - 110, 0, kWaterline);
  mist.setColorAt(0.0, QColor(225, 238, 230, 0));
  mist.setColorAt(1.0, QColor(225, 238, 230, static_cast<int>(255 * layer.mist)));
  painter.fillRect(QRectF(0, kWaterline - 110, kWidth, 114), mist);
}

}  // namespace

QImage MakeGreenHillsBackground() {
  QImage image = NewCanvas();
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kWaterline);
    sky.setColorAt(0.0, QColor(18, 58, 44));
    sky.setColorAt(0.2, QColor(30, 76, 64));
    sky.setColorAt(0.6, QColor(92, 146, 138));
    sky.setColorAt(0.88, QColor(176, 210, 194));
    sky.setColorAt(1.0, QColor(206, 226, 212));
    painter.fillRect(QRectF(0, 0, kWidth, kWaterline + 4), sky);
    SoftGlow(painter, {660, 290}, 300, 170, QColor(255, 242, 210, 120));
  }

  QImage clouds = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&clouds);
    painter.setRenderHint(QPainter::Antialiasing);
    Random random(0x636c6f7564);
    for (int i = 0; i < 26; ++i) {
      const double rx = random.Range(60, 200);
      SoftGlow(painter, {random.Range(0, kWidth), random.Range(150, 300)}, rx,
               rx * random.Range(0.08, 0.16),
               QColor(235, 245, 238, static_cast<int>(random.Range(25, 60))));
    }
  }
  Blur(clouds, 8);
  Composite(image, clouds, QPainter::CompositionMode_Screen);

  Random random(0x68696c6c73);
  const HillLayer far = RandomLayer(random, 11, 80, 180, 32, 62, 22, QColor(140, 182, 178),
                                    QColor(200, 224, 212), 0.5);
  const HillLayer middle = RandomLayer(random, 9, 70, 200, 34, 66, 18, QColor(92, 144, 134),
                                       QColor(172, 206, 190), 0.45);
  const HillLayer blue = RandomLayer(random, 7, 90, 215, 38, 70, 30, QColor(54, 106, 102),
                                     QColor(130, 172, 154), 0.38);
  HillLayer near =
      RandomLayer(random, 7, 90, 175, 44, 84, 80, QColor(22, 60, 44), QColor(60, 106, 80), 0.16);
  // A tall hill on the right reaches up into the top band of the main window.
  near.peaks.insert(near.peaks.begin(), {{990, 385, 95, 1.0}, {850, 290, 70, 1.1}});
  DrawHillLayer(image, far, 0.3, 11, 0.0);
  DrawHillLayer(image, middle, 1.7, 12, 0.08);
  DrawHillLayer(image, blue, 2.9, 13, 0.14);
  DrawHillLayer(image, near, 4.1, 14, 0.22);

  // The water mirrors the shore, softened and rippled, tinted green and darker with depth.
  const int scale = DrawingScale();
  const int width = kWidth * scale;
  const int waterline = static_cast<int>(kWaterline) * scale;
  QImage mirror = image.copy(0, 0, width, waterline).mirrored(false, true);
  mirror.setDevicePixelRatio(scale);
  Blur(mirror, 3);
  for (int py = waterline; py < kHeight * scale; ++py) {
    const double y = static_cast<double>(py) / scale;
    const double depth = (y - kWaterline) / (kHeight - kWaterline);
    const int source_y = std::clamp(py - waterline, 0, mirror.height() - 1);
    const double wobble =
        1.5 * scale * std::sin(y * 0.33 + 0.6 * std::sin(y * 0.07)) * (0.4 + depth);
    const QColor water = Mix(QColor(46, 96, 84), QColor(8, 34, 32), std::pow(depth, 0.7));
    const double tint = 0.42 + 0.45 * depth;
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(py));
    const auto* in = reinterpret_cast<const QRgb*>(mirror.constScanLine(source_y));
    for (int x = 0; x < width; ++x) {
      const double sx = std::clamp(x + wobble, 0.0, width - 1.001);
      const int x0 = static_cast<int>(sx);
      const QColor mirrored = Mix(QColor(in[x0]), QColor(in[x0 + 1]), sx - x0);
      out[x] = Mix(mirrored.darker(118), water, tint).rgb();
    }
  }
  Random ripple(0x7761746572);
  QImage waves = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&waves);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 380; ++i) {
      const double depth = std::pow(ripple.Next(), 1.8);
      const double y = kWaterline + 3 + depth * (kHeight - kWaterline);
      const double length = ripple.Range(12, 90) * (1.0 - 0.5 * depth);
      const double x = ripple.Range(-40, kWidth);
      const int alpha = static_cast<int>(ripple.Range(8, 30) * (1.0 - 0.6 * depth));
      QLinearGradient stroke(x, 0, x + length, 0);
      stroke.setColorAt(0.0, QColor(214, 236, 226, 0));
      stroke.setColorAt(0.5, QColor(214, 236, 226, alpha));
      stroke.setColorAt(1.0, QColor(214, 236, 226, 0));
      painter.fillRect(QRectF(x, y, length, 1.0), stroke);
    }
  }
  Composite(image, waves, QPainter::CompositionMode_Screen);

  QImage shore_mist = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&shore_mist);
    painter.fillRect(QRectF(0, kWaterline - 6, kWidth, 8), QColor(230, 242, 234, 90));
  }
  Blur(shore_mist, 5);
  Composite(image, shore_mist, QPainter::CompositionMode_Screen);

  ShadeTitleBand(image, 0.2);
  Vignette(image, 0.35);
  AddGrain(image, 1.5, 2);
  return image;
}

namespace {

// A soft band of light along a cubic curve, thickest in the middle and tapering at both ends.
QPainterPath LightBand(const QPointF& a, const QPointF& b, const QPointF& c, const QPointF& d,
                       double thickness, double taper_power) {
  constexpr int kSteps = 240;
  std::vector<QPointF> upper, lower;
  for (int i = 0; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    const QPointF here = Bezier(a, b, c, d, t);
    const QPointF ahead = Bezier(a, b, c, d, std::min(1.0, t + 0.002));
    const QPointF behind = Bezier(a, b, c, d, std::max(0.0, t - 0.002));
    QPointF tangent = ahead - behind;
    const double length = std::hypot(tangent.x(), tangent.y());
    tangent /= length;
    const QPointF normal(-tangent.y(), tangent.x());
    const double half = 0.5 * thickness * std::pow(std::sin(kPi * t), taper_power);
    upper.push_back(here + normal * half);
    lower.push_back(here - normal * half);
  }
  QPainterPath path(upper.front());
  for (const QPointF& p : upper) path.lineTo(p);
  for (auto it = lower.rbegin(); it != lower.rend(); ++it) path.lineTo(*it);
  path.closeSubpath();
  return path;
}

struct Streak {
  QPointF a, b, c, d;
  double thickness;
  QColor colour;
};

}  // namespace

QImage MakeVistaBackground() {
  QImage image = NewCanvas();
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient base(0, 0, 0, kHeight);
    base.setColorAt(0.0, QColor(5, 20, 28));
    base.setColorAt(0.5, QColor(6, 50, 58));
    base.setColorAt(1.0, QColor(1, 10, 13));
    painter.fillRect(image.rect(), base);
    SoftGlow(painter, {560, 440}, 740, 420, QColor(16, 104, 112, 140));
    SoftGlow(painter, {140, 160}, 420, 260, QColor(10, 62, 84, 90));
  }

  // The streaks sweep through the middle of the picture and leave the main window's bottom band
  // (y 440 to 495) in shadow for its notice lines.
  const Streak streaks[] = {
      {{-120, 430}, {260, 60}, {700, 480}, {1150, 40}, 150, QColor(60, 220, 190, 120)},
      {{-120, 440}, {320, 200}, {720, 520}, {1150, 160}, 90, QColor(50, 140, 255, 115)},
      {{-120, 350}, {240, 20}, {640, 330}, {1150, -40}, 55, QColor(110, 240, 140, 105)},
      {{-60, 450}, {300, 120}, {700, 480}, {1150, 90}, 16, QColor(200, 255, 245, 150)},
      {{60, 800}, {480, 560}, {800, 760}, {1150, 560}, 110, QColor(40, 170, 220, 70)},
      {{200, 820}, {560, 640}, {860, 720}, {1150, 620}, 12, QColor(170, 250, 240, 110)},
  };

  QImage light = NewLayer(kWidth, kHeight);
  QImage edges = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&light);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QPainter edge_painter(&edges);
    edge_painter.setRenderHint(QPainter::Antialiasing);
    for (const Streak& streak : streaks) {
      painter.setBrush(streak.colour);
      painter.drawPath(LightBand(streak.a, streak.b, streak.c, streak.d, streak.thickness, 0.8));
      // A thin, sharper line along one side gives the streak a crisp leading edge.
      const QPainterPath edge =
          LightBand(streak.a + QPointF(0, -streak.thickness * 0.35),
                    streak.b + QPointF(0, -streak.thickness * 0.35),
                    streak.c + QPointF(0, -streak.thickness * 0.35),
                    streak.d + QPointF(0, -streak.thickness * 0.35), 2.2, 1.2);
      edge_painter.setPen(Qt::NoPen);
      edge_painter.setBrush(WithAlpha(streak.colour.lighter(150), 0.45));
      edge_painter.drawPath(edge);
    }
  }
  Blur(light, 34);
  Blur(edges, 2);
  Composite(image, light, QPainter::CompositionMode_Plus);
  Composite(image, edges, QPainter::CompositionMode_Plus);

  QImage bokeh = NewLayer(kWidth, kHeight);
  {
    QPainter painter(&bokeh);
    painter.setRenderHint(QPainter::Antialiasing);
    Random random(0x626f6b6568);
    for (int i = 0; i < 30; ++i) {
      const Streak& streak = streaks[i % 3];
      const QPointF centre =
          Bezier(streak.a, streak.b, streak.c, streak.d, random.Range(0.15, 0.95)) +
          QPointF(random.Range(-60, 60), random.Range(-60, 60));
      const double radius = random.Range(4, 20);
      painter.setPen(QPen(QColor(190, 255, 240, static_cast<int>(random.Range(14, 40))), 1.2));
      painter.setBrush(QColor(160, 240, 230, static_cast<int>(random.Range(6, 20))));
      painter.drawEllipse(centre, radius, radius);
    }
  }
  Blur(bokeh, 1);
  Composite(image, bokeh, QPainter::CompositionMode_Plus);

  // The glass: a faint sheen over the upper part with a few diagonal reflections.
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheen(QPointF(0, 0));
    sheen.lineTo(kWidth, 0);
    sheen.lineTo(kWidth, 120);
    sheen.cubicTo(QPointF(700, 170), QPointF(360, 200), QPointF(0, 330));
    sheen.closeSubpath();
    QLinearGradient gradient(0, 0, 0, 330);
    gradient.setColorAt(0.0, QColor(255, 255, 255, 26));
    gradient.setColorAt(1.0, QColor(255, 255, 255, 6));
    painter.fillPath(sheen, gradient);
    for (const auto& [x, width, alpha] :
         {std::tuple{420.0, 70.0, 7}, std::tuple{540.0, 28.0, 6}, std::tuple{760.0, 110.0, 5}}) {
      QPainterPath bar(QPointF(x, 0));
      bar.lineTo(x + width, 0);
      bar.lineTo(x + width - 260, 460);
      bar.lineTo(x - 260, 460);
      bar.closeSubpath();
      QLinearGradient fade(0, 0, 0, 460);
      fade.setColorAt(0.0, QColor(255, 255, 255, alpha));
      fade.setColorAt(1.0, QColor(255, 255, 255, 0));
      painter.fillPath(bar, fade);
    }
  }

  ShadeTitleBand(image, 0.2);
  Vignette(image, 0.4);
  AddGrain(image, 1.5, 3);
  return image;
}

}  // namespace velmora::pictures
