#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QMenu;
class QMenuBar;

namespace velmora {

class Window;

// The menus of a window's design and the bar of its top-level menus. They are made on first use
// (they are not part of the window's first frame): when code asks for a menu or one of its items,
// or when the window is shown with a bar entry to show.
class WindowMenus {
 public:
  explicit WindowMenus(Window& window) : window_(window) {}
  WindowMenus(const WindowMenus&) = delete;
  WindowMenus& operator=(const WindowMenus&) = delete;

  // The menu with this caption; nullptr when the design has none.
  QMenu* Menu(const QString& caption);
  // Whether a menu item of the design has this name; asking makes the menus.
  bool MakeItem(const QString& name);
  // Opens the menu with this caption as the context menu of `owner`; see ContextMenuOwner.
  void PopupContextMenu(QObject* owner, const QString& caption, QPoint screen_position);
  QObject* context_menu_owner() const { return context_menu_owner_; }
  // The bar of the design's top-level menus; nullptr when the design has none.
  QMenuBar* menu_bar();
  // Shows or hides the bar entry of a top-level menu; before the menus are made, the choice is
  // kept for them.
  void SetMenuVisible(const QString& caption, bool visible);
  // Whether the top-level menu with this caption has a visible entry on a visible bar.
  bool MenuShown(const QString& caption) const;
  // Shows the bar while it has a visible entry.
  void UpdateMenuBar();
  // The window is being shown: the bar's entries are needed now.
  void WindowShown();

 private:
  void Build();
  void Ensure();
  // Whether any top-level menu of the design is to have a visible bar entry.
  bool AnyMenuWanted() const;

  Window& window_;
  QHash<QString, QMenu*> menus_;
  QMenuBar* menu_bar_ = nullptr;
  bool made_ = false;
  // Bar entries shown or hidden before the menus were made, by caption.
  QHash<QString, bool> choices_;
  QPointer<QObject> context_menu_owner_;
};

}  // namespace velmora
