#pragma once

#include <QAbstractButton>
#include <QString>

#include "toolkit/design.h"

namespace velmora {

class Window;

// Push button drawn from a face picture (a background of its own size) or an icon beside its
// caption, with an optional picture and colour for the hovered and pressed state.
class SuperButton final : public QAbstractButton {
 public:
  explicit SuperButton(QWidget* parent);

  const QString& picture() const { return picture_; }
  void SetPicture(const QString& picture);
  void SetStatePicture(const QString& picture, Colour colour);
  bool has_state() const { return has_state_; }
  const QString& state_picture() const { return state_picture_; }
  Colour state_colour() const { return state_colour_; }
  void SetBackground(Colour colour);
  Colour background() const { return background_; }

 protected:
  // A checkable button is chosen by code only.
  void nextCheckState() override {}
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QString picture_;
  QString state_picture_;
  Colour state_colour_ = kWhite;
  bool has_state_ = false;
  Colour background_ = kLightGrey;
  bool hovered_ = false;
};

QWidget* MakeSuperButton(Window* host, const ControlDesign& design, QWidget* parent);
// Gives a copy the original's caption, checkability, face and background.
void CopySuperButton(const QWidget* original, QWidget* copy);

}  // namespace velmora
