#include "toolkit/private/super_button.h"

#include <QEnterEvent>
#include <QLinearGradient>
#include <QPainter>

#include "toolkit/colour.h"
#include "toolkit/private/painting.h"
#include "toolkit/private/pictures.h"
#include "toolkit/private/realise_support.h"
#include "toolkit/utf8_text.h"

namespace velmora {
namespace {

constexpr QColor kChosenFrame(0x3A, 0x6E, 0xC8);

}  // namespace

SuperButton::SuperButton(QWidget* parent) : QAbstractButton(parent) {
  setAttribute(Qt::WA_Hover);
}

void SuperButton::SetPicture(const QString& picture) {
  picture_ = picture;
  update();
}

void SuperButton::SetStatePicture(const QString& picture, Colour colour) {
  state_picture_ = picture;
  state_colour_ = colour;
  has_state_ = true;
  update();
}

void SuperButton::SetBackground(Colour colour) {
  background_ = colour;
  update();
}

void SuperButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void SuperButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void SuperButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect();
  const bool active = (hovered_ || isDown()) && isEnabled();
  painter.fillRect(area, ToQColor(background_));

  SmoothAtFractionalScale(painter);
  const QPixmap face = LoadPicture(picture_);
  // A picture as large as the button is its face; a smaller one is an icon beside the caption.
  const bool is_face = !face.isNull() && face.deviceIndependentSize().width() >= width() / 2;
  if (is_face) {
    painter.drawPixmap(area, face);
  } else {
    // Without a face the button draws one of its own, so that it reads as a button on a panel
    // of its own colour.
    const QColor base = ToQColor(background_);
    QLinearGradient shade(0, 0, 0, area.height());
    shade.setColorAt(0.0, base.lighter(112));
    shade.setColorAt(1.0, base.darker(106));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(kEditBorder));
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
  }
  if (active && has_state_) {
    const QPixmap state = LoadPicture(state_picture_);
    painter.setOpacity(0.6);
    if (state.isNull()) {
      painter.fillRect(area, ToQColor(state_colour_));
    } else {
      painter.drawPixmap(area, state);
    }
    painter.setOpacity(1.0);
  } else if (active) {
    painter.fillRect(area, QColor(255, 255, 255, 70));
  }
  const bool chosen = isChecked();
  if (chosen) {
    // Chosen: the face sinks under a shade and a frame in the menus' highlight blue, which reads
    // on every face picture and every window background.
    painter.fillRect(area, QColor(0, 0, 0, 48));
    painter.setPen(QPen(kChosenFrame, 2));
    painter.drawRect(QRectF(area).adjusted(1, 1, -1, -1));
  }

  QRect text_area = area;
  if (!face.isNull() && !is_face) {
    const int side = qMin(16, area.height());
    const QRect icon(4, (area.height() - side) / 2, side, side);
    painter.drawPixmap(icon, face);
    text_area.setLeft(icon.right() + 2);
  }
  painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                             : palette().color(QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(text_area.translated(isDown() || chosen ? QPoint(1, 1) : QPoint()),
                   Qt::AlignCenter, text());
  if (hasFocus()) {
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1, Qt::DotLine));
    painter.drawRect(area.adjusted(1, 1, -2, -2));
  }
}

QWidget* MakeSuperButton(Window* host, const ControlDesign& design, QWidget* parent) {
  const Look& look = design.look;
  auto* button = new SuperButton(parent);
  button->setText(FromUtf8(design.text));
  button->setCheckable(design.checkable);
  button->SetPicture(FromUtf8(look.picture));
  if (look.has_background) button->SetBackground(look.background);
  if (!look.hint.empty()) button->setToolTip(FromUtf8(look.hint));
  ApplyColours(button, look, QPalette::Button);
  return MakeClickable(host, button);
}

void CopySuperButton(const QWidget* original, QWidget* copy) {
  const auto* button = static_cast<const SuperButton*>(original);
  auto* target = static_cast<SuperButton*>(copy);
  target->setText(button->text());
  target->setCheckable(button->isCheckable());
  target->SetPicture(button->picture());
  target->SetBackground(button->background());
}

}  // namespace velmora
