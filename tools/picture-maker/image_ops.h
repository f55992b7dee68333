#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;

namespace velmora::pictures {

// A small seeded generator of our own, so that every run draws exactly the same pictures
// (the standard distributions are not required to give the same numbers everywhere).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t NextBits();
  double Next();  // in [0, 1)
  double Range(double low, double high) { return low + (high - low) * Next(); }

 private:
  std::uint64_t state_;
};

// Smooth fractal value noise in [0, 1], `width` x `height` samples; `cell` is the size in samples
// of the coarsest octave.
class NoiseField {
 public:
  NoiseField(int width, int height, double cell, int octaves, std::uint64_t seed);
  double At(int x, int y) const { return values_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  int width_;
  std::vector<double> values_;
};

// Every picture is drawn once for screens with one device pixel per logical pixel and once for
// screens with two (its name@2x file). Pictures are described in logical pixels; the canvases below
// have DrawingScale() device pixels per logical pixel and a device pixel ratio to match, so that a
// painter on them draws every shape at the full resolution of the scale.
int DrawingScale();
class ScaleScope {
 public:
  explicit ScaleScope(int scale);
  ~ScaleScope();
  ScaleScope(const ScaleScope&) = delete;
  ScaleScope& operator=(const ScaleScope&) = delete;

 private:
  int previous_;
};

// A transparent ARGB32 premultiplied layer of the given logical size, at the drawing scale.
QImage NewLayer(int width, int height);
// An uninitialised canvas of the given logical size and format, at the drawing scale.
QImage NewImage(int width, int height, QImage::Format format);

// Approximates a Gaussian blur of the given radius (in logical pixels) with three box blurs.
void Blur(QImage& image, int radius);

// Adds a faint, fixed noise so that smooth gradients do not band once stored as JPEG.
void AddGrain(QImage& image, double amplitude, std::uint64_t seed);

// Paints `layer` over `target` with the given composition mode and opacity.
void Composite(QImage& target, const QImage& layer, int mode, double opacity = 1.0);

// A soft round glow whose brightness falls off like a bell curve.
void SoftGlow(QPainter& painter, QPointF centre, double radius_x, double radius_y, QColor colour);

QColor Mix(const QColor& a, const QColor& b, double t);
QColor WithAlpha(QColor colour, double alpha);

// Relative luminance (0 black .. 1 white) of an sRGB colour.
double Luminance(QRgb rgb);

bool SaveJpeg(const QImage& image, const QString& path, int quality = 85);
bool SavePng(const QImage& image, const QString& path);

// A 16 x 16 icon's disc: a radial gradient from `light` to `dark` inside a thin `rim`.
void DrawDisc(QPainter& p, const QColor& light, const QColor& dark, const QColor& rim);

}  // namespace velmora::pictures
