// How a window paints its background and outline, and the outline and opacity operations of
// toolkit.h.

#include "toolkit/private/window_background.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>

#include "toolkit/private/painting.h"
#include "toolkit/private/pictures.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

std::optional<bool>& OpacityOverride() {
  static std::optional<bool> supported;
  return supported;
}

std::optional<bool>& OutlineOverride() {
  static std::optional<bool> painted;
  return painted;
}

}  // namespace

void WindowBackground::SetPicture(const QString& picture) {
  picture_ = picture;
  // The background is drawn from the top-left corner: no more of it is kept than the window shows.
  pixmap_ = LoadPicture(picture, window_.size());
  window_.update();
}

void WindowBackground::PaintOutline(QSizeF corner) {
  if (corner.isEmpty()) return;
  outline_corner_ = corner;
  window_.clearMask();
  window_.setAttribute(Qt::WA_TranslucentBackground);
  // The background is painted inside the outline; outside it the window stays transparent.
  window_.setAutoFillBackground(false);
  window_.update();
}

void WindowBackground::SetAlpha(int alpha) {
  alpha_ = std::clamp(alpha, 0, 255);
  window_.update();
}

void WindowBackground::Paint() {
  if (!paints_outline()) {
    if (pixmap_.isNull()) return;
    QPainter painter(&window_);
    SmoothAtFractionalScale(painter);
    painter.drawPixmap(0, 0, pixmap_);
    return;
  }
  // Colour and picture are composed opaque first, so that the opacity applies to them once and
  // the antialiased edge of the outline is the edge of both; at the target's own pixel ratio, so
  // that the edge is smooth at any scale.
  QPainter painter(&window_);
  const qreal ratio = TargetPixelRatio(painter);
  QPixmap layer(QSize(std::ceil(window_.width() * ratio), std::ceil(window_.height() * ratio)));
  layer.setDevicePixelRatio(ratio);
  layer.fill(Qt::transparent);
  {
    QPainter compose(&layer);
    compose.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(window_.rect()), outline_corner_.width() / 2.0,
                           outline_corner_.height() / 2.0);
    compose.fillPath(outline, window_.palette().color(QPalette::Window));
    if (!pixmap_.isNull()) {
      SmoothAtFractionalScale(compose);
      compose.setCompositionMode(QPainter::CompositionMode_SourceAtop);
      compose.drawPixmap(0, 0, pixmap_);
    }
  }
  painter.setOpacity(alpha_ / 255.0);
  painter.drawPixmap(0, 0, layer);
}

bool OutlinePaintedByWindow() {
  if (OutlineOverride().has_value()) return *OutlineOverride();
  // On X11 the mask clips drawing, and a translucent window without a compositing manager shows
  // black where it is transparent; on Wayland the mask only limits input.
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void SetOutlinePaintedForTesting(std::optional<bool> painted) {
  OutlineOverride() = painted;
}

void SetWindowOutline(Window* window, int width, int height, int corner_width, int corner_height) {
  if (window == nullptr || width <= 0 || height <= 0) return;
  if (OutlinePaintedByWindow()) {
    window->PaintOutline(QSizeF(corner_width, corner_height));
    return;
  }
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0, 0, width, height), corner_width / 2.0, corner_height / 2.0);
  window->setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

bool WindowOpacitySupported() {
  if (OpacityOverride().has_value()) return *OpacityOverride();
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void SetWindowOpacitySupportedForTesting(std::optional<bool> supported) {
  OpacityOverride() = supported;
}

void SetWindowOpacity(Window* window, int alpha) {
  if (window == nullptr) return;
  // A window painting its own outline is translucent already: its background carries the
  // opacity (Wayland has no opacity of a whole window).
  if (window->paints_outline()) {
    window->SetBackgroundAlpha(alpha);
    return;
  }
  window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

int WindowOpacity(const Window* window) {
  if (window == nullptr) return 0;
  if (window->paints_outline()) return window->background_alpha();
  return static_cast<int>(std::lround(window->windowOpacity() * 255.0));
}

}  // namespace velmora
