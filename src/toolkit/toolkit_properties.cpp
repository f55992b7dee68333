// The property operations of toolkit.h: texts, tags, places, looks, pictures, timers, pages.

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTimer>

#include "toolkit/colour.h"
#include "toolkit/private/advanced_page_control.h"
#include "toolkit/private/control_index.h"
#include "toolkit/private/edit_box.h"
#include "toolkit/private/image_button.h"
#include "toolkit/private/label_pairing.h"
#include "toolkit/private/picture_box.h"
#include "toolkit/private/scrolling_area.h"
#include "toolkit/private/super_button.h"
#include "toolkit/private/program_write.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

QWidget* AsWidget(Control control) {
  QObject* object = control.object();
  return object != nullptr && object->isWidgetType() ? static_cast<QWidget*>(object) : nullptr;
}

QPalette::ColorRole BackgroundRole(Kind kind) {
  return kind == Kind::EditBox || kind == Kind::Grid ? QPalette::Base : QPalette::Window;
}

}  // namespace

QString Text(Control control) {
  QObject* object = control.object();
  if (object == nullptr) return {};
  switch (control.kind()) {
    case Kind::EditBox:
      if (auto* edit = qobject_cast<QLineEdit*>(object)) return edit->text();
      return static_cast<QPlainTextEdit*>(object)->toPlainText();
    case Kind::TransparentLabel:
    case Kind::Label:
      return static_cast<QLabel*>(object)->text();
    case Kind::SuperButton:
    case Kind::Button:
    case Kind::ImageButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
      return static_cast<QAbstractButton*>(object)->text();
    case Kind::GroupBox:
      return static_cast<QGroupBox*>(object)->title();
    case Kind::MenuItem:
      return static_cast<QAction*>(object)->text();
    case Kind::HyperlinkBox:
      return object->property("address").toString();
    case Kind::Window:
      return static_cast<QWidget*>(object)->windowTitle();
    default:
      return {};
  }
}

void SetText(Control control, const QString& text) {
  QObject* object = control.object();
  if (object == nullptr) return;
  switch (control.kind()) {
    case Kind::EditBox:
      if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        if (edit->text() == text) return;
        // A program write is shown as written: the validator judges only what the user types
        // (QLineEdit would otherwise pass the new text through it).
        const QValidator* validator = edit->validator();
        edit->setValidator(nullptr);
        edit->setText(text);
        edit->setValidator(validator);
        // setText leaves the caret at the end, which scrolls a long text to its tail and hides
        // its leading digits; the box the user types in keeps the caret where it is.
        if (!edit->hasFocus()) edit->setCursorPosition(0);
      } else {
        const ProgramWrite write(object);
        static_cast<QPlainTextEdit*>(object)->setPlainText(text);
      }
      break;
    case Kind::TransparentLabel:
    case Kind::Label: {
      auto* label = static_cast<QLabel*>(object);
      label->setText(text);
      LabelTextChanged(label);
      break;
    }
    case Kind::SuperButton:
    case Kind::Button:
    case Kind::ImageButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
      static_cast<QAbstractButton*>(object)->setText(text);
      break;
    case Kind::GroupBox:
      static_cast<QGroupBox*>(object)->setTitle(text);
      break;
    case Kind::MenuItem:
      static_cast<QAction*>(object)->setText(text);
      break;
    case Kind::HyperlinkBox:
      object->setProperty("address", text);
      break;
    case Kind::Window:
      static_cast<QWidget*>(object)->setWindowTitle(text);
      break;
    default:
      break;
  }
}

QString Tag(Control control) {
  return control ? control.object()->property("tag").toString() : QString();
}

void SetTag(Control control, const QString& tag) {
  if (!control) return;
  control.object()->setProperty("tag", tag);
  if (Window* window = OwningWindow(control.object())) window->TagChanged(control.object(), tag);
}

int Left(Control control) {
  const QWidget* widget = AsWidget(control);
  return widget != nullptr ? widget->x() : 0;
}

