#pragma once

#include <QAbstractButton>
#include <QString>

#include "toolkit/design.h"

namespace velmora {

class Window;

// Button drawn from three pictures of its size; draws a plain glyph when they are missing.
class ImageButton final : public QAbstractButton {
 public:
  explicit ImageButton(QWidget* parent);

  void SetPictures(const QString& normal, const QString& hover, const QString& pressed);
  const QString& picture() const { return normal_; }
  const QString& hover_picture() const { return hover_; }
  const QString& pressed_picture() const { return pressed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QString normal_;
  QString hover_;
  QString pressed_;
  bool hovered_ = false;
};

QWidget* MakeImageButton(Window* host, const ControlDesign& design, QWidget* parent);
// Gives a copy the original's caption and pictures.
void CopyImageButton(const QWidget* original, QWidget* copy);

}  // namespace velmora
