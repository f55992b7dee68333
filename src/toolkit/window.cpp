#include "toolkit/window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>
#include <optional>

#include "toolkit/colour.h"
#include "toolkit/private/advanced_page_control.h"
#include "toolkit/private/control_index.h"
#include "toolkit/private/design_font.h"
#include "toolkit/private/event_dispatch.h"
#include "toolkit/private/hosted.h"
#include "toolkit/private/image_button.h"
#include "toolkit/private/label_control.h"
#include "toolkit/private/label_pairing.h"
#include "toolkit/private/page_control.h"
#include "toolkit/private/pictures.h"
#include "toolkit/private/reading_order.h"
#include "toolkit/private/realise.h"
#include "toolkit/private/scroll_box.h"
#include "toolkit/private/scrolling_area.h"
#include "toolkit/private/window_background.h"
#include "toolkit/private/window_drag.h"
#include "toolkit/private/window_menus.h"
#include "toolkit/private/window_tray.h"
#include "toolkit/utf8_text.h"

namespace velmora {

Window::Window(const WindowDesign& design, HandlerTable handlers, Window* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint),
      design_(design),
      handlers_(std::move(handlers)),
      index_(std::make_unique<ControlIndex>()),
      menus_(std::make_unique<WindowMenus>(*this)),
      background_(std::make_unique<WindowBackground>(*this)),
      drag_(std::make_unique<BackgroundDrag>()) {
  setObjectName(FromUtf8(design_.name));
  setWindowTitle(FromUtf8(design_.title));
  QIcon icon;
  for (const std::string& picture : design_.icon_pictures) {
    // A decoded (or prefetched) picture: QIcon::addFile would decode each file here to learn
    // its size, and again when the window is shown.
    const QPixmap pixmap = LoadPicture(FromUtf8(picture));
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  if (!icon.isNull()) setWindowIcon(icon);
  setGeometry(design_.left, design_.top, design_.width, design_.height);
  setFixedSize(design_.width, design_.height);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(design_.background));
  setPalette(colours);
  setAutoFillBackground(true);
  setFont(DesignFont(FontDesign{}));

  ControlIndex::Record own;
  own.kind = Kind::Window;
  own.bindings = ResolveBindings(handlers_, design_.events);
  index_->AddUntagged(this, own);
  BuildControls();
}

Window::~Window() {
  // Controls still alive see their last focus changes while the base class tears them down.
  index_->ForEach([](QObject* object, const ControlIndex::Record&) {
    if (auto* hosted = dynamic_cast<Hosted*>(object)) hosted->Detach();
  });
}

void Window::Register(QObject* object, Kind kind, const ControlDesign* design,
                      const std::vector<EventBinding>& events, const QString& tag) {
  ControlIndex::Record record;
  record.kind = kind;
  record.design = design;
  record.bindings = ResolveBindings(handlers_, events);
  index_->Add(object, record, tag);
  Track(object);
}

void Window::Track(QObject* object) {
  QObject::connect(object, &QObject::destroyed, &connection_guard_,
                   [this, object] { index_->Remove(object); });
}

void Window::AddMenuItem(QAction* action, const MenuItemDesign& item) {
  const QString name = FromUtf8(item.name);
  action->setObjectName(name);
  QObject::connect(action, &QAction::triggered, &connection_guard_,
                   [this, action] { Raise(action, Event::Chosen); });
  Register(action, Kind::MenuItem, nullptr, item.events, QString());
  index_->Name(name, action);
}

QWidget* Window::ParentFor(const ControlDesign& design) const {
  if (design.parent.empty()) return const_cast<Window*>(this);
  QObject* parent = index_->ByName(FromUtf8(design.parent));
  if (auto* pages = dynamic_cast<PageControl*>(parent)) {
    return pages->page(design.page) != nullptr ? pages->page(design.page) : pages;
  }
  if (auto* area = dynamic_cast<ScrollingArea*>(parent)) return area->content();
  if (auto* tabs = dynamic_cast<AdvancedPageControl*>(parent)) {
    return tabs->page(design.page) != nullptr ? tabs->page(design.page) : tabs;
  }
  if (auto* box = dynamic_cast<ScrollBox*>(parent)) return box->content();
  if (auto* widget = qobject_cast<QWidget*>(parent)) return widget;
  return const_cast<Window*>(this);
}

QObject* Window::Realise(const ControlDesign& design) {
  QObject* object = RealiseControl(this, design, ParentFor(design));
  if (object == nullptr) return nullptr;
  const QString name = FromUtf8(design.name);
  object->setObjectName(name);
  Register(object, design.kind, &design, design.events, FromUtf8(design.tag));
  index_->Name(name, object);
  return object;
}

void Window::BuildControls() {
  for (const ControlDesign& design : design_.controls) {
    if (design.made_on_first_use) {
      index_->AddPending(&design);
      // A bare hidden widget holds the control's place in the focus chain until it is made.
      auto* stand_in = new QWidget(ParentFor(design));
      stand_in->setGeometry(design.left, design.top, design.width, design.height);
      stand_in->setFocusPolicy(Qt::TabFocus);
      stand_in->hide();
      stand_ins_.insert(FromUtf8(design.name), stand_in);
      continue;
    }
    Realise(design);
  }
  PairLabels();
  std::vector<QWidget*> widgets;
  index_->ForEach([&widgets](QObject* object, const ControlIndex::Record& record) {
    if (auto* label = dynamic_cast<LabelControl*>(object)) label->UpdateFocusPolicy();
    if (record.design != nullptr && object->isWidgetType()) {
      widgets.push_back(static_cast<QWidget*>(object));
    }
  });
  for (QWidget* stand_in : std::as_const(stand_ins_)) widgets.push_back(stand_in);
  // The window opens with the focus on its first control that takes input: not on a picture
  // button of its title bar, nor on a link.
  for (QWidget* widget : SetReadingFocusOrder(this, widgets)) {
    if (dynamic_cast<ImageButton*>(widget) != nullptr ||
        dynamic_cast<LabelControl*>(widget) != nullptr || !widget->isVisibleTo(this)) {
      continue;
    }
    widget->setFocus(Qt::OtherFocusReason);
    break;
  }
}

QObject* Window::MakePending(const QString& name) {
  const ControlDesign* pending = index_->TakePending(name);
  if (pending == nullptr) return nullptr;
  const ControlDesign& design = *pending;
  QObject* object = Realise(design);
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return object;
  if (auto* label = dynamic_cast<LabelControl*>(widget)) label->UpdateFocusPolicy();
  // Paired as at the start: with the label it names (a label still waiting is made now and pairs
  // itself), or with the control naming it.
  if (!design.label.empty()) {
    const QString label = FromUtf8(design.label);
    if (QObject* made = index_->ByName(label)) {
      PairWithLabel(widget, qobject_cast<QLabel*>(made));
    } else {
      MakePending(label);
    }
  }
  for (const ControlDesign& other : design_.controls) {
    if (other.label == design.name) {
      PairWithLabel(qobject_cast<QWidget*>(index_->ByName(FromUtf8(other.name))),
                    qobject_cast<QLabel*>(widget));
    }
  }
  // The control takes the place its stand-in held in the focus chain.
  QWidget* stand_in = stand_ins_.take(name);
  if (stand_in != nullptr && (widget->focusPolicy() & Qt::TabFocus)) {
    QWidget::setTabOrder(stand_in, widget);
  }
  delete stand_in;
  return object;
}

void Window::PairLabels() {
  for (const ControlDesign& design : design_.controls) {
    if (design.label.empty()) continue;
    PairWithLabel(qobject_cast<QWidget*>(index_->ByName(FromUtf8(design.name))),
                  qobject_cast<QLabel*>(index_->ByName(FromUtf8(design.label))));
  }
}

void Window::PlaceCopy(const ControlDesign& design, QObject* copy) {
  auto* widget = qobject_cast<QWidget*>(copy);
  if (widget == nullptr) return;
  QWidget* previous = latest_copies_.value(&design);
  if (previous == nullptr) {
    previous = qobject_cast<QWidget*>(index_->ByName(FromUtf8(design.name)));
  }
  latest_copies_.insert(&design, widget);
  if (previous != nullptr && (widget->focusPolicy() & Qt::TabFocus)) {
    QWidget::setTabOrder(previous, widget);
  }

  // The design that pairs with this one: the label it names, or the control naming it.
  const ControlDesign* partner = nullptr;
  for (const ControlDesign& other : design_.controls) {
    if ((!design.label.empty() && other.name == design.label) || other.label == design.name) {
      partner = &other;
      break;
    }
  }
  if (partner == nullptr) return;
  QObject* other = unpaired_copies_.take(partner);
  if (other == nullptr) {
    unpaired_copies_.insert(&design, copy);
    return;
  }
  const bool is_label = design.label.empty();
  QObject* control = is_label ? other : copy;
  QObject* label = is_label ? copy : other;
  PairWithLabel(qobject_cast<QWidget*>(control), qobject_cast<QLabel*>(label));
}

bool Window::Raise(QObject* source, Event event, QPoint position, int modifiers, int tray_kind,
                   int key, const QString& text) {
  const ControlIndex::Record* own = index_->Find(source);
  if (own == nullptr) return false;
  const ControlIndex::Record* owner = own->redirect != nullptr ? index_->Find(own->redirect) : own;
  if (owner == nullptr) return false;
  const Binding binding = owner->bindings[static_cast<int>(event)];
  if (binding.handler == nullptr) return false;

  EventArgs args;
  args.window = this;
  args.source = Control(source, own->kind);
  args.event = event;
  args.x = position.x();
  args.y = position.y();
  args.modifiers = modifiers;
  args.tray_kind = tray_kind;
  args.key = key;
  args.text = text;
  RunHandler(binding, args);
  return true;
}

bool Window::Handles(const QObject* source, Event event) const {
  const ControlIndex::Record* owner = index_->Handling(source);
  return owner != nullptr && owner->bindings[static_cast<int>(event)].handler != nullptr;
}

Control Window::ControlFor(QObject* object) const {
  const ControlIndex::Record* found = index_->Find(object);
  return found == nullptr ? Control() : Control(object, found->kind);
}

Control Window::FindByName(const QString& name) {
  QObject* found = index_->ByName(name);
  if (found == nullptr && index_->IsPending(name)) found = MakePending(name);
  // Menu items are controls too: asking for one makes the menus.
  if (found == nullptr && menus_->MakeItem(name)) return ControlFor(index_->ByName(name));
  return ControlFor(found);
}

Control Window::FindByTag(int tag) {
  QObject* found = index_->ByTag(tag);
  if (found == nullptr) {
    if (const std::optional<QString> pending = index_->PendingByTag(tag)) {
      found = MakePending(*pending);
    }
  }
  return ControlFor(found);
}

void Window::TagChanged(QObject* object, const QString& tag) {
  index_->Retag(object, tag);
}

Control Window::Copy(Control template_control, std::optional<int> argument) {
  QObject* original = template_control.object();
  const ControlIndex::Record* found = index_->Find(original);
  if (found == nullptr || found->design == nullptr) return {};
  const ControlIndex::Record source = *found;
  auto* original_widget = qobject_cast<QWidget*>(original);
  QWidget* parent = original_widget != nullptr ? original_widget->parentWidget() : this;
  QObject* copy = RealiseControl(this, *source.design, parent);
  if (copy == nullptr) return {};
  copy->setObjectName(original->objectName() + QStringLiteral("#%1").arg(++copies_made_));
  CopyProperties(source.kind, original, copy);
  ControlIndex::Record record;
  record.kind = source.kind;
  record.design = source.design;
  record.bindings = source.bindings;
  if (argument) {
    for (Binding& binding : record.bindings) binding.argument = *argument;
  }
  index_->Add(copy, record, original->property("tag").toString());
  Track(copy);
  PlaceCopy(*source.design, copy);
  return Control(copy, source.kind);
}

void Window::DeleteCopies(Control template_control) {
  // Each deletion takes its copy out of the index (see Register).
  for (QObject* copy : index_->CopiesOf(template_control.object())) delete copy;
}

void Window::Redirect(QObject* source, QObject* target) {
  index_->Redirect(source, target);
}

QMenu* Window::Menu(const QString& caption) {
  return menus_->Menu(caption);
}

void Window::PopupContextMenu(QObject* owner, const QString& caption, QPoint screen_position) {
  menus_->PopupContextMenu(owner, caption, screen_position);
}

Control Window::context_menu_owner() const {
  return ControlFor(menus_->context_menu_owner());
}

QMenuBar* Window::menu_bar() {
  return menus_->menu_bar();
}

void Window::SetMenuVisible(const QString& caption, bool visible) {
  menus_->SetMenuVisible(caption, visible);
}

bool Window::MenuShown(const QString& caption) const {
  return menus_->MenuShown(caption);
}

void Window::UpdateMenuBar() {
  menus_->UpdateMenuBar();
}

QSystemTrayIcon* Window::Tray() {
  if (tray_ == nullptr) tray_ = MakeTrayIcon(this);
  return tray_;
}

void Window::SetBackgroundPicture(const QString& picture) {
  background_->SetPicture(picture);
}

const QString& Window::background_picture() const {
  return background_->picture();
}

void Window::PaintOutline(QSizeF corner) {
  background_->PaintOutline(corner);
}

bool Window::paints_outline() const {
  return background_->paints_outline();
}

void Window::SetBackgroundAlpha(int alpha) {
  background_->SetAlpha(alpha);
}

int Window::background_alpha() const {
  return background_->alpha();
}

void Window::Destroy() {
  if (destroying_) return;
  destroying_ = true;
  Raise(this, Event::Destroying);
  hide();
  deleteLater();
}

void Window::paintEvent(QPaintEvent* event) {
  if (!background_->paints_outline()) QWidget::paintEvent(event);
  background_->Paint();
}

void Window::showEvent(QShowEvent* event) {
  // The show event comes before the platform shows the window: a compositor learns the
  // transient parent with the window and places a modal one over it. Qt's offscreen platform
  // places no windows, and there a modal window with a transient parent no longer takes the
  // keyboard focus on a click, so it goes without.
  if (placed_over_ != nullptr && windowHandle() != nullptr &&
      QGuiApplication::platformName() != QLatin1String("offscreen") &&
      windowHandle()->transientParent() == nullptr) {
    windowHandle()->setTransientParent(placed_over_->windowHandle());
  }
  QWidget::showEvent(event);
  menus_->WindowShown();
}

void Window::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (Raise(this, Event::LeftButtonDown, event->position().toPoint(), event->modifiers().toInt())) {
    return;
  }
  if (!design_.drag_by_background || StartSystemMove(this)) return;
  drag_->Start(*this, event->globalPosition().toPoint());
}

void Window::mouseMoveEvent(QMouseEvent* event) {
  drag_->Follow(*this, *event);
}

void Window::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  drag_->End();
  Raise(this, Event::LeftButtonUp, event->position().toPoint(), event->modifiers().toInt());
}

void Window::closeEvent(QCloseEvent* event) {
  // A close from outside (the task bar, the window manager) ends the window as DestroyWindow does,
  // unless the window's handlers take the request.
  event->ignore();
  if (close_request_handler_ && !destroying_) {
    const std::function<void()> handler = close_request_handler_;
    handler();
    return;
  }
  Destroy();
}

void Window::keyPressEvent(QKeyEvent* event) {
  // Keys reach the window when the focused control (if any) had no use for them.
  if (!Raise(this, Event::KeyDown, {}, event->modifiers().toInt(), 0, event->key(),
             event->text())) {
    QWidget::keyPressEvent(event);
  }
}

}  // namespace velmora
