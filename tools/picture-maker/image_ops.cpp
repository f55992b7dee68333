#include "image_ops.h"

#include <QImageWriter>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace velmora::pictures {

std::uint64_t Random::NextBits() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double Random::Next() {
  return static_cast<double>(NextBits() >> 11) * 0x1.0p-53;
}

NoiseField::NoiseField(int width, int height, double cell, int octaves, std::uint64_t seed)
    : width_(width), values_(static_cast<std::size_t>(width) * height, 0.0) {
  const auto lattice = [seed](std::int64_t x, std::int64_t y, int octave) {
    Random hash(seed ^ (static_cast<std::uint64_t>(x) * 0x9E3779B1ULL) ^
                (static_cast<std::uint64_t>(y) * 0x85EBCA77ULL << 1) ^
                (static_cast<std::uint64_t>(octave) << 56));
    return hash.Next();
  };
  const auto smooth = [](double t) { return t * t * (3.0 - 2.0 * t); };
  double amplitude = 1.0;
  double total = 0.0;
  for (int octave = 0; octave < octaves; ++octave) {
    const double size = cell / (1 << octave);
    for (int y = 0; y < height; ++y) {
      const double fy = y / size;
      const auto y0 = static_cast<std::int64_t>(std::floor(fy));
      const double ty = smooth(fy - y0);
      for (int x = 0; x < width; ++x) {
        const double fx = x / size;
        const auto x0 = static_cast<std::int64_t>(std::floor(fx));
        const double tx = smooth(fx - x0);
        const double top = lattice(x0, y0, octave) * (1 - tx) + lattice(x0 + 1, y0, octave) * tx;
        const double bottom =
            lattice(x0, y0 + 1, octave) * (1 - tx) + lattice(x0 + 1, y0 + 1, octave) * tx;
        values_[static_cast<std::size_t>(y) * width + x] +=
            amplitude * (top * (1 - ty) + bottom * ty);
      }
    }
    total += amplitude;
    amplitude *= 0.5;
  }
  for (double& v : values_) v /= total;
}

namespace {
int g_scale = 1;
}  // namespace

int DrawingScale() {
  return g_scale;
}

ScaleScope::ScaleScope(int scale) : previous_(g_scale) {
  g_scale = scale;
}

ScaleScope::~ScaleScope() {
  g_scale = previous_;
}

QImage NewImage(int width, int height, QImage::Format format) {
  QImage image(width * g_scale, height * g_scale, format);
  image.setDevicePixelRatio(g_scale);
  return image;
}

QImage NewLayer(int width, int height) {
  QImage layer = NewImage(width, height, QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  return layer;
}

namespace {

// One box-blur pass over `count` pixels spaced `stride` apart, clamping at both ends.
void BoxLine(QRgb* pixels, int count, int stride, int radius, std::vector<QRgb>& scratch) {
  scratch.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) scratch[i] = pixels[i * stride];
  const auto at = [&](int i) { return scratch[std::clamp(i, 0, count - 1)]; };
  std::array<int, 4> sum{};
  for (int i = -radius; i <= radius; ++i) {
    const QRgb p = at(i);
    sum[0] += qAlpha(p), sum[1] += qRed(p), sum[2] += qGreen(p), sum[3] += qBlue(p);
  }
  const int window = 2 * radius + 1;
  for (int i = 0; i < count; ++i) {
    pixels[i * stride] = qRgba((sum[1] + window / 2) / window, (sum[2] + window / 2) / window,
                               (sum[3] + window / 2) / window, (sum[0] + window / 2) / window);
    const QRgb out = at(i - radius);
    const QRgb in = at(i + radius + 1);
    sum[0] += qAlpha(in) - qAlpha(out);
    sum[1] += qRed(in) - qRed(out);
    sum[2] += qGreen(in) - qGreen(out);
    sum[3] += qBlue(in) - qBlue(out);
  }
}

}  // namespace

