#include "toolkit/private/scrolling_area.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace velmora {
namespace {

// The area's scroll bars are laid out by their size hints: these keep them thin in every style.
class ThinScrollBar final : public QScrollBar {
 public:
  ThinScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

  QSize sizeHint() const override {
    QSize hint = QScrollBar::sizeHint();
    if (orientation() == Qt::Horizontal) {
      hint.setHeight(std::min(hint.height(), ScrollingArea::kBarExtent));
    } else {
      hint.setWidth(std::min(hint.width(), ScrollingArea::kBarExtent));
    }
    return hint;
  }
};

// Scrolls one bar so that [start, end) shows inside a view `view` long, `margin` clear of its
// edges where there is room; the start wins when the range is longer than the view.
void ScrollToShow(QScrollBar* bar, int start, int end, int view, int margin) {
  int value = bar->value();
  if (end + margin > value + view) value = end + margin - view;
  if (start - margin < value) value = start - margin;
  bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

}  // namespace

ScrollingArea::ScrollingArea(QWidget* parent) : QScrollArea(parent), content_(new QWidget) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBar(new ThinScrollBar(Qt::Horizontal, this));
  setVerticalScrollBar(new ThinScrollBar(Qt::Vertical, this));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The parent's background shows through the view and the panel, as it does through a plain
  // panel.
  setAutoFillBackground(false);
  viewport()->setAutoFillBackground(false);
  // Not focusable itself: Tab goes from control to control as on a plain panel.
  setFocusPolicy(Qt::NoFocus);
  setWidget(content_);
  // After setWidget, which turns the panel's own filling on.
  content_->setAutoFillBackground(false);
  content_->installEventFilter(this);
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now != nullptr && content_->isAncestorOf(now)) BringIntoView(AreaOf(now));
  });
}

QRect ScrollingArea::AreaOf(const QWidget* control) const {
  if (control == nullptr || !content_->isAncestorOf(control)) return {};
  QRect area(control->mapTo(content_, QPoint(0, 0)), control->size());
  for (const QLabel* label : content_->findChildren<QLabel*>()) {
    if (label->buddy() == control && label->isVisibleTo(content_)) {
      area |= QRect(label->mapTo(content_, QPoint(0, 0)), label->size());
    }
  }
  return area;
}

void ScrollingArea::BringIntoView(const QRect& area) {
  if (area.isEmpty()) return;
  UpdateExtent();
  // The panel's margins are those its controls keep from its top-left corner.
  const QRect used = content_->childrenRect();
  const int margin_x = std::max(0, used.left());
  const int margin_y = std::max(0, used.top());
  const QSize view = viewport()->size();
  ScrollToShow(horizontalScrollBar(), area.left(), area.right() + 1, view.width(), margin_x);
  ScrollToShow(verticalScrollBar(), area.top(), area.bottom() + 1, view.height(), margin_y);
}

void ScrollingArea::UpdateExtent() {
  extent_pending_ = false;
  const QRect used = content_->childrenRect();
  const int needed_width = std::max(0, used.right() + 1);
  const int needed_height = std::max(0, used.bottom() + 1);
  // The view without bars; a bar needed one way narrows the view the other way.
  const QSize full = maximumViewportSize();
  bool wide = false;
  bool tall = false;
  for (int pass = 0; pass < 2; ++pass) {
    wide = needed_width > full.width() - (tall ? kBarExtent : 0);
    tall = needed_height > full.height() - (wide ? kBarExtent : 0);
  }
  const int view_width = full.width() - (tall ? kBarExtent : 0);
  const int view_height = full.height() - (wide ? kBarExtent : 0);
  // Past the edge the controls keep the margin they keep at the start.
  const QSize size(wide ? needed_width + std::max(0, used.left()) : view_width,
                   tall ? needed_height + std::max(0, used.top()) : view_height);
  if (content_->size() != size) content_->resize(size);
}

void ScrollingArea::ScheduleExtent() {
  if (extent_pending_) return;
  extent_pending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (extent_pending_) UpdateExtent();
      },
      Qt::QueuedConnection);
}

bool ScrollingArea::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ChildAdded:
      if (watched == content_) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) child->installEventFilter(this);
        ScheduleExtent();
      }
      break;
    case QEvent::ChildRemoved:
      if (watched == content_) ScheduleExtent();
      break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      if (watched != content_) ScheduleExtent();
      break;
    default:
      break;
  }
  return QScrollArea::eventFilter(watched, event);
}

void ScrollingArea::keyPressEvent(QKeyEvent* event) {
  // The arrow and page keys belong to the controls and the window, as on a plain panel; the
  // view follows the focus.
  event->ignore();
}

void ScrollingArea::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  UpdateExtent();
}

void ScrollingArea::wheelEvent(QWheelEvent* event) {
  QScrollBar* vertical = verticalScrollBar();
  QScrollBar* horizontal = horizontalScrollBar();
  const QPoint delta = event->angleDelta();
  // A plain wheel turns up and down; with nothing to scroll that way it scrolls sideways.
  if (vertical->maximum() == 0 && horizontal->maximum() > 0 && std::abs(delta.y()) > 0 &&
      std::abs(delta.y()) >= std::abs(delta.x())) {
    const int lines = QApplication::wheelScrollLines();
    const int step = delta.y() * lines * horizontal->singleStep() / 120;
    horizontal->setValue(horizontal->value() - step);
    event->accept();
    return;
  }
  QScrollArea::wheelEvent(event);
}

ScrollingArea* ScrollingAreaOf(const QWidget* widget) {
  for (QWidget* current = widget != nullptr ? widget->parentWidget() : nullptr;
       current != nullptr && !current->isWindow(); current = current->parentWidget()) {
    if (auto* area = dynamic_cast<ScrollingArea*>(current)) return area;
  }
  return nullptr;
}

QWidget* MakeScrollingArea(QWidget* parent) {
  return new ScrollingArea(parent);
}

}  // namespace velmora
