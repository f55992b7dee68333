#include "ui/options_window_design.h"

#include <string>
#include <utility>

#include "ui/design_looks.h"
#include "ui/secondary_windows.h"
#include "units/category.h"

namespace velmora {
namespace {

constexpr int kGeneralPage = 0;
constexpr int kNamesPage = 1;
constexpr int kAdvancedPage = 2;
constexpr const char* kWindowLevel = "";

struct OptionsControl {
  Kind kind;
  const char* name;
  const char* parent;
  int page;
  int left;
  int top;
  int width;
  int height;
  const char* text;
  Colour text_colour;
  const char* tag;
};

struct OptionsBinding {
  const char* control;
  Event event;
  const char* handler;
  int argument;
};

// Edit boxes of the dialog: light grey, black text, free text; their focus events all reach the
// decimal places box's handlers.
ControlDesign EditBox(const char* name, int page, int left, int top, int width,
                      const std::string& tag) {
  ControlDesign box = PlacedControl(Kind::EditBox, name, kOptionsPages, left, top, width, 16);
  box.page = page;
  box.tag = tag;
  box.look.has_background = true;
  box.look.background = kLightGrey;
  return box;
}

// The labels beside the check boxes; the second box has no caption and is named by its label.
// The edit boxes' labels are set where the boxes are made.
constexpr std::pair<const char*, const char*> kBoxLabels[] = {
    {kThousandsBox, "透明标签2"},
    {kRememberBox, "透明标签4"},
    {kSignificantBox, "透明标签5"},
};

void AddFixedControls(WindowDesign& design) {
  // clang-format off
  const OptionsControl controls[] = {
  //  kind                      name                 parent         page           left  top width height text                   colour  tag
    {Kind::TransparentLabel,    "透明标签10",        kWindowLevel,  -1,              26,   0,  46,  24, "Options",               kWhite, ""},
    {Kind::ImageButton,         kCloseButton,        kWindowLevel,  -1,             243,   0,  44,  18, "×",                     kBlack, ""},
    {Kind::Canvas,              "画板1",             kWindowLevel,  -1,              16,  24, 272, 416, "",                      kBlack, ""},
    {Kind::AdvancedPageControl, kOptionsPages,       kWindowLevel,  -1,              24,  32, 254, 335, "",                      kBlack, ""},
    {Kind::SuperButton,         "确认",              kWindowLevel,  -1,              42, 392,  72,  24, "确定",                  kBlack, ""},
    {Kind::SuperButton,         "取消",              kWindowLevel,  -1,             114, 391,  72,  24, "取消",                  kBlack, ""},
    {Kind::SuperButton,         "应用",              kWindowLevel,  -1,             186, 391,  72,  24, "应用",                  kBlack, ""},
    {Kind::CheckBox,            kThousandsBox,       kOptionsPages, kGeneralPage,    16,  57,  13,  13, "是否千位分隔",          kBlack, ""},
    {Kind::TransparentLabel,    "透明标签2",         kOptionsPages, kGeneralPage,    35,  56, 189,  16, "换算结果用\",\"分隔",   kBlack, ""},
    {Kind::CheckBox,            kRememberBox,        kOptionsPages, kGeneralPage,    16,  96,  16,  16, "",                      kBlack, ""},
    {Kind::TransparentLabel,    "透明标签4",         kOptionsPages, kGeneralPage,    35,  91, 189,  24, "记住退出时的页面",      kBlack, ""},
    {Kind::TransparentLabel,    kDecimalPlacesLabel,      kOptionsPages, kGeneralPage,    16, 132, 168,  16, "小数保留位数：",        kBlack, ""},
    {Kind::CheckBox,            kSignificantBox,     kOptionsPages, kGeneralPage,    16, 173,  13,  13, "按有效数字显示",        kBlack, ""},
    {Kind::TransparentLabel,    "透明标签5",         kOptionsPages, kGeneralPage,    35, 172, 189,  16, "按有效数字显示",        kBlack, ""},
    {Kind::RadioButton,         "单选框1",           kOptionsPages, kGeneralPage,     8, 196,  72,  24, "蓝幽魅影",              kBlack, ""},
    {Kind::RadioButton,         "单选框2",           kOptionsPages, kGeneralPage,     8, 252,  72,  24, "绿水青山",              kBlack, ""},
    {Kind::RadioButton,         "单选框3",           kOptionsPages, kGeneralPage,     8, 300,  56,  24, "Vista",                 kBlack, ""},
    {Kind::PictureBox,          kStylePreview,       kOptionsPages, kGeneralPage,    88, 200, 144, 112, "",                      kBlack, ""},
    {Kind::TransparentLabel,    "透明标签20",        kOptionsPages, kNamesPage,      16, 304, 208,  16, "设置在重启程序后生效！", kRed,  ""},
    {Kind::TransparentLabel,    "透明标签7",         kOptionsPages, kAdvancedPage,    8,  40, 216,  12, "输入框之间的横向距离",  kBlack, ""},
    {Kind::TransparentLabel,    "透明标签8",         kOptionsPages, kAdvancedPage,    8,  80, 216,  12, "输入框之间的纵向距离",  kBlack, ""},
    {Kind::TransparentLabel,    "透明标签1",         kOptionsPages, kAdvancedPage,    8, 120, 216,  12, "每列的输入框个数",      kBlack, ""},
    {Kind::TransparentLabel,    "透明标签9",         kOptionsPages, kAdvancedPage,    8, 160, 208,  56,
     "如果你不清楚这是干什么用的，请不要修改，否则可能会让程序非常糟糕！\r\n（所有设置重启程序后生效）",       kRed,   ""},
  };
  const OptionsBinding bindings[] = {
  //  control                 event              handler               argument
    {kCloseButton,            Event::Clicked,    kCloseOptionsWindow,  0},
    {"确认",                  Event::Clicked,    kConfirmOptions,      0},
    {"取消",                  Event::Clicked,    kCloseOptionsWindow,  0},
    {"应用",                  Event::Clicked,    kApplyOptions,        0},
    {kSignificantBox,         Event::Clicked,    kShowDecimalsCaption, 0},
    {"单选框1",               Event::Clicked,    kShowStylePreview,    1},
    {"单选框2",               Event::Clicked,    kShowStylePreview,    2},
    {"单选框3",               Event::Clicked,    kShowStylePreview,    3},
  };
  // clang-format on
  for (const OptionsControl& row : controls) {
    ControlDesign control =
        PlacedControl(row.kind, row.name, row.parent, row.left, row.top, row.width, row.height);
    control.page = row.page;
    control.text = row.text;
    control.tag = row.tag;
    control.look.text_colour = row.text_colour;
    switch (row.kind) {
      case Kind::Canvas:
      case Kind::SuperButton:
        control.look.has_background = true;
        control.look.background = kLightGrey;
        break;
      case Kind::AdvancedPageControl:
        control.look.has_background = true;
        control.look.background = kLightGrey;
        control.look.pages = {"常规", "单位类名", "高级"};
        break;
      case Kind::ImageButton:
        control.look = PictureButtonLook("close");
        control.look.text_colour = row.text_colour;
        control.accessible_name = "关闭";
        break;
      default:
        break;
    }
    for (const OptionsBinding& binding : bindings) {
      if (control.name == binding.control) {
        control.events.push_back({binding.event, binding.handler, binding.argument});
      }
    }
    for (const auto& [box, label] : kBoxLabels) {
      if (control.name == box) control.label = label;
    }
    const bool decimals_follow = control.name == kDecimalPlacesLabel;
    design.controls.push_back(std::move(control));

    // The decimal places box stands after its caption.
    if (decimals_follow) {
      ControlDesign decimals =
          EditBox(kDecimalPlacesBox, kGeneralPage, 16, 148, 176, std::to_string(kDecimalPlacesTag));
      decimals.events = {{Event::GotFocus, kOnOptionsBoxGotFocus},
                         {Event::LostFocus, kOnOptionsBoxLostFocus}};
      decimals.label = kDecimalPlacesLabel;
      design.controls.push_back(std::move(decimals));
    }
  }
}

// Two columns of 16 name boxes, tags 10001 to 10032.
void AddNameBoxes(WindowDesign& design) {
  for (int n = 1; n <= kCategoryCount; ++n) {
    const bool left_column = n <= 16;
    const int position = left_column ? n : n - 16;
    ControlDesign box =
        EditBox(CategoryButtonName(n).c_str(), kNamesPage, left_column ? 8 : 134,
                32 + 16 * (position - 1), 100, std::to_string(kDecimalPlacesTag + n));
    // No label stands beside these boxes: each is named by the button whose caption it holds.
    box.accessible_name = "类别按钮" + std::to_string(n) + "的名称";
    design.controls.push_back(std::move(box));
  }
}

void AddLayoutBoxes(WindowDesign& design) {
  const char* names[] = {kColumnSpanBox, kRowSpacingBox, kRowsPerColumnBox};
  const char* labels[] = {"透明标签7", "透明标签8", "透明标签1"};
  for (int i = 0; i < 3; ++i) {
    ControlDesign box = EditBox(names[i], kAdvancedPage, 8, 56 + 40 * i, 176,
                                std::to_string(kDecimalPlacesTag + 33 + i));
    box.label = labels[i];
    design.controls.push_back(std::move(box));
  }
}

WindowDesign BuildOptionsWindowDesign() {
  WindowDesign design;
  design.name = kOptionsWindow;
  design.title = "Options";
  design.width = 302;
  design.height = 454;
  design.drag_by_background = true;
  design.events = {{Event::Created, kOnOptionsCreated}};
  AddFixedControls(design);
  AddNameBoxes(design);
  AddLayoutBoxes(design);
  return design;
}

}  // namespace

const char* StyleRadioName(int style) {
  switch (style) {
    case 1:
      return "单选框1";
    case 2:
      return "单选框2";
    case 3:
      return "单选框3";
    default:
      return "";
  }
}

const WindowDesign& OptionsWindowDesign() {
  static const WindowDesign design = BuildOptionsWindowDesign();
  return design;
}

}  // namespace velmora
