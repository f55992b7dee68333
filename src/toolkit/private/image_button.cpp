#include "toolkit/private/image_button.h"

#include <QEnterEvent>
#include <QPainter>

#include "toolkit/private/painting.h"
#include "toolkit/private/pictures.h"
#include "toolkit/private/realise_support.h"
#include "toolkit/utf8_text.h"

namespace velmora {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
  setAttribute(Qt::WA_Hover);
  // Reached by Tab and pressed by Space; a click leaves the focus where it was.
  setFocusPolicy(Qt::TabFocus);
}

void ImageButton::SetPictures(const QString& normal, const QString& hover, const QString& pressed) {
  normal_ = normal;
  hover_ = hover;
  pressed_ = pressed;
  update();
}

void ImageButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void ImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QString& path = isDown() ? pressed_ : hovered_ ? hover_ : normal_;
  QPixmap picture = LoadPicture(path);
  if (picture.isNull()) picture = LoadPicture(normal_);
  SmoothAtFractionalScale(painter);
  if (!picture.isNull()) {
    painter.drawPixmap(rect(), picture);
  } else {
    // Without its pictures the button still shows what it does.
    painter.fillRect(rect(), isDown()   ? QColor(120, 120, 120)
                             : hovered_ ? QColor(200, 60, 60)
                                        : QColor(150, 150, 150));
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, text());
  }
  if (hasFocus()) {
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

QWidget* MakeImageButton(Window* host, const ControlDesign& design, QWidget* parent) {
  const Look& look = design.look;
  auto* button = new ImageButton(parent);
  button->setText(FromUtf8(design.text));
  button->SetPictures(FromUtf8(look.picture), FromUtf8(look.picture_hover),
                      FromUtf8(look.picture_pressed));
  return MakeClickable(host, button);
}

void CopyImageButton(const QWidget* original, QWidget* copy) {
  const auto* button = static_cast<const ImageButton*>(original);
  auto* target = static_cast<ImageButton*>(copy);
  target->setText(button->text());
  target->SetPictures(button->picture(), button->hover_picture(), button->pressed_picture());
}

}  // namespace velmora
