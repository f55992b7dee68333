#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Colours are 0x00BBGGRR values, as the designs and the settings state them.
using Colour = std::uint32_t;
inline constexpr Colour kLightGrey = 0xECECEC;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kBlue = 0xFF0000;
inline constexpr Colour kRed = 0x0000FF;

// The kinds of controls a design can hold. Window stands for a window's own events and
// properties; it never appears in a control table.
enum class Kind {
  Window,
  EditBox,
  TransparentLabel,
  Label,
  SuperButton,
  Button,
  ImageButton,
  CheckBox,
  RadioButton,
  PageControl,
  AdvancedPageControl,
  Grid,
  Canvas,
  GroupBox,
  ShapeBox,
  // A panel whose controls scroll when they reach past its edges.
  ScrollBox,
  // A framed list of rows that scrolls vertically once they reach past its bottom.
  FramedScrollBox,
  PictureBox,
  HyperlinkBox,
  Timer,
  MenuItem,
  MenuSkin,
};

enum class Event {
  Created,
  Destroying,
  Clicked,
  Chosen,
  // An edit box's text changed, by the user or by the program (SetText and other writes).
  ContentChanged,
  // An edit box's text changed by the user's editing: typing, deleting, cutting, pasting, undo
  // and redo, dropping text, and InsertText and PasteInto. Never for the program's own writes.
  UserEdited,
  GotFocus,
  LostFocus,
  LeftButtonDown,
  LeftButtonUp,
  Tick,
  Tray,
  // A key went down in the window and the control holding the focus had no use for it; bound
  // among the window's own events.
  KeyDown,
};
inline constexpr int kEventCount = static_cast<int>(Event::KeyDown) + 1;

enum class Cursor { Default, Hand, Text };

enum class Align { Left, Centre, Right };

enum class Input {
  FreeText,
  DecimalNumber,  // digits, one point, a leading minus and an exponent
  MultiLine,
  ReadOnly,
};

// The design font "宋体" is realised by a CJK font of the machine; see toolkit.h.
struct FontDesign {
  std::string family = "宋体";
  int pixel_size = 12;
};

// Kind-specific looks. Pictures are resource paths; a missing picture draws nothing.
struct Look {
  Colour text_colour = kBlack;
  bool has_background = false;
  Colour background = kLightGrey;
  FontDesign font{};
  Align align = Align::Left;
  Input input = Input::FreeText;
  std::string picture;          // face, icon or the picture of an image button's normal state
  std::string picture_hover;    // image buttons only
  std::string picture_pressed;  // image buttons only
  std::string hint;
  std::vector<std::string> pages;    // page captions of page controls
  std::vector<std::string> columns;  // grids: the header row's caption of each column
  // Edit boxes: the caption of the window's menu that a right click opens in place of the
  // standard one; empty for the standard menu.
  std::string context_menu;
};

// One event of a control routed to a handler by name; `argument` is handed to the handler so
// that one handler serves many controls (the page number of a category page, for instance).
struct EventBinding {
  Event event;
  std::string handler;
  int argument = 0;
};

struct ControlDesign {
  Kind kind = Kind::Label;
  std::string name;
  std::string parent;  // empty: the window itself
  int page = -1;       // page of the parent when the parent is a page control
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string text;
  bool visible = true;
  bool disabled = false;
  std::string tag;
  Cursor cursor = Cursor::Default;
  Look look{};
  std::vector<EventBinding> events;
  // What assistive tools (screen readers) call the control when its caption does not say what
  // it does: picture buttons ("关闭"), keys whose caption is a symbol ("正弦" for "sin"). Empty:
  // the caption of a button, else the text of `label`. It stays fixed when code changes the
  // caption.
  std::string accessible_name;
  // The design name of the label beside the control that says what it holds; the label becomes
  // its buddy and names it (unless the control has a caption or an accessible name of its own).
  // Copies of the control and of the label are paired the same way, one copy each.
  std::string label;
  // A hidden control no frame shows until code asks for it by name or tag (a template that rows
  // are copied from): it is made then, not with its window, in its place of the focus chain.
  bool made_on_first_use = false;
  // Super buttons: the button shows a chosen state that code sets (SetChecked); a click leaves
  // it as it is.
  bool checkable = false;
};

struct MenuItemDesign {
  std::string name;
  std::string caption;
  std::vector<EventBinding> events;
  std::string icon;  // 16 x 16 picture beside the caption; empty: none
};

struct MenuDesign {
  std::string caption;  // also the menu's name for PopupMenu
  std::vector<MenuItemDesign> items;
  bool top_level = false;  // an entry of the window's menu bar, shown until code hides it
};

struct WindowDesign {
  std::string name;
  std::string title;
  int left = 50;
  int top = 50;
  int width = 0;
  int height = 0;
  Colour background = kLightGrey;
  std::vector<std::string> icon_pictures;
  std::string menu_font = "宋体";
  // A borderless window the user moves by pressing the left button on its background (or on
  // anything that does not take the click itself: canvases, labels without handlers, pages)
  // and dragging. Used by windows whose left button events are not bound.
  bool drag_by_background = false;
  std::vector<EventBinding> events;  // the window's own events
  std::vector<ControlDesign> controls;
  std::vector<MenuDesign> menus;
};

}  // namespace velmora
