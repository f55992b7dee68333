#pragma once

#include <QLabel>

#include "toolkit/design.h"
#include "toolkit/private/hosted.h"

namespace velmora {

// Transparent and opaque labels: plain text only, since captions may come from config.dat or
// the network. Left button down / up are raised when bound, otherwise they reach the parent.
// A text that the font's own line spacing would push past the label's height is set line by
// line at a pitch of the font's pixel size, as the designs' bitmap font did.
// A single line of text is placed on CentredBaseline, as in edit boxes.
// A label that shows the hand cursor and handles left button down is a link: it takes the focus
// by Tab and Space or Enter raise left button down and up, as a click does.
class LabelControl final : public QLabel, public Hosted {
 public:
  LabelControl(Window* host, QWidget* parent);

  bool IsLink() const;
  // Takes the focus by Tab while it is a link; called when the cursor or the bindings change.
  void UpdateFocusPolicy();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintLines(QPaintEvent* event);
};

// Kind::TransparentLabel and Kind::Label; the opaque label always fills its background.
QWidget* MakeLabel(Window* host, const ControlDesign& design, QWidget* parent);
// Gives a copy the original's alignment, wrapping and text.
void CopyLabel(const QWidget* original, QWidget* copy);

}  // namespace velmora
