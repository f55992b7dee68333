#pragma once

#include <QScrollArea>

#include "toolkit/design.h"

namespace velmora {

// A framed panel whose controls scroll vertically once they reach past its bottom. Controls
// are placed on its content, which grows with them: it is as tall as its lowest visible control
// plus the gap above its highest one, and never narrower or lower than the box's view.
class ScrollBox final : public QScrollArea {
 public:
  explicit ScrollBox(QWidget* parent);

  QWidget* content() const { return content_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitContent();

  QWidget* content_;
};

// Kind::FramedScrollBox: the view and the content take the look's colours.
QWidget* MakeScrollBox(const ControlDesign& design, QWidget* parent);

}  // namespace velmora
