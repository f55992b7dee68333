#pragma once

#include <QRect>
#include <QScrollArea>

namespace velmora {

// A panel whose controls may reach past its edges: it then scrolls them, with a scroll bar only
// for the direction that needs one, the mouse wheel (turning it scrolls sideways when only that
// way is left), and the control that takes the keyboard focus brought into view together with
// the labels it is the buddy of. While everything fits, the panel is exactly as large as the
// area and nothing moves: the controls stand where they would on a plain panel. The area draws
// no background of its own, so its parent's shows through.
class ScrollingArea final : public QScrollArea {
 public:
  // Width of the scroll bars: thin enough that a horizontal bar leaves room for a row placed
  // 12 pixels above the bottom edge.
  static constexpr int kBarExtent = 12;

  explicit ScrollingArea(QWidget* parent);

  // The panel the controls are placed on; their places count from its corner.
  QWidget* content() const { return content_; }
  // Scrolls as little as needed to show `area` (in the panel's coordinates) with the panel's own
  // margins around it; the start of an area wider or taller than the view.
  void BringIntoView(const QRect& area);
  // The area of `control` (a control on the panel) with the labels whose buddy it is.
  QRect AreaOf(const QWidget* control) const;
  // Sizes the panel to its controls now rather than when the events are next processed.
  void UpdateExtent();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void ScheduleExtent();

  QWidget* content_;
  bool extent_pending_ = false;
};

// The scrolling area that `widget` stands on (at any depth), or nullptr.
ScrollingArea* ScrollingAreaOf(const QWidget* widget);

// Kind::ScrollBox: a plain scrolling area, drawn by its parent.
QWidget* MakeScrollingArea(QWidget* parent);

}  // namespace velmora
