#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "toolkit/design.h"
#include "toolkit/toolkit.h"

class QAction;
class QMenu;
class QMenuBar;
class QSystemTrayIcon;

namespace velmora {

class BackgroundDrag;
class ControlIndex;
class WindowBackground;
class WindowMenus;

// A designed window realised as a frameless top-level widget. It keeps the index of its controls
// (by object, design name and tag) and raises their events to the handlers of its design. Its
// menus, background and drags are parts of their own (toolkit/private).
class Window final : public QWidget {
 public:
  Window(const WindowDesign& design, HandlerTable handlers, Window* owner);
  ~Window() override;

  const WindowDesign& design() const { return design_; }
  bool destroying() const { return destroying_; }
  void Destroy();

  // Runs the handler bound to `event` of `source` (or of the control its events are redirected
  // to). Returns whether a handler ran; `this` may be gone once it returns.
  bool Raise(QObject* source, Event event, QPoint position = {}, int modifiers = 0,
             int tray_kind = 0, int key = 0, const QString& text = {});
  // Whether Raise would run a handler for `event` of `source`.
  bool Handles(const QObject* source, Event event) const;

  Control ControlFor(QObject* object) const;
  Control FindByName(const QString& name);
  // Controls made on first use (ControlDesign::made_on_first_use) are made when asked for.
  Control FindByTag(int tag);
  void TagChanged(QObject* object, const QString& tag);
  // A copy of a control of this window; with an `argument`, its bindings hand that to their
  // handlers instead of the template's arguments.
  Control Copy(Control template_control, std::optional<int> argument = std::nullopt);
  void DeleteCopies(Control template_control);
  void SetCloseRequestHandler(std::function<void()> handler) {
    close_request_handler_ = std::move(handler);
  }
  void Redirect(QObject* source, QObject* target);
  // The menu with this caption; the window's menus are made on first use (they are not part of
  // its first frame).
  QMenu* Menu(const QString& caption);
  // Opens the menu with this caption as the context menu of `owner`; see ContextMenuOwner.
  void PopupContextMenu(QObject* owner, const QString& caption, QPoint screen_position);
  Control context_menu_owner() const;
  // The bar of the design's top-level menus (made with the menus); nullptr when the design has
  // none.
  QMenuBar* menu_bar();
  // Shows or hides the bar entry of a top-level menu; before the menus are made, the choice is
  // kept for them. Whether the entry is on screen: see MenuShown.
  void SetMenuVisible(const QString& caption, bool visible);
  // Whether the top-level menu with this caption has a visible entry on a visible bar.
  bool MenuShown(const QString& caption) const;
  // Shows the bar while it has a visible entry.
  void UpdateMenuBar();
  // The notification-area icon, made on first use; it raises this window's tray event.
  QSystemTrayIcon* Tray();
  QSystemTrayIcon* tray_if_made() const { return tray_; }
  // Context of every connection that reaches this window's members.
  QObject* connection_guard() { return &connection_guard_; }

  void SetBackgroundPicture(const QString& picture);
  const QString& background_picture() const;

  // Where a window mask only limits input (Wayland), the window draws its own rounded outline:
  // it becomes translucent and paints its background colour and picture inside an antialiased
  // rounded rectangle whose corners are quarters of a `corner` ellipse. To be called before the
  // window is first shown.
  void PaintOutline(QSizeF corner);
  bool paints_outline() const;
  // The opacity (0 to 255) of the background the window paints inside its own outline.
  void SetBackgroundAlpha(int alpha);
  int background_alpha() const;

  // The window this one belongs over on screen (its transient parent from its first showing).
  void PlaceOver(QWidget* window) { placed_over_ = window; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class WindowMenus;

  // Indexes `object` under `kind` with the bindings of `events`; it leaves the index when it is
  // destroyed.
  void Register(QObject* object, Kind kind, const ControlDesign* design,
                const std::vector<EventBinding>& events, const QString& tag);
  // Takes `object` out of the index when it is destroyed.
  void Track(QObject* object);
  void AddMenuItem(QAction* action, const MenuItemDesign& item);
  QObject* Realise(const ControlDesign& design);
  void BuildControls();
  // Makes a control whose design waits for its first use; nullptr when none waits by that name.
  QObject* MakePending(const QString& name);
  void PairLabels();
  // Pairs a new copy with the latest unpaired copy of its label (or of the control its label
  // names) and puts it in the focus chain after the template's latest copy.
  void PlaceCopy(const ControlDesign& design, QObject* copy);
  QWidget* ParentFor(const ControlDesign& design) const;

  const WindowDesign design_;
  const HandlerTable handlers_;
  std::unique_ptr<ControlIndex> index_;
  std::unique_ptr<WindowMenus> menus_;
  std::unique_ptr<WindowBackground> background_;
  std::unique_ptr<BackgroundDrag> drag_;
  // The places of controls made on first use in the keyboard focus chain (children of the
  // window, deleted once made).
  QHash<QString, QWidget*> stand_ins_;
  QSystemTrayIcon* tray_ = nullptr;
  QPointer<QWidget> placed_over_;
  int copies_made_ = 0;
  QHash<const ControlDesign*, QPointer<QObject>> unpaired_copies_;
  QHash<const ControlDesign*, QPointer<QWidget>> latest_copies_;
  bool destroying_ = false;
  std::function<void()> close_request_handler_;
  // Declared last so that it goes first: its end cuts the connections that reach the members
  // above before the base class deletes the child controls.
  QObject connection_guard_;
};

}  // namespace velmora
