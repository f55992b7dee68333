#pragma once

#include <QPixmap>
#include <QSizeF>
#include <QString>

class QWidget;

namespace velmora {

// What a window draws behind its controls: its background colour (the palette's window colour),
// its background picture drawn from the top-left corner and, where a window mask only limits input
// (Wayland), the rounded outline it paints itself with an opacity of its own.
class WindowBackground {
 public:
  explicit WindowBackground(QWidget& window) : window_(window) {}
  WindowBackground(const WindowBackground&) = delete;
  WindowBackground& operator=(const WindowBackground&) = delete;

  void SetPicture(const QString& picture);
  const QString& picture() const { return picture_; }

  // The window becomes translucent and paints its background colour and picture inside an
  // antialiased rounded rectangle whose corners are quarters of a `corner` ellipse. To be called
  // before the window is first shown.
  void PaintOutline(QSizeF corner);
  bool paints_outline() const { return !outline_corner_.isEmpty(); }
  // The opacity (0 to 255) of the background painted inside the outline.
  void SetAlpha(int alpha);
  int alpha() const { return alpha_; }

  // Paints what the widget's own painting (its palette's fill) leaves: the picture, or the
  // whole outlined background.
  void Paint();

 private:
  QWidget& window_;
  QString picture_;
  QPixmap pixmap_;
  QSizeF outline_corner_;
  int alpha_ = 255;
};

}  // namespace velmora
