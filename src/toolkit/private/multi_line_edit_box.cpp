#include "toolkit/private/multi_line_edit_box.h"

#include <QFocusEvent>
#include <QPointer>

#include "toolkit/private/program_write.h"
#include "toolkit/private/realise_support.h"
#include "toolkit/window.h"

namespace velmora {

MultiLineEditBox::MultiLineEditBox(Window* host, QWidget* parent)
    : QPlainTextEdit(parent), Hosted(host) {
  // Lines break at the box's edge wherever they reach it. Breaking at word boundaries first costs
  // time quadratic in the length of an unbroken run (a pasted expression of thousands of
  // characters has no word boundary) and would stall the window for seconds.
  setWordWrapMode(QTextOption::WrapAnywhere);
}

void MultiLineEditBox::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  Raise(this, Event::GotFocus);
}

void MultiLineEditBox::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  Raise(this, Event::LostFocus);
}

QWidget* MakeMultiLineEditBox(Window* host, const ControlDesign& design, QWidget* parent) {
  auto* edit = new MultiLineEditBox(host, parent);
  // Every change is content changed; one the program did not write is also user edited.
  QObject::connect(edit, &QPlainTextEdit::textChanged, host->connection_guard(), [host, edit] {
    const bool by_user = !ProgramWrite::Writing(edit);
    const QPointer<QObject> alive = edit;
    host->Raise(edit, Event::ContentChanged);
    if (by_user && alive) host->Raise(edit, Event::UserEdited);
  });
  edit->setPlainText(DesignText(design.text));
  ApplyColours(edit, design.look, QPalette::Base);
  return edit;
}

void CopyMultiLineEditBox(const QWidget* original, QWidget* copy) {
  if (const auto* multi = dynamic_cast<const QPlainTextEdit*>(original)) {
    static_cast<QPlainTextEdit*>(copy)->setPlainText(multi->toPlainText());
  }
}

}  // namespace velmora
