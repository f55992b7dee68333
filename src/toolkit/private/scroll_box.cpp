#include "toolkit/private/scroll_box.h"

#include <QChildEvent>
#include <QEvent>
#include <QScrollBar>
#include <algorithm>

#include "toolkit/private/realise_support.h"

namespace velmora {

ScrollBox::ScrollBox(QWidget* parent) : QScrollArea(parent), content_(new QWidget) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setWidgetResizable(false);
  content_->setObjectName(QStringLiteral("scroll_content"));
  content_->installEventFilter(this);
  setWidget(content_);
  // Rows move by one row per wheel step or arrow click.
  verticalScrollBar()->setSingleStep(24);
  FitContent();
}

bool ScrollBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == content_) {
    if (event->type() == QEvent::ChildAdded) {
      if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) {
        child->installEventFilter(this);
      }
      FitContent();
    } else if (event->type() == QEvent::ChildRemoved) {
      FitContent();
    }
  } else if (watched->parent() == content_) {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        FitContent();
        break;
      default:
        break;
    }
  }
  return QScrollArea::eventFilter(watched, event);
}

void ScrollBox::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  FitContent();
}

void ScrollBox::FitContent() {
  int top = -1;
  int bottom = 0;
  for (QObject* child : content_->children()) {
    const auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr || widget->isHidden()) continue;
    top = top < 0 ? widget->y() : std::min(top, widget->y());
    bottom = std::max(bottom, widget->geometry().bottom() + 1);
  }
  const int margin = std::max(top, 0);
  const QSize view = viewport()->size();
  const QSize wanted(view.width(), std::max(view.height(), bottom + margin));
  if (content_->size() != wanted) content_->resize(wanted);
}

QWidget* MakeScrollBox(const ControlDesign& design, QWidget* parent) {
  auto* box = new ScrollBox(parent);
  ApplyColours(box->viewport(), design.look, QPalette::Window);
  ApplyColours(box->content(), design.look, QPalette::Window);
  return box;
}

}  // namespace velmora
