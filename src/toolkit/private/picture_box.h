#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include "toolkit/design.h"

namespace velmora {

// Shows one picture as large as fits its box with the picture's proportions kept, centred; a
// picture of the box's size fills it exactly.
class PictureBox final : public QWidget {
 public:
  explicit PictureBox(QWidget* parent) : QWidget(parent) {}

  const QString& picture() const { return picture_; }
  void SetPicture(const QString& picture);
  // Where a picture of size `picture` is drawn inside a box of size `box`.
  static QRect PictureArea(QSize picture, QSize box);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString picture_;
};

QWidget* MakePictureBox(const ControlDesign& design, QWidget* parent);
// Gives a copy the original's picture.
void CopyPictureBox(const QWidget* original, QWidget* copy);

}  // namespace velmora
