// A window's menus, and the menu operations of toolkit.h.

#include "toolkit/private/window_menus.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

#include "toolkit/colour.h"
#include "toolkit/private/design_font.h"
#include "toolkit/private/pictures.h"
#include "toolkit/toolkit.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {

void WindowMenus::Build() {
  const WindowDesign& design = window_.design();
  const QFont font = DesignFont(FontDesign{design.menu_font, 12});
  // A menu skin among the controls gives every menu its highlight colours.
  const ControlDesign* skin = nullptr;
  for (const ControlDesign& control : design.controls) {
    if (control.kind == Kind::MenuSkin) skin = &control;
  }
  for (const MenuDesign& menu_design : design.menus) {
    auto* menu = new QMenu(&window_);
    const QString caption = FromUtf8(menu_design.caption);
    menu->setObjectName(caption);
    menu->setTitle(caption);
    menu->setFont(font);
    if (skin != nullptr && skin->look.has_background) {
      QPalette colours = menu->palette();
      colours.setColor(QPalette::Highlight, ToQColor(skin->look.background));
      colours.setColor(QPalette::HighlightedText, ToQColor(skin->look.text_colour));
      menu->setPalette(colours);
    }
    for (const MenuItemDesign& item : menu_design.items) {
      QAction* action = menu->addAction(FromUtf8(item.caption));
      if (!item.icon.empty()) action->setIcon(QIcon(LoadPicture(FromUtf8(item.icon))));
      window_.AddMenuItem(action, item);
    }
    menus_.insert(caption, menu);
    if (menu_design.top_level) {
      if (menu_bar_ == nullptr) {
        menu_bar_ = new QMenuBar(&window_);
        menu_bar_->setObjectName(QStringLiteral("menu bar"));
        // The bar belongs to the window's own drawing, never to a desktop-wide menu.
        menu_bar_->setNativeMenuBar(false);
        menu_bar_->setFont(font);
      }
      menu_bar_->addMenu(menu);
      menu->menuAction()->setVisible(choices_.value(caption, true));
    }
  }
  choices_.clear();
  UpdateMenuBar();
}

void WindowMenus::Ensure() {
  if (made_) return;
  made_ = true;
  Build();
}

bool WindowMenus::AnyMenuWanted() const {
  for (const MenuDesign& menu : window_.design().menus) {
    if (menu.top_level && choices_.value(FromUtf8(menu.caption), true)) return true;
  }
  return false;
}

QMenu* WindowMenus::Menu(const QString& caption) {
  Ensure();
  return menus_.value(caption);
}

bool WindowMenus::MakeItem(const QString& name) {
  if (made_) return false;
  for (const MenuDesign& menu : window_.design().menus) {
    for (const MenuItemDesign& item : menu.items) {
      if (FromUtf8(item.name) == name) {
        Ensure();
        return true;
      }
    }
  }
  return false;
}

void WindowMenus::PopupContextMenu(QObject* owner, const QString& caption, QPoint screen_position) {
  QMenu* menu = Menu(caption);
  if (menu == nullptr) return;
  context_menu_owner_ = owner;
  menu->popup(screen_position);
}

QMenuBar* WindowMenus::menu_bar() {
  Ensure();
  return menu_bar_;
}

void WindowMenus::SetMenuVisible(const QString& caption, bool visible) {
  if (!made_) {
    choices_.insert(caption, visible);
    // A bar entry that appears on a shown window is needed now; else the menus wait.
    if (!visible || !window_.isVisible()) return;
    Ensure();
    return;
  }
  QMenu* found = menus_.value(caption);
  if (found == nullptr || menu_bar_ == nullptr) return;
  found->menuAction()->setVisible(visible);
  UpdateMenuBar();
}

bool WindowMenus::MenuShown(const QString& caption) const {
  if (!made_) {
    // Not made yet: the bar would show the entry once made (the window makes it when shown).
    for (const MenuDesign& menu : window_.design().menus) {
      if (menu.top_level && FromUtf8(menu.caption) == caption) {
        return choices_.value(caption, true);
      }
    }
    return false;
  }
  const QMenu* found = menus_.value(caption);
  return found != nullptr && menu_bar_ != nullptr &&
         menu_bar_->actions().contains(found->menuAction()) && found->menuAction()->isVisible() &&
         !menu_bar_->isHidden();
}

void WindowMenus::UpdateMenuBar() {
  if (menu_bar_ == nullptr) return;
  bool any_visible = false;
  for (const QAction* entry : menu_bar_->actions()) any_visible = any_visible || entry->isVisible();
  // The bar's height comes from its font, which a window not yet shown need not load: its bar is
  // placed when it is shown.
  if (any_visible && window_.isVisible()) {
    menu_bar_->setGeometry(0, 0, window_.width(), menu_bar_->sizeHint().height());
    menu_bar_->raise();
  }
  menu_bar_->setVisible(any_visible);
}

void WindowMenus::WindowShown() {
  if (!made_ && AnyMenuWanted()) Ensure();
  UpdateMenuBar();
}

void SetMenuVisible(Window* window, std::string_view menu, bool visible) {
  if (window != nullptr) window->SetMenuVisible(FromUtf8(menu), visible);
}

bool MenuVisible(const Window* window, std::string_view menu) {
  return window != nullptr && window->MenuShown(FromUtf8(menu));
}

bool PopupMenu(Window* window, std::string_view menu, QPoint screen_position) {
  if (window == nullptr) return false;
  QMenu* found = window->Menu(FromUtf8(menu));
  if (found == nullptr) return false;
  found->popup(screen_position);
  return true;
}

}  // namespace velmora