int Top(Control control) {
  const QWidget* widget = AsWidget(control);
  return widget != nullptr ? widget->y() : 0;
}

int Width(Control control) {
  const QWidget* widget = AsWidget(control);
  return widget != nullptr ? widget->width() : 0;
}

int Height(Control control) {
  const QWidget* widget = AsWidget(control);
  return widget != nullptr ? widget->height() : 0;
}

void Move(Control control, int left, int top) {
  if (QWidget* widget = AsWidget(control)) widget->move(left, top);
}

void Resize(Control control, int width, int height) {
  if (QWidget* widget = AsWidget(control)) widget->resize(width, height);
}

bool Visible(Control control) {
  if (control.kind() == Kind::MenuItem) return static_cast<QAction*>(control.object())->isVisible();
  const QWidget* widget = AsWidget(control);
  if (widget == nullptr) return false;
  // A control's own flag: a row on a page that is not on show is still visible.
  return widget->isWindow() ? widget->isVisible() : !widget->isHidden();
}

void SetVisible(Control control, bool visible) {
  if (control.kind() == Kind::MenuItem) {
    static_cast<QAction*>(control.object())->setVisible(visible);
  } else if (QWidget* widget = AsWidget(control)) {
    widget->setVisible(visible);
  }
}

Cursor MouseCursor(Control control) {
  const QWidget* widget = AsWidget(control);
  if (widget == nullptr || !widget->testAttribute(Qt::WA_SetCursor)) return Cursor::Default;
  switch (widget->cursor().shape()) {
    case Qt::PointingHandCursor:
      return Cursor::Hand;
    case Qt::IBeamCursor:
      return Cursor::Text;
    default:
      return Cursor::Default;
  }
}

void SetMouseCursor(Control control, Cursor cursor) {
  QWidget* widget = AsWidget(control);
  if (widget == nullptr) return;
  switch (cursor) {
    case Cursor::Hand:
      widget->setCursor(Qt::PointingHandCursor);
      break;
    case Cursor::Text:
      widget->setCursor(Qt::IBeamCursor);
      break;
    case Cursor::Default:
      widget->unsetCursor();
      break;
  }
}

bool Disabled(Control control) {
  if (control.kind() == Kind::MenuItem)
    return !static_cast<QAction*>(control.object())->isEnabled();
  const QWidget* widget = AsWidget(control);
  return widget != nullptr && !widget->isEnabled();
}

void SetDisabled(Control control, bool disabled) {
  if (control.kind() == Kind::MenuItem) {
    static_cast<QAction*>(control.object())->setEnabled(!disabled);
  } else if (QWidget* widget = AsWidget(control)) {
    widget->setEnabled(!disabled);
  }
}

Colour BackgroundColour(Control control) {
  if (control.kind() == Kind::SuperButton) {
    return static_cast<SuperButton*>(control.object())->background();
  }
  const QWidget* widget = AsWidget(control);
  if (widget == nullptr) return kLightGrey;
  return FromQColor(widget->palette().color(BackgroundRole(control.kind())));
}

void SetBackgroundColour(Control control, Colour colour) {
  if (control.kind() == Kind::SuperButton) {
    static_cast<SuperButton*>(control.object())->SetBackground(colour);
    return;
  }
  QWidget* widget = AsWidget(control);
  if (widget == nullptr) return;
  const QPalette::ColorRole role = BackgroundRole(control.kind());
  QPalette palette = widget->palette();
  palette.setColor(role, ToQColor(colour));
  widget->setPalette(palette);
  if (role == QPalette::Window && control.kind() != Kind::TransparentLabel) {
    widget->setAutoFillBackground(true);
  }
}

Colour TextColour(Control control) {
  const QWidget* widget = AsWidget(control);
  if (widget == nullptr) return kBlack;
  return FromQColor(widget->palette().color(
      control.kind() == Kind::EditBox ? QPalette::Text : QPalette::WindowText));
}

