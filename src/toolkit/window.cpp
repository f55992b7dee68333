#include "toolkit/window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QWindow>
#include <cmath>
#include <limits>
#include <vector>

#include "text/number_text.h"
#include "toolkit/colour.h"
#include "toolkit/reading_order.h"
#include "toolkit/realise.h"
#include "toolkit/scroll_box.h"
#include "toolkit/scrolling_area.h"
#include "toolkit/widgets.h"

namespace velmora {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Handlers may raise further events (a program write raises content changed at once), so the
// sources form a stack.
std::vector<Control>& SourceStack() {
  static std::vector<Control> stack;
  return stack;
}

class SourceScope {
 public:
  explicit SourceScope(Control source) { SourceStack().push_back(source); }
  ~SourceScope() { SourceStack().pop_back(); }
  SourceScope(const SourceScope&) = delete;
  SourceScope& operator=(const SourceScope&) = delete;
};

// The tag as FindControlByTag reads it: the number at its start, truncated toward zero.
bool TagKey(const QString& tag, int* key) {
  if (tag.isEmpty()) return false;
  const QByteArray utf8 = tag.toUtf8();
  const double value = std::trunc(TextToNumber(std::string_view(utf8.data(), utf8.size())));
  if (!std::isfinite(value) || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max()) {
    return false;
  }
  *key = static_cast<int>(value);
  return true;
}

}  // namespace

Control CurrentEventSource() {
  return SourceStack().empty() ? Control() : SourceStack().back();
}

Window::Window(const WindowDesign& design, HandlerTable handlers, Window* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint),
      design_(design),
      handlers_(std::move(handlers)) {
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

  Record own;
  own.kind = Kind::Window;
  own.bindings = Resolve(design_.events);
  records_.insert(this, own);
  BuildControls();
}

Window::~Window() {
  // Controls still alive see their last focus changes while the base class tears them down.
  for (auto it = records_.cbegin(); it != records_.cend(); ++it) {
    if (auto* hosted = dynamic_cast<Hosted*>(it.key())) hosted->Detach();
  }
}

std::array<Window::Binding, kEventCount> Window::Resolve(
    const std::vector<EventBinding>& events) const {
  std::array<Binding, kEventCount> bindings{};
  for (const EventBinding& binding : events) {
    const auto found = handlers_.find(binding.handler);
    if (found == handlers_.end() || !found->second) continue;
    bindings[static_cast<int>(binding.event)] = Binding{&found->second, binding.argument};
  }
  return bindings;
}

void Window::Register(QObject* object, Record record, const QString& tag) {
  object->setProperty("tag", tag);
  int key = 0;
  record.tagged = TagKey(tag, &key);
  record.tag_key = key;
  if (record.tagged) by_tag_.insert(key, object);
  records_.insert(object, record);
  QObject::connect(object, &QObject::destroyed, &connection_guard_,
                   [this, object] { Forget(object); });
}

void Window::Forget(QObject* object) {
  const auto found = records_.constFind(object);
  if (found == records_.cend()) return;
  if (found->tagged) by_tag_.remove(found->tag_key, object);
  if (found->design != nullptr) {
    const auto named = by_name_.constFind(FromUtf8(found->design->name));
    if (named != by_name_.cend() && named.value() == object) by_name_.erase(named);
  }
  for (Record& record : records_) {
    if (record.redirect == object) record.redirect = nullptr;
  }
  records_.erase(found);
}

QWidget* Window::ParentFor(const ControlDesign& design) const {
  if (design.parent.empty()) return const_cast<Window*>(this);
  QObject* parent = by_name_.value(FromUtf8(design.parent));
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
  Record record;
  record.kind = design.kind;
  record.design = &design;
  record.bindings = Resolve(design.events);
  Register(object, record, FromUtf8(design.tag));
  by_name_.insert(name, object);
  return object;
}

