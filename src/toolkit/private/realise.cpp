#include "toolkit/private/realise.h"

#include <QTimer>
#include <QWidget>

#include "toolkit/private/advanced_page_control.h"
#include "toolkit/private/design_font.h"
#include "toolkit/private/edit_box.h"
#include "toolkit/private/grid_control.h"
#include "toolkit/private/image_button.h"
#include "toolkit/private/label_control.h"
#include "toolkit/private/page_control.h"
#include "toolkit/private/picture_box.h"
#include "toolkit/private/plain_controls.h"
#include "toolkit/private/scroll_box.h"
#include "toolkit/private/scrolling_area.h"
#include "toolkit/private/super_button.h"
#include "toolkit/utf8_text.h"

namespace velmora {
namespace {

QWidget* MakeWidget(Window* host, const ControlDesign& design, QWidget* parent) {
  switch (design.kind) {
    case Kind::EditBox:
      return MakeEditBox(host, design, parent);
    case Kind::TransparentLabel:
    case Kind::Label:
      return MakeLabel(host, design, parent);
    case Kind::SuperButton:
      return MakeSuperButton(host, design, parent);
    case Kind::Button:
      return MakeButton(host, design, parent);
    case Kind::ImageButton:
      return MakeImageButton(host, design, parent);
    case Kind::CheckBox:
      return MakeCheckBox(host, design, parent);
    case Kind::RadioButton:
      return MakeRadioButton(host, design, parent);
    case Kind::PageControl:
      return MakePageControl(host, design, parent);
    case Kind::AdvancedPageControl:
      return MakeAdvancedPageControl(design, parent);
    case Kind::Grid:
      return MakeGrid(design, parent);
    case Kind::ScrollBox:
      return MakeScrollingArea(parent);
    case Kind::Canvas:
    case Kind::ShapeBox:
      return MakeFrame(design, parent);
    case Kind::FramedScrollBox:
      return MakeScrollBox(design, parent);
    case Kind::GroupBox:
      return MakeGroupBox(design, parent);
    case Kind::PictureBox:
      return MakePictureBox(design, parent);
    case Kind::Window:
    case Kind::HyperlinkBox:
    case Kind::Timer:
    case Kind::MenuItem:
    case Kind::MenuSkin:
      break;
  }
  return nullptr;
}

// The properties that belong to the kind alone; nothing for kinds that carry no more than what
// every widget has.
void CopyKindProperties(Kind kind, const QWidget* from, QWidget* to) {
  switch (kind) {
    case Kind::EditBox:
      CopyEditBox(from, to);
      break;
    case Kind::TransparentLabel:
    case Kind::Label:
      CopyLabel(from, to);
      break;
    case Kind::SuperButton:
      CopySuperButton(from, to);
      break;
    case Kind::ImageButton:
      CopyImageButton(from, to);
      break;
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::RadioButton:
      CopyButtonCaption(from, to);
      break;
    case Kind::PictureBox:
      CopyPictureBox(from, to);
      break;
    default:
      break;
  }
}

}  // namespace

QObject* RealiseControl(Window* host, const ControlDesign& design, QWidget* parent) {
  if (design.kind == Kind::Timer) return MakeTimer(host);
  if (design.kind == Kind::HyperlinkBox || design.kind == Kind::MenuSkin) {
    return MakeHolder(host, design);
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
    if (qobject_cast<QTimer*>(copy) != nullptr) {
      CopyTimer(original, copy);
    } else {
      CopyHolder(original, copy);
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
  CopyKindProperties(kind, from, to);
  to->setVisible(!from->isHidden());
}

}  // namespace velmora
