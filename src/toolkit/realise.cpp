#include "toolkit/realise.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <limits>

#include "toolkit/colour.h"
#include "toolkit/decimal_validator.h"
#include "toolkit/grid.h"
#include "toolkit/program_write.h"
#include "toolkit/scroll_box.h"
#include "toolkit/scrolling_area.h"
#include "toolkit/widgets.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Design texts may break lines the platform's way.
QString DesignText(const std::string& text) {
  QString result = FromUtf8(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

Qt::Alignment ToAlignment(Align align) {
  switch (align) {
    case Align::Centre:
      return Qt::AlignCenter;
    case Align::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

void ApplyColours(QWidget* widget, const Look& look, QPalette::ColorRole background_role) {
  QPalette palette = widget->palette();
  const QColor text = ToQColor(look.text_colour);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Text, text);
  if (look.has_background) palette.setColor(background_role, ToQColor(look.background));
  widget->setPalette(palette);
  if (look.has_background && background_role == QPalette::Window) {
    widget->setAutoFillBackground(true);
  }
}

QWidget* MakeEditBox(Window* host, const ControlDesign& design, QWidget* parent) {
  const Look& look = design.look;
  if (look.input == Input::MultiLine) {
    auto* edit = new MultiLineEditBox(host, parent);
    // Every change is content changed; one the program did not write is also user edited.
    QObject::connect(edit, &QPlainTextEdit::textChanged, host->connection_guard(), [host, edit] {
      const bool by_user = !ProgramWrite::Writing(edit);
      const QPointer<QObject> alive = edit;
      host->Raise(edit, Event::ContentChanged);
      if (by_user && alive) host->Raise(edit, Event::UserEdited);
    });
    edit->setPlainText(DesignText(design.text));
    ApplyColours(edit, look, QPalette::Base);
    return edit;
  }
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

QWidget* MakeClickable(Window* host, QAbstractButton* button) {
  QObject::connect(button, &QAbstractButton::clicked, host->connection_guard(),
                   [host, button] { host->Raise(button, Event::Clicked); });
  return button;
}

QWidget* MakePageControl(Window* host, const ControlDesign& design, QWidget* parent) {
  if (design.kind == Kind::AdvancedPageControl) {
    auto* tabs = new AdvancedPageControl(parent);
    tabs->setGeometry(design.left, design.top, design.width, design.height);
    ApplyColours(tabs, design.look, QPalette::Window);
    int index = 0;
    for (const std::string& caption : design.look.pages) {
      QWidget* page = tabs->AddPage(FromUtf8(caption),
                                    FromUtf8(design.name) + QStringLiteral("_page%1").arg(++index));
      Look page_look = design.look;
      page_look.has_background = true;
      ApplyColours(page, page_look, QPalette::Window);
    }
    return tabs;
  }
  auto* pages = new PageControl(host, parent);
  int index = 0;
  for (const std::string& caption : design.look.pages) {
    pages->AddPage(FromUtf8(caption),
                   FromUtf8(design.name) + QStringLiteral("_page%1").arg(++index));
  }
  ApplyColours(pages, design.look, QPalette::Window);
  return pages;
}

QWidget* MakeWidget(Window* host, const ControlDesign& design, QWidget* parent) {
  const Look& look = design.look;
  switch (design.kind) {
    case Kind::EditBox:
      return MakeEditBox(host, design, parent);
    case Kind::TransparentLabel:
    case Kind::Label:
      return MakeLabel(host, design, parent);
    case Kind::SuperButton: {
      auto* button = new SuperButton(parent);
      button->setText(FromUtf8(design.text));
      button->setCheckable(design.checkable);
      button->SetPicture(FromUtf8(look.picture));
      if (look.has_background) button->SetBackground(look.background);
      if (!look.hint.empty()) button->setToolTip(FromUtf8(look.hint));
      ApplyColours(button, look, QPalette::Button);
      return MakeClickable(host, button);
    }
    case Kind::Button: {
      auto* button = new QPushButton(FromUtf8(design.text), parent);
      ApplyColours(button, look, QPalette::Button);
      return MakeClickable(host, button);
    }
    case Kind::ImageButton: {
      auto* button = new ImageButton(parent);
      button->setText(FromUtf8(design.text));
      button->SetPictures(FromUtf8(look.picture), FromUtf8(look.picture_hover),
                          FromUtf8(look.picture_pressed));
      return MakeClickable(host, button);
    }
    case Kind::CheckBox: {
      auto* box = new QCheckBox(FromUtf8(design.text), parent);
      ApplyColours(box, look, QPalette::Window);
      return MakeClickable(host, box);
    }
    case Kind::RadioButton: {
      auto* button = new QRadioButton(FromUtf8(design.text), parent);
      ApplyColours(button, look, QPalette::Window);
      return MakeClickable(host, button);
    }
    case Kind::PageControl:
    case Kind::AdvancedPageControl:
      return MakePageControl(host, design, parent);
    case Kind::Grid: {
      QWidget* grid = MakeGridWidget(design, parent);
      ApplyColours(grid, look, QPalette::Base);
      return grid;
    }
    case Kind::ScrollBox:
      return new ScrollingArea(parent);
    case Kind::Canvas:
    case Kind::ShapeBox: {
      auto* frame = new QFrame(parent);
      if (design.kind == Kind::ShapeBox) frame->setFrameStyle(QFrame::Box | QFrame::Plain);
      ApplyColours(frame, look, QPalette::Window);
      return frame;
    }
    case Kind::FramedScrollBox: {
      auto* box = new ScrollBox(parent);
      ApplyColours(box->viewport(), look, QPalette::Window);
      ApplyColours(box->content(), look, QPalette::Window);
      return box;
    }
    case Kind::GroupBox: {
      auto* group = new QGroupBox(FromUtf8(design.text), parent);
      ApplyColours(group, look, QPalette::Window);
      return group;
    }
    case Kind::PictureBox: {
      auto* box = new PictureBox(parent);
      box->SetPicture(FromUtf8(look.picture));
      return box;
    }
    case Kind::Window:
    case Kind::HyperlinkBox:
    case Kind::Timer:
    case Kind::MenuItem:
    case Kind::MenuSkin:
      break;
  }
  return nullptr;
}

}  // namespace

bool IsChineseSystemFamily(const QString& family) {
  for (const char* name : kChineseSystemFamilies) {
    if (family.compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

QFont DesignFont(const FontDesign& font) {
  // The Chinese system font of the designs is asked for by the machine's CJK family directly:
  // looking up "宋体" first finds no such font and makes Qt rank every installed font for a
  // fallback (a few milliseconds for each new font at start-up) before it takes the substitute.
  QString family = FromUtf8(font.family);
  if (IsChineseSystemFamily(family)) family = QString::fromLatin1(kCjkFamily);
  QFont result(family);
  result.setPixelSize(font.pixel_size > 0 ? font.pixel_size : 12);
  return result;
}

QObject* RealiseControl(Window* host, const ControlDesign& design, QWidget* parent) {
  if (design.kind == Kind::Timer) {
    auto* timer = new QTimer(host);
    QObject::connect(timer, &QTimer::timeout, host->connection_guard(),
                     [host, timer] { host->Raise(timer, Event::Tick); });
    return timer;
  }
  if (design.kind == Kind::HyperlinkBox || design.kind == Kind::MenuSkin) {
    auto* holder = new QObject(host);
    holder->setProperty("address", FromUtf8(design.text));
    return holder;
  }
  QWidget* widget = MakeWidget(host, design, parent);
  if (widget == nullptr) return nullptr;
  widget->setFont(DesignFont(design.look.font));
  widget->setGeometry(design.left, design.top, design.width, design.height);
  if (design.cursor == Cursor::Hand) widget->setCursor(Qt::PointingHandCursor);
  if (design.cursor == Cursor::Text) widget->setCursor(Qt::IBeamCursor);
  if (!design.accessible_name.empty()) widget->setAccessibleName(FromUtf8(design.accessible_name));
  if (design.disabled) widget->setEnabled(false);
  if (!design.visible) widget->setVisible(false);
  return widget;
}

void CopyProperties(Kind kind, const QObject* original, QObject* copy) {
  const auto* from = qobject_cast<const QWidget*>(original);
  auto* to = qobject_cast<QWidget*>(copy);
  if (from == nullptr || to == nullptr) {
    if (auto* timer = qobject_cast<QTimer*>(copy)) {
      timer->setInterval(static_cast<const QTimer*>(original)->interval());
    } else {
      copy->setProperty("address", original->property("address"));
    }
    return;
  }
  to->setGeometry(from->geometry());
  to->setFont(from->font());
  to->setPalette(from->palette());
  to->setAutoFillBackground(from->autoFillBackground());
  if (from->testAttribute(Qt::WA_SetCursor)) to->setCursor(from->cursor());
  to->setEnabled(from->isEnabled());
  to->setToolTip(from->toolTip());
  switch (kind) {
    case Kind::EditBox:
      if (const auto* edit = dynamic_cast<const QLineEdit*>(from)) {
        auto* target = static_cast<QLineEdit*>(to);
        target->setAlignment(edit->alignment());
        target->setReadOnly(edit->isReadOnly());
        // The copy keeps the validator its design gave it, which follows the copy's own text.
        // The text is set without it, as a program write is.
        const QValidator* validator = target->validator();
        target->setValidator(nullptr);
        target->setText(edit->text());
        target->setValidator(validator);
      } else if (const auto* multi = dynamic_cast<const QPlainTextEdit*>(from)) {
        static_cast<QPlainTextEdit*>(to)->setPlainText(multi->toPlainText());
      }
      break;
    case Kind::TransparentLabel:
    case Kind::Label: {
      const auto* label = static_cast<const QLabel*>(from);
      auto* target = static_cast<QLabel*>(to);
      target->setAlignment(label->alignment());
      target->setWordWrap(label->wordWrap());
      target->setText(label->text());
      break;
    }
    case Kind::SuperButton: {
      const auto* button = static_cast<const SuperButton*>(from);
      auto* target = static_cast<SuperButton*>(to);
      target->setText(button->text());
      target->setCheckable(button->isCheckable());
      target->SetPicture(button->picture());
      target->SetBackground(button->background());
      break;
    }
    case Kind::ImageButton: {
      const auto* button = static_cast<const ImageButton*>(from);
      auto* target = static_cast<ImageButton*>(to);
      target->setText(button->text());
      target->SetPictures(button->picture(), button->hover_picture(), button->pressed_picture());
      break;
    }
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::RadioButton:
      static_cast<QAbstractButton*>(to)->setText(static_cast<const QAbstractButton*>(from)->text());
      break;
    case Kind::PictureBox:
      static_cast<PictureBox*>(to)->SetPicture(static_cast<const PictureBox*>(from)->picture());
      break;
    default:
      break;
  }
  to->setVisible(!from->isHidden());
}

}  // namespace velmora
