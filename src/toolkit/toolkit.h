#pragma once

// The toolkit's interface for handlers. Its parts are implemented by concern:
//   toolkit_windows.cpp    loading, destroying and finding windows
//   toolkit_controls.cpp   finding controls, copies, event sources and redirections
//   toolkit_focus.cpp      the keyboard focus, context-menu owners, pasting
//   toolkit_properties.cpp property reads and writes
//   toolkit_editing.cpp    carets, selections, insertions, character counts, key bindings
//   private/window_background.cpp  window outlines and opacity
//   private/window_menus.cpp       menu bar entries and pop-up menus
//   private/window_tray.cpp        the notification-area icon
//   private/window_drag.cpp        system moves
//   toolkit_placement.cpp  the system menu, screen positions, minimising and restoring
//   toolkit_desktop.cpp    message boxes, the clipboard, the mouse pointer, web addresses

#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "toolkit/design.h"

class QObject;

namespace velmora {

class Window;

// A handle to one control of a window (or to the window itself, kind Window). It is a plain view:
// valid while the control lives, which for the handlers that receive one is the whole handler.
// Only the toolkit makes handles; code outside src/ui never learns the Qt class behind a kind.
class Control {
 public:
  Control() = default;

  explicit operator bool() const { return object_ != nullptr; }
  Kind kind() const { return kind_; }
  QObject* object() const { return object_; }
  friend bool operator==(const Control& a, const Control& b) { return a.object_ == b.object_; }

 private:
  friend class Window;
  friend Control WindowControl(Window* window);
  Control(QObject* object, Kind kind) : object_(object), kind_(kind) {}

