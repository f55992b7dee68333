#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QString>
#include <QTabBar>
#include <array>
#include <optional>
#include <vector>

#include "toolkit/design.h"

class QPainter;

namespace velmora {

class Window;

// A control that raises events on its window by itself. The window detaches it before the window
// goes, so that the focus and mouse events of its final moments reach no handler.
class Hosted {
 public:
  explicit Hosted(Window* host) : host_(host) {}
  virtual ~Hosted() = default;
  void Detach() { host_ = nullptr; }

 protected:
  bool Raise(QWidget* source, Event event);
  Window* host_;
};

// The baseline, counted from the top of an area `height` pixels tall, that centres in it the ink
// of digits with their commas and minus signs, of Latin letters with descenders and of CJK
// characters, so that none of them is cut at the designed sizes (16 pixels for 12-pixel text).
int CentredBaseline(const QFont& font, int height);

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

class MultiLineEditBox final : public QPlainTextEdit, public Hosted {
 public:
  MultiLineEditBox(Window* host, QWidget* parent);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

// Transparent and opaque labels: plain text only, since captions may come from config.dat or
// the network. Left button down / up are raised when bound, otherwise they reach the parent.
// A text that the font's own line spacing would push past the label's height is set line by
// line at a pitch of the font's pixel size, as the designs' bitmap font did.
// A single line of text is placed on CentredBaseline, as in edit boxes.
// A label that shows the hand cursor and handles left button down is a link: it takes the focus
// by Tab and Space or Enter raise left button down and up, as a click does.
class LabelControl final : public QLabel, public Hosted {
 public:
  LabelControl(Window* host, QWidget* parent);

  bool IsLink() const;
  // Takes the focus by Tab while it is a link; called when the cursor or the bindings change.
  void UpdateFocusPolicy();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintLines(QPaintEvent* event);
};

// Push button drawn from a face picture (a background of its own size) or an icon beside its
// caption, with an optional picture and colour for the hovered and pressed state.
class SuperButton final : public QAbstractButton {
 public:
  explicit SuperButton(QWidget* parent);

  const QString& picture() const { return picture_; }
  void SetPicture(const QString& picture);
  void SetStatePicture(const QString& picture, Colour colour);
  bool has_state() const { return has_state_; }
  const QString& state_picture() const { return state_picture_; }
  Colour state_colour() const { return state_colour_; }
  void SetBackground(Colour colour);
  Colour background() const { return background_; }

 protected:
  // A checkable button is chosen by code only.
  void nextCheckState() override {}
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QString picture_;
  QString state_picture_;
  Colour state_colour_ = kWhite;
  bool has_state_ = false;
  Colour background_ = kLightGrey;
  bool hovered_ = false;
};

// Button drawn from three pictures of its size; draws a plain glyph when they are missing.
class ImageButton final : public QAbstractButton {
 public:
  explicit ImageButton(QWidget* parent);

  void SetPictures(const QString& normal, const QString& hover, const QString& pressed);
  const QString& picture() const { return normal_; }
  const QString& hover_picture() const { return hover_; }
  const QString& pressed_picture() const { return pressed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QString normal_;
  QString hover_;
  QString pressed_;
  bool hovered_ = false;
};

// Page control whose pages are switched by code; no tabs are drawn. Each page is a panel that
// scrolls once its controls reach past the control's edges (see ScrollingArea).
class PageControl final : public QStackedWidget, public Hosted {
 public:
  PageControl(Window* host, QWidget* parent);

  // A new last page with this caption; `name` is the object name of its panel.
  void AddPage(const QString& caption, const QString& name);
  // The panel of page `index` that its controls stand on; nullptr outside the pages.
  QWidget* page(int index) const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// Page control with drawn tabs along its top edge. Every page covers the whole control, so the
// places of a page's controls count from the control's corner; the tabs are drawn over the top
// of the pages and the designs keep their controls below them.
class AdvancedPageControl final : public QWidget {
 public:
  explicit AdvancedPageControl(QWidget* parent);

  // A new page with this tab caption; its object name is `name`.
  QWidget* AddPage(const QString& caption, const QString& name);
  int count() const { return static_cast<int>(pages_.size()); }
  QWidget* page(int index) const;
  int currentIndex() const;
  void setCurrentIndex(int index);
  QTabBar* tab_bar() const { return tabs_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Show(int index);
  void Layout();

  QTabBar* tabs_;
  std::vector<QWidget*> pages_;
};

// Shows one picture as large as fits its box with the picture's proportions kept, centred; a
// picture of the box's size fills it exactly.
class PictureBox final : public QWidget {
 public:
  explicit PictureBox(QWidget* parent) : QWidget(parent) {}

  const QString& picture() const { return picture_; }
  void SetPicture(const QString& picture);
  // Where a picture of size `picture` is drawn inside a box of size `box`.
  static QRect PictureArea(QSize picture, QSize box);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString picture_;
};

// A picture from the resources, cached; a null pixmap when it does not exist. With a `clip` (in
// logical pixels), only its top-left part of that size. Where the screen has more than one device
// pixel per logical pixel, the picture drawn for two (its `name@2x` file) when there is one: its
// device pixel ratio is then 2, and its logical size (deviceIndependentSize) that of the 1x file.
QPixmap LoadPicture(const QString& path, QSize clip = {});
// Sets smooth pixmap transformation on a painter whose device has a fractional pixel ratio.
void SmoothAtFractionalScale(QPainter& painter);

// Makes `label` the buddy label of `control`. A control without an accessible name of its own
// (from its design, or a button's caption) is then named by the label's text, and keeps
// following it through LabelTextChanged.
void PairWithLabel(QWidget* control, QLabel* label);
// To be called after code changed a label's text.
void LabelTextChanged(QLabel* label);

}  // namespace velmora
