#include "toolkit/private/edit_box.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QResizeEvent>
#include <limits>

#include "toolkit/private/decimal_validator.h"
#include "toolkit/private/multi_line_edit_box.h"
#include "toolkit/private/painting.h"
#include "toolkit/private/realise_support.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {

EditBox::EditBox(Window* host, QWidget* parent) : QLineEdit(parent), Hosted(host) {
  // The designs give edit boxes 16 pixels of height: no room for the style's frame, so the box
  // draws a one-pixel border of its own.
  setFrame(false);
  PlaceText();
}

// QLineEdit centres the font's whole line height (ascent and descent, 17 pixels for 12-pixel
// Noto Sans CJK) and clips to its text area, which cuts the tail of a comma in a 16-pixel box:
// "1,000" reads as "1.000". The margins here make the text area exactly one line high, starting
// where the line must start for the ink to sit centred inside the border; the area may reach
// past the box, the widget itself clips there.
void EditBox::PlaceText() {
  constexpr int kBorder = 1;
  constexpr int kSide = 2;
  const QFontMetrics metrics = fontMetrics();
  const int baseline = kBorder + CentredBaseline(font(), height() - 2 * kBorder);
  const int top = baseline - metrics.ascent();
  const int bottom = height() - top - metrics.height();
  if (textMargins() != QMargins(kSide, top, kSide, bottom)) {
    setTextMargins(kSide, top, kSide, bottom);
  }
}

bool EditBox::Fits(const QString& text) const {
  // QLineEdit keeps 2 pixels on each side inside its text area and one for the caret; one more
  // covers kerning and rounding, which the sum of advances leaves out.
  constexpr int kInner = 2 * 2 + 1 + 1;
  const QMargins margins = textMargins();
  const int room = contentsRect().width() - margins.left() - margins.right() - kInner;
  if (!measured_) {
    const QFontMetricsF metrics(font());
    for (std::size_t c = 0; c < advances_.size(); ++c) {
      advances_[c] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }
    measured_ = true;
  }
  qreal width = 0;
  for (const QChar c : text) {
    if (c.unicode() >= advances_.size()) return fontMetrics().horizontalAdvance(text) <= room;
    width += advances_[c.unicode()];
  }
  return width <= room;
}

void EditBox::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceText();
}

void EditBox::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    measured_ = false;
    PlaceText();
  }
}

void EditBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  Raise(this, Event::GotFocus);
}

void EditBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A text wider than the box shows its start again once the user has left it; a pop-up (the
  // context menu) or another window only borrows the focus, and the caret stays for the paste.
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
    setCursorPosition(0);
  }
  Raise(this, Event::LostFocus);
}

void EditBox::contextMenuEvent(QContextMenuEvent* event) {
  if (context_menu_.isEmpty() || host_ == nullptr || host_->Menu(context_menu_) == nullptr) {
    QLineEdit::contextMenuEvent(event);
    return;
  }
  host_->PopupContextMenu(this, context_menu_, event->globalPos());
  event->accept();
}

void EditBox::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter painter(this);
  painter.setPen(QColor(kEditBorder));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QWidget* MakeEditBox(Window* host, const ControlDesign& design, QWidget* parent) {
  const Look& look = design.look;
  if (look.input == Input::MultiLine) return MakeMultiLineEditBox(host, design, parent);
  auto* edit = new EditBox(host, parent);
  edit->setText(FromUtf8(design.text));
  edit->setAlignment(ToAlignment(look.align));
  edit->setReadOnly(look.input == Input::ReadOnly);
  // A box that only shows what the program writes keeps all of it (QLineEdit would cut the text
  // at 32767 characters).
  if (look.input == Input::ReadOnly) edit->setMaxLength(std::numeric_limits<int>::max());
  if (look.input == Input::DecimalNumber) edit->setValidator(new DecimalValidator(edit));
  edit->SetContextMenu(FromUtf8(look.context_menu));
  QObject::connect(edit, &QLineEdit::textChanged, host->connection_guard(),
                   [host, edit] { host->Raise(edit, Event::ContentChanged); });
  // textEdited comes of the user's editing (and QLineEdit's own insert and paste), never of
  // setText.
  QObject::connect(edit, &QLineEdit::textEdited, host->connection_guard(),
                   [host, edit] { host->Raise(edit, Event::UserEdited); });
  ApplyColours(edit, look, QPalette::Base);
  return edit;
}

void CopyEditBox(const QWidget* original, QWidget* copy) {
  if (const auto* edit = dynamic_cast<const QLineEdit*>(original)) {
    auto* target = static_cast<QLineEdit*>(copy);
    target->setAlignment(edit->alignment());
    target->setReadOnly(edit->isReadOnly());
    // The copy keeps the validator its design gave it, which follows the copy's own text.
    // The text is set without it, as a program write is.
    const QValidator* validator = target->validator();
    target->setValidator(nullptr);
    target->setText(edit->text());
    target->setValidator(validator);
  } else {
    CopyMultiLineEditBox(original, copy);
  }
}

}  // namespace velmora