void Blur(QImage& image, int logical_radius) {
  if (logical_radius < 1) return;
  const int radius = static_cast<int>(std::lround(logical_radius * image.devicePixelRatio()));
  if (image.format() != QImage::Format_ARGB32_Premultiplied &&
      image.format() != QImage::Format_RGB32) {
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  const int w = image.width();
  const int h = image.height();
  auto* bits = reinterpret_cast<QRgb*>(image.bits());
  const int stride = static_cast<int>(image.bytesPerLine() / 4);
  std::vector<QRgb> scratch;
  // Three passes of radius r/sqrt(3) come close to a Gaussian of radius r.
  const int pass_radius = std::max(1, static_cast<int>(std::lround(radius / 1.7320508)));
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) BoxLine(bits + y * stride, w, 1, pass_radius, scratch);
    for (int x = 0; x < w; ++x) BoxLine(bits + x, h, stride, pass_radius, scratch);
  }
}

void AddGrain(QImage& image, double amplitude, std::uint64_t seed) {
  Random random(seed);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int noise = static_cast<int>(std::lround((random.Next() - 0.5) * 2.0 * amplitude));
      const QRgb p = line[x];
      line[x] = qRgba(std::clamp(qRed(p) + noise, 0, 255), std::clamp(qGreen(p) + noise, 0, 255),
                      std::clamp(qBlue(p) + noise, 0, 255), qAlpha(p));
    }
  }
}

void Composite(QImage& target, const QImage& layer, int mode, double opacity) {
  QPainter painter(&target);
  painter.setCompositionMode(static_cast<QPainter::CompositionMode>(mode));
  painter.setOpacity(opacity);
  painter.drawImage(0, 0, layer);
}

void SoftGlow(QPainter& painter, QPointF centre, double radius_x, double radius_y, QColor colour) {
  QRadialGradient gradient(QPointF(0, 0), 1.0);
  const double alpha = colour.alphaF();
  for (int i = 0; i <= 10; ++i) {
    const double t = i / 10.0;
    gradient.setColorAt(t, WithAlpha(colour, alpha * std::exp(-4.0 * t * t) * (1.0 - t * t)));
  }
  painter.save();
  painter.translate(centre);
  painter.scale(radius_x, radius_y);
  painter.setPen(Qt::NoPen);
  painter.setBrush(gradient);
  painter.drawEllipse(QPointF(0, 0), 1.0, 1.0);
  painter.restore();
}

QColor Mix(const QColor& a, const QColor& b, double t) {
  const auto lerp = [t](double x, double y) { return x + (y - x) * t; };
  return QColor::fromRgbF(static_cast<float>(lerp(a.redF(), b.redF())),
                          static_cast<float>(lerp(a.greenF(), b.greenF())),
                          static_cast<float>(lerp(a.blueF(), b.blueF())),
                          static_cast<float>(lerp(a.alphaF(), b.alphaF())));
}

QColor WithAlpha(QColor colour, double alpha) {
  colour.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
  return colour;
}

double Luminance(QRgb rgb) {
  const auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

bool SaveJpeg(const QImage& image, const QString& path, int quality) {
  QImageWriter writer(path, "jpeg");
  writer.setQuality(quality);
  writer.setOptimizedWrite(true);
  return writer.write(image.convertToFormat(QImage::Format_RGB32));
}

bool SavePng(const QImage& image, const QString& path) {
  QImageWriter writer(path, "png");
  // Quality 0 asks Qt's PNG writer for its strongest zlib level; the pixels stay lossless.
  writer.setQuality(0);
  return writer.write(image.convertToFormat(QImage::Format_ARGB32));
}

void DrawDisc(QPainter& p, const QColor& light, const QColor& dark, const QColor& rim) {
  QRadialGradient fill(QPointF(6, 5), 10);
  fill.setColorAt(0, light);
  fill.setColorAt(1, dark);
  p.setPen(QPen(rim, 0.8));
  p.setBrush(fill);
  p.drawEllipse(QRectF(0.8, 0.8, 14.4, 14.4));
}

}  // namespace velmora::pictures