void Window::BuildControls() {
  for (const ControlDesign& design : design_.controls) {
    if (design.made_on_first_use) {
      const QString name = FromUtf8(design.name);
      pending_.insert(name, &design);
      int key = 0;
      if (TagKey(FromUtf8(design.tag), &key)) pending_tags_.insert(key, name);
      // A bare hidden widget holds the control's place in the focus chain until it is made.
      auto* stand_in = new QWidget(ParentFor(design));
      stand_in->setGeometry(design.left, design.top, design.width, design.height);
      stand_in->setFocusPolicy(Qt::TabFocus);
      stand_in->hide();
      stand_ins_.insert(name, stand_in);
      continue;
    }
    Realise(design);
  }
  PairLabels();
  std::vector<QWidget*> widgets;
  for (auto it = records_.cbegin(); it != records_.cend(); ++it) {
    if (auto* label = dynamic_cast<LabelControl*>(it.key())) label->UpdateFocusPolicy();
    if (it->design != nullptr && it.key()->isWidgetType()) {
      widgets.push_back(static_cast<QWidget*>(it.key()));
    }
  }
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
  const auto found = pending_.constFind(name);
  if (found == pending_.cend()) return nullptr;
  const ControlDesign& design = *found.value();
  pending_.erase(found);
  int key = 0;
  if (TagKey(FromUtf8(design.tag), &key)) pending_tags_.remove(key);
  QObject* object = Realise(design);
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return object;
  if (auto* label = dynamic_cast<LabelControl*>(widget)) label->UpdateFocusPolicy();
  // Paired as at the start: with the label it names (a label still waiting is made now and pairs
  // itself), or with the control naming it.
  if (!design.label.empty()) {
    const QString label = FromUtf8(design.label);
    if (QObject* made = by_name_.value(label)) {
      PairWithLabel(widget, qobject_cast<QLabel*>(made));
    } else {
      MakePending(label);
    }
  }
  for (const ControlDesign& other : design_.controls) {
    if (other.label == design.name) {
      PairWithLabel(qobject_cast<QWidget*>(by_name_.value(FromUtf8(other.name))),
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
    PairWithLabel(qobject_cast<QWidget*>(by_name_.value(FromUtf8(design.name))),
                  qobject_cast<QLabel*>(by_name_.value(FromUtf8(design.label))));
  }
}

void Window::PlaceCopy(const ControlDesign& design, QObject* copy) {
  auto* widget = qobject_cast<QWidget*>(copy);
  if (widget == nullptr) return;
  QWidget* previous = latest_copies_.value(&design);
  if (previous == nullptr) previous = qobject_cast<QWidget*>(by_name_.value(FromUtf8(design.name)));
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

void Window::BuildMenus() {
  const QFont font = DesignFont(FontDesign{design_.menu_font, 12});
  // A menu skin among the controls gives every menu its highlight colours.
  const ControlDesign* skin = nullptr;
  for (const ControlDesign& control : design_.controls) {
    if (control.kind == Kind::MenuSkin) skin = &control;
  }
  for (const MenuDesign& design : design_.menus) {
    auto* menu = new QMenu(this);
    const QString caption = FromUtf8(design.caption);
    menu->setObjectName(caption);
    menu->setTitle(caption);
    menu->setFont(font);
    if (skin != nullptr && skin->look.has_background) {
      QPalette colours = menu->palette();
      colours.setColor(QPalette::Highlight, ToQColor(skin->look.background));
      colours.setColor(QPalette::HighlightedText, ToQColor(skin->look.text_colour));
      menu->setPalette(colours);
    }
    for (const MenuItemDesign& item : design.items) {
      QAction* action = menu->addAction(FromUtf8(item.caption));
      if (!item.icon.empty()) action->setIcon(QIcon(LoadPicture(FromUtf8(item.icon))));
      const QString name = FromUtf8(item.name);
      action->setObjectName(name);
      QObject::connect(action, &QAction::triggered, &connection_guard_,
                       [this, action] { Raise(action, Event::Chosen); });
      Record record;
      record.kind = Kind::MenuItem;
      record.bindings = Resolve(item.events);
      Register(action, record, QString());
      by_name_.insert(name, action);
    }
    menus_.insert(caption, menu);
    if (design.top_level) {
      if (menu_bar_ == nullptr) {
        menu_bar_ = new QMenuBar(this);
        menu_bar_->setObjectName(QStringLiteral("menu bar"));
        // The bar belongs to the window's own drawing, never to a desktop-wide menu.
        menu_bar_->setNativeMenuBar(false);
        menu_bar_->setFont(font);
      }
      menu_bar_->addMenu(menu);
      menu->menuAction()->setVisible(menu_choices_.value(caption, true));
    }
  }
  menu_choices_.clear();
  UpdateMenuBar();
}

void Window::EnsureMenus() {
  if (menus_made_) return;
  menus_made_ = true;
  BuildMenus();
}

bool Window::AnyMenuWanted() const {
  for (const MenuDesign& menu : design_.menus) {
    if (menu.top_level && menu_choices_.value(FromUtf8(menu.caption), true)) return true;
  }
  return false;
}

QMenuBar* Window::menu_bar() {
  EnsureMenus();
  return menu_bar_;
}

void Window::SetMenuVisible(const QString& caption, bool visible) {
  if (!menus_made_) {
    menu_choices_.insert(caption, visible);
    // A bar entry that appears on a shown window is needed now; else the menus wait.
    if (!visible || !isVisible()) return;
    EnsureMenus();
    return;
  }
  QMenu* found = menus_.value(caption);
  if (found == nullptr || menu_bar_ == nullptr) return;
  found->menuAction()->setVisible(visible);
  UpdateMenuBar();
}

bool Window::MenuShown(const QString& caption) const {
  if (!menus_made_) {
    // Not made yet: the bar would show the entry once made (the window makes it when shown).
    for (const MenuDesign& menu : design_.menus) {
      if (menu.top_level && FromUtf8(menu.caption) == caption) {
        return menu_choices_.value(caption, true);
      }
    }
    return false;
  }
  const QMenu* found = menus_.value(caption);
  return found != nullptr && menu_bar_ != nullptr &&
         menu_bar_->actions().contains(found->menuAction()) && found->menuAction()->isVisible() &&
         !menu_bar_->isHidden();
}

void Window::UpdateMenuBar() {
  if (menu_bar_ == nullptr) return;
  bool any_visible = false;
  for (const QAction* entry : menu_bar_->actions()) any_visible = any_visible || entry->isVisible();
  // The bar's height comes from its font, which a window not yet shown need not load: its bar is
  // placed when it is shown.
  if (any_visible && isVisible()) {
    menu_bar_->setGeometry(0, 0, width(), menu_bar_->sizeHint().height());
    menu_bar_->raise();
  }
  menu_bar_->setVisible(any_visible);
}

namespace {

bool OffscreenPlatform() {
  return QGuiApplication::platformName() == QLatin1String("offscreen");
}

}  // namespace

void Window::showEvent(QShowEvent* event) {
  // The show event comes before the platform shows the window: a compositor learns the
  // transient parent with the window and places a modal one over it. Qt's offscreen platform
  // places no windows, and there a modal window with a transient parent no longer takes the
  // keyboard focus on a click, so it goes without.
  if (placed_over_ != nullptr && windowHandle() != nullptr && !OffscreenPlatform() &&
      windowHandle()->transientParent() == nullptr) {
    windowHandle()->setTransientParent(placed_over_->windowHandle());
  }
  QWidget::showEvent(event);
  if (!menus_made_ && AnyMenuWanted()) EnsureMenus();
  UpdateMenuBar();
}

QSystemTrayIcon* Window::Tray() {
  if (tray_ != nullptr) return tray_;
  tray_ = new QSystemTrayIcon(windowIcon(), this);
  QObject::connect(tray_, &QSystemTrayIcon::activated, &connection_guard_,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     switch (reason) {
                       case QSystemTrayIcon::Trigger:
                       case QSystemTrayIcon::DoubleClick:
                         Raise(this, Event::Tray, {}, 0, 1);
                         break;
                       case QSystemTrayIcon::Context:
                         Raise(this, Event::Tray, {}, 0, 3);
                         break;
                       default:
                         break;
                     }
                   });
  return tray_;
}

bool Window::Raise(QObject* source, Event event, QPoint position, int modifiers, int tray_kind,
                   int key, const QString& text) {
  const auto found = records_.constFind(source);
  if (found == records_.cend()) return false;
  const Kind kind = found->kind;
  const Record* owner = &found.value();
  if (found->redirect != nullptr) {
    const auto target = records_.constFind(found->redirect);
    if (target == records_.cend()) return false;
    owner = &target.value();
  }
  const Binding binding = owner->bindings[static_cast<int>(event)];
  if (binding.handler == nullptr) return false;

  EventArgs args;
  args.window = this;
  args.source = Control(source, kind);
  args.event = event;
  args.argument = binding.argument;
  args.x = position.x();
  args.y = position.y();
  args.modifiers = modifiers;
  args.tray_kind = tray_kind;
  args.key = key;
  args.text = text;
  SourceScope scope(args.source);
  (*binding.handler)(args);
  return true;
}

bool Window::Handles(const QObject* source, Event event) const {
  const auto found = records_.constFind(const_cast<QObject*>(source));
  if (found == records_.cend()) return false;
  const auto owner = found->redirect != nullptr ? records_.constFind(found->redirect) : found;
  return owner != records_.cend() && owner->bindings[static_cast<int>(event)].handler != nullptr;
}

Control Window::ControlFor(QObject* object) const {
  const auto found = records_.constFind(object);
  return found == records_.cend() ? Control() : Control(object, found->kind);
}

Control Window::FindByName(const QString& name) {
  QObject* found = by_name_.value(name);
  if (found == nullptr && pending_.contains(name)) found = MakePending(name);
  if (found == nullptr && !menus_made_) {
    // Menu items are controls too: asking for one makes the menus.
    for (const MenuDesign& menu : design_.menus) {
      for (const MenuItemDesign& item : menu.items) {
        if (FromUtf8(item.name) == name) {
          EnsureMenus();
          return ControlFor(by_name_.value(name));
        }
      }
    }
  }
  return ControlFor(found);
}

Control Window::FindByTag(int tag) {
  QObject* found = by_tag_.value(tag);
  if (found == nullptr && pending_tags_.contains(tag))
    found = MakePending(pending_tags_.value(tag));
  return ControlFor(found);
}

void Window::TagChanged(QObject* object, const QString& tag) {
  const auto found = records_.find(object);
  if (found == records_.end()) return;
  if (found->tagged) by_tag_.remove(found->tag_key, object);
  int key = 0;
  found->tagged = TagKey(tag, &key);
  found->tag_key = key;
  if (found->tagged) by_tag_.insert(key, object);
}

Control Window::Copy(Control template_control, std::optional<int> argument) {
  QObject* original = template_control.object();
  const auto found = records_.constFind(original);
  if (found == records_.cend() || found->design == nullptr) return {};
  const Record source = found.value();
  auto* original_widget = qobject_cast<QWidget*>(original);
  QWidget* parent = original_widget != nullptr ? original_widget->parentWidget() : this;
  QObject* copy = RealiseControl(this, *source.design, parent);
  if (copy == nullptr) return {};
  copy->setObjectName(original->objectName() + QStringLiteral("#%1").arg(++copies_made_));
  CopyProperties(source.kind, original, copy);
  Record record;
  record.kind = source.kind;
  record.design = source.design;
  record.bindings = source.bindings;
  if (argument) {
    for (Binding& binding : record.bindings) binding.argument = *argument;
  }
  Register(copy, record, original->property("tag").toString());
  PlaceCopy(*source.design, copy);
  return Control(copy, source.kind);
}

void Window::DeleteCopies(Control template_control) {
  QObject* original = template_control.object();
  const auto found = records_.constFind(original);
  if (found == records_.cend() || found->design == nullptr) return;
  const ControlDesign* design = found->design;
  std::vector<QObject*> copies;
  for (auto record = records_.cbegin(); record != records_.cend(); ++record) {
    if (record.key() != original && record->design == design) copies.push_back(record.key());
  }
  // Each deletion takes its copy out of the indexes (see Register).
  for (QObject* copy : copies) delete copy;
}

void Window::Redirect(QObject* source, QObject* target) {
  const auto found = records_.find(source);
  if (found == records_.end() || !records_.contains(target)) return;
  found->redirect = target == source ? nullptr : target;
}

QMenu* Window::Menu(const QString& caption) {
  EnsureMenus();
  return menus_.value(caption);
}

void Window::PopupContextMenu(QObject* owner, const QString& caption, QPoint screen_position) {
  QMenu* menu = Menu(caption);
  if (menu == nullptr) return;
  context_menu_owner_ = owner;
  menu->popup(screen_position);
}

void Window::SetBackgroundPicture(const QString& picture) {
  background_picture_ = picture;
  // The background is drawn from the top-left corner: no more of it is kept than the window shows.
  background_ = LoadPicture(picture, size());
  update();
}

void Window::Destroy() {
  if (destroying_) return;
  destroying_ = true;
  Raise(this, Event::Destroying);
  hide();
  deleteLater();
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

Window* FindOpenWindow(const QString& name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = dynamic_cast<Window*>(widget);
    if (window != nullptr && !window->destroying() && window->objectName() == name) return window;
  }
  return nullptr;
}

Window* OwningWindow(QObject* object) {
  for (QObject* current = object; current != nullptr; current = current->parent()) {
    // A widget's window is found in one step; pop-up menus and timers go through their parents.
    if (current->isWidgetType()) current = static_cast<QWidget*>(current)->window();
    if (auto* window = dynamic_cast<Window*>(current)) return window;
  }
  return nullptr;
}

}  // namespace velmora
