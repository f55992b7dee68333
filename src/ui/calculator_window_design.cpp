#include "ui/calculator_window_design.h"

#include <string>
#include <string_view>
#include <utility>

#include "ui/design_looks.h"
#include "ui/secondary_windows.h"

namespace velmora {
namespace {

constexpr const char* kGroupBox = "分组框1";
constexpr const char* kKeypadFrame = "外形框1";
constexpr const char* kPi = "3.1415926535897932384626433832795";
// The window's default font, used where the keypad names none.
constexpr int kDefaultPixels = 12;
// The group box draws its caption "即时计算器" above its frame in a line of the font's full height,
// so the frame's top edge lies about 21 pixels down, below the 13 pixels the layout leaves above
// "计算式：". Everything inside the box stands this much lower, and the box is as much taller, so
// neither the caption nor the frame's edge runs into the label.
constexpr int kCaptionRoom = 10;

constexpr KeyRole T = KeyRole::Token;
constexpr KeyRole M = KeyRole::MemorySlot;

// clang-format off
constexpr KeypadKey kKeypad[] = {
//  name    caption left  top  w   h  font            role  token    advance slot
  {"壹",    "1",      8,    8, 25, 25, 16,             T,    "1",      1,     0},
  {"贰",    "2",     37,    8, 25, 25, 16,             T,    "2",      1,     0},
  {"叁",    "3",     66,    8, 25, 25, 16,             T,    "3",      1,     0},
  {"括号",  "()",    92,    8, 25, 25, 16,             T,    "()",     1,     0},
  {"加",    "+",    119,    8, 25, 25, 16,             T,    "+",      1,     0},
  {"sin",   "sin",  150,    8, 32, 25, 14,             T,    "sin()",  4,     0},
  {"log",   "log",  185,    9, 27, 25, 12,             T,    "log()",  4,     0},
  {"A",     "A",    215,    8, 27, 25, 14,             M,    "",       0,     0},
  {"肆",    "4",      8,   45, 25, 25, 16,             T,    "4",      1,     0},
  {"伍",    "5",     37,   45, 25, 25, 16,             T,    "5",      1,     0},
  {"陆",    "6",     66,   45, 25, 25, 16,             T,    "6",      1,     0},
  {"次方",  "^",     92,   60, 25, 25, 16,             T,    "^",      1,     0},
  {"减",    "-",    119,   45, 25, 25, 16,             T,    "-",      1,     0},
  {"COS",   "cos",  150,   45, 32, 25, 14,             T,    "cos()",  4,     0},
  {"ln",    "ln",   185,   60, 25, 25, 12,             T,    "ln()",   3,     0},
  {"B",     "B",    215,   45, 27, 25, 14,             M,    "",       0,     1},
  {"柒",    "7",      8,   80, 25, 25, 16,             T,    "7",      1,     0},
  {"捌",    "8",     37,   80, 25, 25, 14,             T,    "8",      1,     0},
  {"玖",    "9",     66,   80, 25, 25, 16,             T,    "9",      1,     0},
  {"乘",    "*",    119,   80, 25, 25, 16,             T,    "*",      1,     0},
  {"tan",   "tan",  150,   80, 32, 25, 14,             T,    "tan()",  4,     0},
  {"C",     "C",    215,   80, 27, 25, 14,             M,    "",       0,     2},
  {"零",    "0",      8,  112, 25, 25, 16,             T,    "0",      1,     0},
  {"点",    ".",     37,  112, 25, 25, 14,             T,    ".",      1,     0},
  {"等于",  "=",     66,  112, 25, 25, 16,             KeyRole::Equals, "", 0, 0},
  {"PI",    "PI",    92,  112, 25, 25, kDefaultPixels, T,    kPi,     33,     0},
  {"除",    "/",    119,  112, 25, 25, 16,             T,    "/",      1,     0},
  {"ctg",   "ctg",  150,  112, 32, 25, 14,             T,    "ctg()",  4,     0},
  {"e",     "e^x",  185,  112, 27, 25, kDefaultPixels, T,    "e()",    2,     0},
  {"D",     "D",    215,  112, 27, 25, 14,             M,    "",       0,     3},
};
// clang-format on

Look EditLook(Input input) {
  Look look;
  look.has_background = true;
  look.background = kWhite;
  look.input = input;
  return look;
}

void AddFixedControls(WindowDesign& design) {
  // clang-format off
  const ControlRow controls[] = {
  //  kind                    name                   parent      left top  width height text         look                         cursor          handler
    {Kind::TransparentLabel, "透明标签3",            "",          16,   0,   72,  24, "即时计算器", TextLook(kWhite),           Cursor::Default, nullptr},
    {Kind::ImageButton,      kCloseButton,          "",         584,   0,   44,  18, "×",          PictureButtonLook("close"), Cursor::Default, kDestroyCalculator},
    {Kind::Canvas,           "画板1",                "",          19,  25,  608, 215, "",           PanelLook(),                Cursor::Default, nullptr},
    {Kind::GroupBox,         kGroupBox,              "",          38,  44,  568, 164, "即时计算器", TextLook(kBlack),           Cursor::Default, nullptr},
    {Kind::Label,            "标签1",                kGroupBox,   16,  13,  154,  16, "计算式：",   TextLook(kBlack),           Cursor::Default, nullptr},
    {Kind::EditBox,          kExpressionBox,         kGroupBox,    7,  31,  297,  56, "",           EditLook(Input::MultiLine), Cursor::Text,    kShowResult},
    {Kind::Label,            "标签2",                kGroupBox,    7,  94,   80,  20, "结果：",     TextLook(kBlack),           Cursor::Default, nullptr},
    {Kind::EditBox,          kResultBox,             kGroupBox,    7, 119,  225,  24, "",           EditLook(Input::ReadOnly),  Cursor::Default, nullptr},
    {Kind::Button,           "复制计算结果",         kGroupBox,   63,  92,   80,  24, "复制",       TextLook(kBlack),           Cursor::Default, kCopyCalculatorResult},
    {Kind::Button,           "清空",                 kGroupBox,  147,  92,   53,  24, "清空",       TextLook(kBlack),           Cursor::Default, kClearCalculator},
    {Kind::Button,           kSaveToButton,          kGroupBox,  243, 119,   50,  24, "保存到",     TextLook(kBlack),           Cursor::Default, kShowSaveToMenu},
    {Kind::ShapeBox,         kKeypadFrame,           kGroupBox,  312,  10,  248, 144, "",           TextLook(kBlack),           Cursor::Default, nullptr},
  };
  // clang-format on
  for (const ControlRow& row : controls) {
    ControlDesign control = MakeControl(row);
    if (control.parent == kGroupBox) control.top += kCaptionRoom;
    if (control.name == kGroupBox) control.height += kCaptionRoom;
    design.controls.push_back(std::move(control));
  }
  // What assistive tools call the boxes and the picture button.
  for (ControlDesign& control : design.controls) {
    if (control.name == kExpressionBox) control.label = "标签1";
    if (control.name == kResultBox) control.label = "标签2";
    if (control.name == kCloseButton) control.accessible_name = "关闭";
  }
}

// Keys whose caption does not say what they insert are named for assistive tools; digits and
// operators are named by their captions.
std::string KeyAccessibleName(std::string_view name) {
  // clang-format off
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
    {"sin", "正弦"},     {"COS", "余弦"},     {"tan", "正切"},     {"ctg", "余切"},
    {"log", "常用对数"}, {"ln", "自然对数"},  {"PI", "π"},         {"e", "e的x次方"},
    {"次方", "乘方"},    {"点", "小数点"},    {"括号", "括号"},    {"等于", "等于"},
    {"A", "取出存储A"},  {"B", "取出存储B"},  {"C", "取出存储C"},  {"D", "取出存储D"},
  };
  // clang-format on
  for (const auto& [key, spoken] : kNames) {
    if (key == name) return std::string(spoken);
  }
  return {};
}

void AddKeypad(WindowDesign& design) {
  const std::span<const KeypadKey> keypad = CalculatorKeypad();
  for (std::size_t index = 0; index < keypad.size(); ++index) {
    const KeypadKey& key = keypad[index];
    ControlDesign button;
    button.kind = Kind::Button;
    button.name = key.name;
    button.parent = kKeypadFrame;
    button.left = key.left;
    button.top = key.top;
    button.width = key.width;
    button.height = key.height;
    button.text = key.caption;
    button.cursor = Cursor::Hand;
    button.look.font.pixel_size = key.font_pixels;
    button.accessible_name = KeyAccessibleName(key.name);
    switch (key.role) {
      case KeyRole::Token:
        button.events = {{Event::Clicked, kInsertKeypadToken, static_cast<int>(index)}};
        break;
      case KeyRole::MemorySlot:
        button.events = {{Event::Clicked, kRecallMemorySlot, key.slot}};
        break;
      case KeyRole::Equals:
        button.events = {{Event::Clicked, kShowResult}};
        break;
    }
    design.controls.push_back(std::move(button));
  }
}

// The "保存到" pop-up: one item per memory slot. The items' names differ from the keypad's
// recall keys, which carry the bare letters.
void AddSaveToMenu(WindowDesign& design) {
  MenuDesign menu;
  menu.caption = kSaveToMenu;
  for (int slot = 0; slot < kMemorySlotCount; ++slot) {
    menu.items.push_back({std::string(kSaveToMenu) + kMemorySlotNames[slot],
                          kMemorySlotNames[slot],
                          {{Event::Chosen, kStoreMemorySlot, slot}},
                          ""});
  }
  design.menus.push_back(std::move(menu));
}

WindowDesign BuildCalculatorWindowDesign() {
  WindowDesign design;
  design.name = kCalculatorWindow;
  design.title = "Instant Calculator";
  design.width = 648;
  design.height = 278;
  design.drag_by_background = true;
  design.events = {{Event::Created, kOnCalculatorCreated}};
  AddFixedControls(design);
  AddKeypad(design);
  AddSaveToMenu(design);
  return design;
}

}  // namespace

std::span<const KeypadKey> CalculatorKeypad() {
  return kKeypad;
}

const WindowDesign& CalculatorWindowDesign() {
  static const WindowDesign design = BuildCalculatorWindowDesign();
  return design;
}

}  // namespace velmora