void SetTextColour(Control control, Colour colour) {
  QWidget* widget = AsWidget(control);
  if (widget == nullptr) return;
  QPalette palette = widget->palette();
  for (const QPalette::ColorRole role :
       {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    palette.setColor(role, ToQColor(colour));
  }
  widget->setPalette(palette);
}

QString Picture(Control control) {
  QObject* object = control.object();
  switch (control.kind()) {
    case Kind::SuperButton:
      return static_cast<SuperButton*>(object)->picture();
    case Kind::ImageButton:
      return static_cast<ImageButton*>(object)->picture();
    case Kind::PictureBox:
      return static_cast<PictureBox*>(object)->picture();
    case Kind::Window:
      return static_cast<Window*>(object)->background_picture();
    default:
      return {};
  }
}

void SetPicture(Control control, const QString& picture) {
  QObject* object = control.object();
  switch (control.kind()) {
    case Kind::SuperButton:
      static_cast<SuperButton*>(object)->SetPicture(picture);
      break;
    case Kind::ImageButton: {
      auto* button = static_cast<ImageButton*>(object);
      button->SetPictures(picture, button->hover_picture(), button->pressed_picture());
      break;
    }
    case Kind::PictureBox:
      static_cast<PictureBox*>(object)->SetPicture(picture);
      break;
    case Kind::Window:
      static_cast<Window*>(object)->SetBackgroundPicture(picture);
      break;
    default:
      break;
  }
}

void SetStatePicture(Control control, const QString& picture, Colour colour) {
  if (control.kind() == Kind::SuperButton) {
    static_cast<SuperButton*>(control.object())->SetStatePicture(picture, colour);
  }
}

int TimerInterval(Control control) {
  if (control.kind() != Kind::Timer) return 0;
  const auto* timer = static_cast<QTimer*>(control.object());
  return timer->isActive() ? timer->interval() : 0;
}

void SetTimerInterval(Control control, int milliseconds) {
  if (control.kind() != Kind::Timer) return;
  auto* timer = static_cast<QTimer*>(control.object());
  if (milliseconds <= 0) {
    timer->stop();
  } else {
    timer->start(milliseconds);
  }
}

int CurrentPage(Control page_control) {
  QObject* object = page_control.object();
  if (auto* pages = qobject_cast<QStackedWidget*>(object)) return pages->currentIndex();
  if (auto* tabs = dynamic_cast<AdvancedPageControl*>(object)) return tabs->currentIndex();
  return -1;
}

void SetCurrentPage(Control page_control, int index) {
  QObject* object = page_control.object();
  if (auto* pages = qobject_cast<QStackedWidget*>(object)) {
    if (index >= 0 && index < pages->count()) pages->setCurrentIndex(index);
  } else if (auto* tabs = dynamic_cast<AdvancedPageControl*>(object)) {
    tabs->setCurrentIndex(index);
  }
}

bool Checked(Control control) {
  auto* button = qobject_cast<QAbstractButton*>(control.object());
  return button != nullptr && button->isChecked();
}

void SetChecked(Control control, bool checked) {
  if (auto* button = qobject_cast<QAbstractButton*>(control.object())) button->setChecked(checked);
}

void BringIntoView(Control control) {
  QWidget* widget = AsWidget(control);
  for (ScrollingArea* area = ScrollingAreaOf(widget); area != nullptr;
       area = ScrollingAreaOf(area)) {
    area->BringIntoView(area->AreaOf(widget));
    widget = area;
  }
}

bool TextFits(Control edit_box, const QString& text) {
  if (const auto* edit = dynamic_cast<const EditBox*>(edit_box.object())) return edit->Fits(text);
  return true;
}

QString Hint(Control control) {
  const QWidget* widget = AsWidget(control);
  return widget != nullptr ? widget->toolTip() : QString();
}

void SetHint(Control control, const QString& hint) {
  QWidget* widget = AsWidget(control);
  if (widget != nullptr && widget->toolTip() != hint) widget->setToolTip(hint);
}

}  // namespace velmora