  QObject* object_ = nullptr;
  Kind kind_ = Kind::Window;
};

// What a handler learns about the event it handles. `source` is the control (or copy) that
// raised it; `argument` comes from the design's binding.
struct EventArgs {
  Window* window = nullptr;
  Control source;
  Event event = Event::Created;
  int argument = 0;
  int x = 0;  // left button down / up: position in the source's client area
  int y = 0;
  int modifiers = 0;  // left button down / up: Qt::KeyboardModifiers bits
  int tray_kind = 0;  // tray event: 1 primary-button action, 3 secondary-button action
  int key = 0;        // key down: the Qt::Key code
  QString text;       // key down: the text the key types, if any
};

using Handler = std::function<void(const EventArgs&)>;
// Handlers by the names that designs use in their bindings.
using HandlerTable = std::unordered_map<std::string, Handler>;

// Registers the substitutions for the design fonts ("宋体", "SimSun"); LoadWindow calls it too.
void RegisterDesignFonts();

// Builds a window from its design, raises its created event, then shows it (unless the created
// handler destroyed it). A modal window blocks the mouse and keys of every other window of the
// program; the modal call runs the events until the window is destroyed and returns nullptr. A
// window with an owner stays above it; a modeless one leaves the owner usable. The window owns
// itself: it is deleted after DestroyWindow, or with its owner.
// A window without an owner may name the window it belongs over (`placed_over`): the windowing
// system keeps it above that one and places it there (its transient parent).
Window* LoadWindow(const WindowDesign& design, HandlerTable handlers, Window* owner, bool modal,
                   Window* placed_over = nullptr);
// Raises the window's about-to-be-destroyed event, hides it and deletes it once the current
// event has been handled. A second call does nothing.
void DestroyWindow(Window* window);
bool IsDestroying(const Window* window);
// A close asked for from outside the program's handlers (the window manager's close, Alt+F4)
// runs `handler` instead of destroying the window; the handler decides. Empty: destroy at once.
void SetCloseRequestHandler(Window* window, std::function<void()> handler);
// The message loop ends once `window` has been destroyed: destroying the main window ends the
// program.
void QuitWhenDestroyed(Window* window);
QString WindowName(const Window* window);
// The open window (loaded and not being destroyed) with this design name, or nullptr; the
// first one found when several are open.
Window* FindWindow(std::string_view name);
// The modal window that blocks the others now, or nullptr.
Window* ActiveModalWindow();
Control WindowControl(Window* window);

// The control (or copy) that raised the event being handled now; empty outside handlers.
Control EventSource();
// A new control of the template's kind in the template's parent, with its properties, tag and
// event bindings; it raises the template's handlers with EventSource naming the copy.
Control CopyControl(Control template_control);
// As above, but every event of the copy hands `argument` to its handler in place of the
// argument of the template's binding (a row's number, for instance).
Control CopyControl(Control template_control, int argument);
// Deletes every copy made of `template_control` (the template itself stays); they are no longer
// found by tag.
void DeleteCopies(Control template_control);
// From now on every event of `source` runs the handlers of `target`; EventSource names `source`.
void RedirectEvents(Control source, Control target);
// The control of the window whose tag, read as a number and truncated, equals `tag`.
Control FindControlByTag(Window* window, int tag);
// The control of the window with this design name (templates, not their copies).
Control FindControl(Window* window, std::string_view name);
Window* WindowOf(Control control);

bool HasFocus(Control control);
void SetFocus(Control control);
// The control of the window that holds the keyboard focus; empty when none does.
Control FocusedControl(Window* window);
// The edit box whose own context menu (Look::context_menu) was opened last in the window; the
// handlers of that menu's items act on it. Empty once the box is gone.
Control ContextMenuOwner(Window* window);
// Pastes the clipboard's text into an edit box as typing would: the box takes the focus and the
// text replaces its selection.
void PasteInto(Control edit_box);
// Gives an edit box the keyboard focus with its whole text selected, so that typing replaces it.
// In a window that is not active yet the box receives the focus when the window is activated.
void FocusForTyping(Control edit_box);

// Property reads and writes. Text is an edit box's text, a label's or button's caption, a group
// box's caption, a menu item's caption, a hyperlink box's address or a window's title. Writing
// the text of a single-line edit box that does not hold the focus shows the start of the text.
QString Text(Control control);
void SetText(Control control, const QString& text);
QString Tag(Control control);
void SetTag(Control control, const QString& tag);
int Left(Control control);
int Top(Control control);
int Width(Control control);
int Height(Control control);
void Move(Control control, int left, int top);
void Resize(Control control, int width, int height);
bool Visible(Control control);
void SetVisible(Control control, bool visible);
// The mouse pointer's shape over the control.
Cursor MouseCursor(Control control);
void SetMouseCursor(Control control, Cursor cursor);
bool Disabled(Control control);
void SetDisabled(Control control, bool disabled);
Colour BackgroundColour(Control control);
void SetBackgroundColour(Control control, Colour colour);
Colour TextColour(Control control);
void SetTextColour(Control control, Colour colour);
// Face or icon of a super button, normal picture of an image button, picture of a picture box,
// background picture of a window (drawn from its top-left corner).
QString Picture(Control control);
void SetPicture(Control control, const QString& picture);
// A super button's look while under the mouse or pressed: a picture over a colour.
void SetStatePicture(Control control, const QString& picture, Colour colour);
int TimerInterval(Control control);
// 0 stops the timer; any other value (re)starts it with that interval in milliseconds.
void SetTimerInterval(Control control, int milliseconds);
int CurrentPage(Control page_control);
void SetCurrentPage(Control page_control, int index);
bool Checked(Control control);
void SetChecked(Control control, bool checked);
// Whether a single-line edit box shows `text` whole, without scrolling it.
bool TextFits(Control edit_box, const QString& text);
// Scrolls the panels the control stands on (scroll boxes, pages) as little as needed to show it
// whole; a control that takes the keyboard focus is brought into view by itself.
void BringIntoView(Control control);
// The text shown while the mouse rests on a control; empty for none.
QString Hint(Control control);
void SetHint(Control control, const QString& hint);
// The caret of an edit box counts characters as the user sees them: a Chinese character, an
// emoji or a letter with its combining marks is one. The position is the selection's start when
// text is selected. A negative position puts the caret at the end of the text; setting it clears
// any selection.
int CaretPosition(Control edit_box);
void SetCaretPosition(Control edit_box, int position);
// The selected text of an edit box; empty when nothing is selected.
QString SelectedText(Control edit_box);
// Inserts `text` at a caret position (in characters, clamped to the text) as one step the user
// can undo; a selection is kept, not replaced. Raises content changed.
void InsertText(Control edit_box, int position, const QString& text);
// The number of user-visible characters of `text`, and the offset in UTF-16 units of the
// boundary after the first `characters` of them (the whole text for a negative or larger count).
int CharacterCount(const QString& text);
int CharacterOffset(const QString& text, int characters);

// While `control` holds the keyboard focus, pressing `key` ("Escape", "Ctrl+C", "Return")
// runs `action` instead of the control's own use of the key. Bound on a window, the key acts
// wherever the focus is in that window, for every control that leaves the key unused.
void BindKey(Control control, std::string_view key, std::function<void()> action);

// The window's outline becomes a rounded rectangle from (0, 0) to (width, height) whose corners
// are quarters of a `corner_width` x `corner_height` ellipse; outside it nothing is drawn and no
// click lands.
void SetWindowOutline(Window* window, int width, int height, int corner_width, int corner_height);
// Where the platform's window mask does not clip drawing (Wayland), the window paints the outline
// itself instead: translucent, its background inside an antialiased rounded rectangle. Tests may
// fix the choice; std::nullopt asks the platform again.
bool OutlinePaintedByWindow();
void SetOutlinePaintedForTesting(std::optional<bool> painted);
// Whether top-level windows can be drawn translucent here (the offscreen and minimal platforms
// draw no windows). Tests may fix the answer; std::nullopt asks the platform again.
bool WindowOpacitySupported();
void SetWindowOpacitySupportedForTesting(std::optional<bool> supported);
// Opacity of the whole window, 0 (invisible) to 255 (opaque).
void SetWindowOpacity(Window* window, int alpha);
int WindowOpacity(const Window* window);
// Adds the system menu (the task bar's menu of the window) to the window's style, keeping the
// rest of its style; a shown window stays shown.
void AddSystemMenu(Window* window);
bool HasSystemMenu(const Window* window);
// Shows or hides an entry of the window's menu bar; the bar disappears with its last entry.
// The menu itself stays available to PopupMenu.
void SetMenuVisible(Window* window, std::string_view menu, bool visible);
bool MenuVisible(const Window* window, std::string_view menu);

// The window's icon in the notification area. Its mouse actions raise the window's tray event:
// kind 1 for a primary-button action, kind 3 for a secondary-button one.
bool TrayAvailable();
void SetTrayAvailableForTesting(std::optional<bool> available);
void ShowTrayIcon(Window* window, const QString& tip);
void RemoveTrayIcon(Window* window);
bool TrayIconShown(const Window* window);
// Hands a drag of the window to the windowing system; to be called while handling a left button
// down. False where the windowing system cannot move the window (X11 without a window manager):
// the caller moves it then.
bool StartSystemMove(Window* window);
// Learns of every such request and whether the windowing system took it; for tests and the
// smoke test. An empty function removes the observer.
void SetSystemMoveObserver(std::function<void(bool started)> observer);
// Replaces the windowing system's answer, for tests; std::nullopt asks it again.
void SetSystemMoveAvailableForTesting(std::optional<bool> available);
// The control's top-left corner on the screen, as the program's windows and pop-ups place
// themselves: the windowing system may have moved the window without the program's knowledge
// (Wayland), but a pop-up placed from a control's screen position still opens at that control.
QPoint ScreenPosition(Control control);
// Placement: minimised to the task bar, or back to the normal (restored) state and shown.
void MinimiseWindow(Window* window);
void RestoreWindow(Window* window);

// Shows the window's menu with this caption at a screen position; the chosen item raises its
// chosen event. Returns false when the window has no such menu.
bool PopupMenu(Window* window, std::string_view menu, QPoint screen_position);
// A modal message box with the information icon and one OK button.
void ShowMessageBox(const QString& text, const QString& title);
// A modal question with the question icon and one button per caption, the first the default.
// Returns the index of the button chosen; closing the box (Escape) chooses the last one.
int AskQuestion(const QString& text, const QString& title, const std::vector<QString>& buttons);
void SetClipboardText(const QString& text);
QPoint MousePosition();
// Opens the address held by a hyperlink box (its text) in the user's browser.
void OpenAddress(Control hyperlink_box);
// Replaces the browser call, for tests; an empty function restores it.
void SetAddressOpener(std::function<void(const QString&)> opener);

}  // namespace velmora
