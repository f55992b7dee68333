#include "toolkit/private/label_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

#include "toolkit/private/painting.h"
#include "toolkit/private/realise_support.h"
#include "toolkit/window.h"

namespace velmora {

LabelControl::LabelControl(Window* host, QWidget* parent) : QLabel(parent), Hosted(host) {
  setTextFormat(Qt::PlainText);
  setTextInteractionFlags(Qt::NoTextInteraction);
}

bool LabelControl::IsLink() const {
  return host_ != nullptr && testAttribute(Qt::WA_SetCursor) &&
         cursor().shape() == Qt::PointingHandCursor && host_->Handles(this, Event::LeftButtonDown);
}

void LabelControl::UpdateFocusPolicy() {
  const Qt::FocusPolicy policy = IsLink() ? Qt::TabFocus : Qt::NoFocus;
  if (focusPolicy() != policy) setFocusPolicy(policy);
}

bool LabelControl::event(QEvent* event) {
  const bool handled = QLabel::event(event);
  if (event->type() == QEvent::CursorChange) UpdateFocusPolicy();
  return handled;
}

void LabelControl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (!IsLink() || (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)) {
    QLabel::keyPressEvent(event);
    return;
  }
  event->accept();
  // The handler may close the window; the label goes with it only after this event.
  Window* host = host_;
  if (host->Raise(this, Event::LeftButtonDown) && host_ != nullptr) {
    host->Raise(this, Event::LeftButtonUp);
  }
}

void LabelControl::paintEvent(QPaintEvent* event) {
  const QString caption = text();
  if (wordWrap() || !(alignment() & Qt::AlignVCenter) || caption.contains(u'\n')) {
    PaintLines(event);
    return;
  }
  const QRect area = contentsRect();
  const QFontMetrics metrics = fontMetrics();
  const int width = metrics.horizontalAdvance(caption);
  int left = area.left();
  if (alignment() & Qt::AlignHCenter) {
    left += (area.width() - width) / 2;
  } else if (alignment() & Qt::AlignRight) {
    left = area.right() + 1 - width;
  }
  QPainter painter(this);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
  painter.drawText(QPoint(left, area.top() + CentredBaseline(font(), area.height())), caption);
  if (hasFocus()) {
    painter.setPen(QPen(painter.pen().color(), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void LabelControl::mousePressEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonDown, event);
}

void LabelControl::mouseReleaseEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonUp, event);
}

void LabelControl::PaintLines(QPaintEvent* event) {
  const QString content = text();
  const int wrap = wordWrap() ? int(Qt::TextWordWrap) : 0;
  if (content.isEmpty() ||
      fontMetrics().boundingRect(contentsRect(), int(alignment()) | wrap, content).height() <=
          contentsRect().height()) {
    QLabel::paintEvent(event);
    return;
  }
  QString lines = content;
  lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextOption option(alignment());
  option.setWrapMode(wordWrap() ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  QTextLayout layout(lines, font());
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(contentsRect().width());
  }
  layout.endLayout();
  const int count = layout.lineCount();
  const int pixels = QFontInfo(font()).pixelSize();
  const int pitch = std::max(pixels, contentsRect().height() / std::max(count, 1));
  // Baselines sit where the ideographs fill the em square from the line's top; the block of
  // lines is centred when the label asks for it.
  const int block = (count - 1) * pitch + pixels;
  const int offset = alignment().testFlag(Qt::AlignVCenter)
                         ? std::max(0, (contentsRect().height() - block) / 2)
                         : 0;
  const int baseline = offset + (pixels * 88 + 99) / 100;
  for (int i = 0; i < count; ++i) {
    QTextLine line = layout.lineAt(i);
    line.setPosition(QPointF(0, i * pitch + baseline - line.ascent()));
  }
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  layout.draw(&painter, contentsRect().topLeft());
}

QWidget* MakeLabel(Window* host, const ControlDesign& design, QWidget* parent) {
  auto* label = new LabelControl(host, parent);
  label->setText(DesignText(design.text));
  label->setAlignment(ToAlignment(design.look.align));
  label->setWordWrap(design.text.find('\n') != std::string::npos);
  Look look = design.look;
  if (design.kind == Kind::Label) look.has_background = true;
  ApplyColours(label, look, QPalette::Window);
  return label;
}

void CopyLabel(const QWidget* original, QWidget* copy) {
  const auto* label = static_cast<const QLabel*>(original);
  auto* target = static_cast<QLabel*>(copy);
  target->setAlignment(label->alignment());
  target->setWordWrap(label->wordWrap());
  target->setText(label->text());
}

}  // namespace velmora
