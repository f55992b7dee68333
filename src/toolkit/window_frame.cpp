// How a window draws and moves itself: its background, the outline it paints where the platform
// cannot clip a window to a mask, and drags by its background.

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>

#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

std::function<void(bool)>& SystemMoveObserver() {
  static std::function<void(bool)> observer;
  return observer;
}

std::optional<bool>& SystemMoveOverride() {
  static std::optional<bool> available;
  return available;
}

// The pixel ratio of what a painter draws on: the widget's, or that of the image a widget is
// rendered into.
qreal TargetRatio(QPainter& painter) {
  const QPaintDevice* target =
      painter.paintEngine() != nullptr ? painter.paintEngine()->paintDevice() : painter.device();
  return target != nullptr ? target->devicePixelRatioF() : 1.0;
}

}  // namespace

void SetSystemMoveAvailableForTesting(std::optional<bool> available) {
  SystemMoveOverride() = available;
}

void SetSystemMoveObserver(std::function<void(bool)> observer) {
  SystemMoveObserver() = std::move(observer);
}

void SmoothAtFractionalScale(QPainter& painter) {
  const qreal ratio = TargetRatio(painter);
  // Pictures come at 1x and 2x: at 1.5x every picture is drawn scaled, and scaled smoothly.
  if (ratio != std::floor(ratio)) painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

bool Window::StartSystemMove() {
  QWindow* handle = windowHandle();
  const bool started = SystemMoveOverride().has_value()
                           ? *SystemMoveOverride()
                           : handle != nullptr && handle->startSystemMove();
  if (SystemMoveObserver()) SystemMoveObserver()(started);
  return started;
}

void Window::PaintOutline(QSizeF corner) {
  if (corner.isEmpty()) return;
  outline_corner_ = corner;
  clearMask();
  setAttribute(Qt::WA_TranslucentBackground);
  // The background is painted inside the outline; outside it the window stays transparent.
  setAutoFillBackground(false);
  update();
}

void Window::SetBackgroundAlpha(int alpha) {
  background_alpha_ = std::clamp(alpha, 0, 255);
  update();
}

void Window::paintEvent(QPaintEvent* event) {
  if (!paints_outline()) {
    QWidget::paintEvent(event);
    if (background_.isNull()) return;
    QPainter painter(this);
    SmoothAtFractionalScale(painter);
    painter.drawPixmap(0, 0, background_);
    return;
  }
  // Colour and picture are composed opaque first, so that the opacity applies to them once and
  // the antialiased edge of the outline is the edge of both; at the target's own pixel ratio, so
  // that the edge is smooth at any scale.
  QPainter painter(this);
  const qreal ratio = TargetRatio(painter);
  QPixmap layer(QSize(std::ceil(width() * ratio), std::ceil(height() * ratio)));
  layer.setDevicePixelRatio(ratio);
  layer.fill(Qt::transparent);
  {
    QPainter compose(&layer);
    compose.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), outline_corner_.width() / 2.0,
                           outline_corner_.height() / 2.0);
    compose.fillPath(outline, palette().color(QPalette::Window));
    if (!background_.isNull()) {
      SmoothAtFractionalScale(compose);
      compose.setCompositionMode(QPainter::CompositionMode_SourceAtop);
      compose.drawPixmap(0, 0, background_);
    }
  }
  painter.setOpacity(background_alpha_ / 255.0);
  painter.drawPixmap(0, 0, layer);
}

void Window::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (Raise(this, Event::LeftButtonDown, event->position().toPoint(), event->modifiers().toInt())) {
    return;
  }
  if (!design_.drag_by_background || StartSystemMove()) return;
  dragging_ = true;
  drag_offset_ = event->globalPosition().toPoint() - pos();
}

void Window::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  if (!event->buttons().testFlag(Qt::LeftButton)) {
    dragging_ = false;
    return;
  }
  move(event->globalPosition().toPoint() - drag_offset_);
}

void Window::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  Raise(this, Event::LeftButtonUp, event->position().toPoint(), event->modifiers().toInt());
}

}  // namespace velmora
