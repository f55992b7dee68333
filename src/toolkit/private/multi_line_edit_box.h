#pragma once

#include <QPlainTextEdit>

#include "toolkit/design.h"
#include "toolkit/private/hosted.h"

namespace velmora {

// The edit box of Input::MultiLine; raises got and lost focus (content changed comes from
// textChanged).
class MultiLineEditBox final : public QPlainTextEdit, public Hosted {
 public:
  MultiLineEditBox(Window* host, QWidget* parent);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

QWidget* MakeMultiLineEditBox(Window* host, const ControlDesign& design, QWidget* parent);
// Gives a copy the original's text; does nothing unless both are multi-line boxes.
void CopyMultiLineEditBox(const QWidget* original, QWidget* copy);

}  // namespace velmora
