// The editing operations of toolkit.h: caret, selection and insertion in edit boxes, counted in
// user-visible characters, and keys bound to actions.

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <algorithm>
#include <utility>

#include "toolkit/private/control_index.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

// Text below the combining marks, without surrogates or carriage returns, has one character per
// UTF-16 unit; expressions almost always are such text.
bool OneUnitPerCharacter(QStringView text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() < 0x300 && c != u'\r'; });
}

int CountIn(QStringView text) {
  if (OneUnitPerCharacter(text)) return static_cast<int>(text.size());
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(),
                             static_cast<int>(text.size()));
  int count = 0;
  while (finder.toNextBoundary() > 0) ++count;
  return count;
}

// The edit box's text, and the UTF-16 offsets of its selection start and caret.
struct EditState {
  QString text;
  int selection_start = 0;
};

EditState StateOf(QObject* object) {
  if (auto* edit = qobject_cast<QLineEdit*>(object)) {
    return {edit->text(),
            edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition()};
  }
  if (auto* multi = qobject_cast<QPlainTextEdit*>(object)) {
    return {multi->toPlainText(), multi->textCursor().selectionStart()};
  }
  return {};
}

// Runs an action for one key combination pressed in the watched widget (or, on a window, in any
// of its controls that passes the key on). It claims the key before shortcuts and the widget's
// own handling see it.
class KeyBinding final : public QObject {
 public:
  KeyBinding(QWidget* watched, QKeyCombination key, std::function<void()> action)
      : QObject(watched), key_(key), action_(std::move(action)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
      return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->keyCombination() != key_) return false;
    if (event->type() == QEvent::KeyPress) {
      // The action may destroy the window; a copy keeps it alive while it runs.
      const std::function<void()> action = action_;
      action();
    }
    event->accept();
    return true;
  }

 private:
  QKeyCombination key_;
  std::function<void()> action_;
};

}  // namespace

int CharacterCount(const QString& text) {
  return CountIn(text);
}

int CharacterOffset(const QString& text, int characters) {
  if (characters < 0) return static_cast<int>(text.size());
  if (OneUnitPerCharacter(text)) return std::min(characters, static_cast<int>(text.size()));
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  int offset = 0;
  for (int i = 0; i < characters; ++i) {
    const qsizetype next = finder.toNextBoundary();
    if (next < 0) break;
    offset = static_cast<int>(next);
  }
  return offset;
}

int CaretPosition(Control edit_box) {
  const EditState state = StateOf(edit_box.object());
  return CountIn(QStringView(state.text).left(state.selection_start));
}

void SetCaretPosition(Control edit_box, int position) {
  QObject* object = edit_box.object();
  if (auto* edit = qobject_cast<QLineEdit*>(object)) {
    edit->setCursorPosition(CharacterOffset(edit->text(), position));
  } else if (auto* multi = qobject_cast<QPlainTextEdit*>(object)) {
    QTextCursor cursor = multi->textCursor();
    cursor.setPosition(CharacterOffset(multi->toPlainText(), position));
    multi->setTextCursor(cursor);
  }
}

QString SelectedText(Control edit_box) {
  QObject* object = edit_box.object();
  if (auto* edit = qobject_cast<QLineEdit*>(object)) return edit->selectedText();
  if (auto* multi = qobject_cast<QPlainTextEdit*>(object)) {
    // The document marks line breaks inside a selection as paragraph separators.
    QString text = multi->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
  }
  return {};
}

void InsertText(Control edit_box, int position, const QString& text) {
  QObject* object = edit_box.object();
  if (text.isEmpty()) return;
  if (auto* multi = qobject_cast<QPlainTextEdit*>(object)) {
    QTextCursor at(multi->document());
    at.setPosition(CharacterOffset(multi->toPlainText(), position));
    // An edit block of its own: the insertion is one undo step, not merged with the typing
    // before it.
    at.beginEditBlock();
    at.insertText(text);
    at.endEditBlock();
  } else if (auto* edit = qobject_cast<QLineEdit*>(object)) {
    QString whole = edit->text();
    whole.insert(CharacterOffset(whole, position), text);
    // Written as the program writes (the validator does not judge it), raised as the user's edit.
    const QPointer<QLineEdit> alive = edit;
    SetText(edit_box, whole);
    Window* host = alive ? OwningWindow(edit) : nullptr;
    if (host != nullptr) host->Raise(edit, Event::UserEdited);
  }
}

void BindKey(Control control, std::string_view key, std::function<void()> action) {
  auto* widget = qobject_cast<QWidget*>(control.object());
  const QKeySequence sequence =
      QKeySequence::fromString(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())),
                               QKeySequence::PortableText);
  if (widget == nullptr || sequence.isEmpty() || !action) return;
  new KeyBinding(widget, sequence[0], std::move(action));
}

}  // namespace velmora
