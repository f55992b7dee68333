#include "toolkit/private/picture_box.h"

#include <QPainter>

#include "toolkit/private/pictures.h"
#include "toolkit/utf8_text.h"

namespace velmora {

void PictureBox::SetPicture(const QString& picture) {
  picture_ = picture;
  update();
}

QRect PictureBox::PictureArea(QSize picture, QSize box) {
  if (picture.isEmpty() || box.isEmpty()) return {};
  const QSize fitted = picture.scaled(box, Qt::KeepAspectRatio);
  return QRect(QPoint((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2),
               fitted);
}

void PictureBox::paintEvent(QPaintEvent*) {
  const QPixmap picture = LoadPicture(picture_);
  if (picture.isNull()) return;
  const QRect area = PictureArea(picture.deviceIndependentSize().toSize(), size());
  if (area.isEmpty()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(area, picture);
}

QWidget* MakePictureBox(const ControlDesign& design, QWidget* parent) {
  auto* box = new PictureBox(parent);
  box->SetPicture(FromUtf8(design.look.picture));
  return box;
}

void CopyPictureBox(const QWidget* original, QWidget* copy) {
  static_cast<PictureBox*>(copy)->SetPicture(static_cast<const PictureBox*>(original)->picture());
}

}  // namespace velmora
