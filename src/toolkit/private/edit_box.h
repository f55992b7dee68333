#pragma once

#include <QLineEdit>
#include <QString>
#include <array>

#include "toolkit/design.h"
#include "toolkit/private/hosted.h"

namespace velmora {

// Single-line edit box; raises got and lost focus (content changed comes from textChanged).
class EditBox final : public QLineEdit, public Hosted {
 public:
  EditBox(Window* host, QWidget* parent);

  // Whether `text` shows whole in the box, without scrolling.
  bool Fits(const QString& text) const;
  // The caption of the window menu a right click opens; empty for the standard menu.
  void SetContextMenu(const QString& caption) { context_menu_ = caption; }
  const QString& context_menu() const { return context_menu_; }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void PlaceText();

  QString context_menu_;

  // Advances of the ASCII characters in the box's font, measured on first use: results are
  // checked against the box's width on every keystroke, and shaping each text costs more.
  mutable std::array<qreal, 128> advances_{};
  mutable bool measured_ = false;
};

// Kind::EditBox: a single-line EditBox, or a MultiLineEditBox for Input::MultiLine.
QWidget* MakeEditBox(Window* host, const ControlDesign& design, QWidget* parent);
// Gives a copy the original's alignment, read-only state and text.
void CopyEditBox(const QWidget* original, QWidget* copy);

}  // namespace velmora
