#include "ui/unit_manager_design.h"

#include <cstdio>
#include <map>
#include <string>

#include "ui/design_looks.h"
#include "ui/secondary_windows.h"
#include "units/category.h"

namespace velmora {
namespace {

constexpr const char* kCanvas = "画板1";
constexpr const char* kCommandGroup = "分组框1";
constexpr const char* kCategoryGroup = "分组框2";

// Design captions of the category buttons; the settings file renames them when the window opens.
// clang-format off
constexpr const char* kCategoryCaptions[kCategoryCount] = {
    "长度",     "面积",     "体积",       "温度",   "质量",   "力",     "压强",     "功",
    "能",       "密度",     "计算机容量", "加速度", "速度",   "时间",   "运动粘度", "动力粘度",
    "体积流量", "质量流量", "发光强度",   "亮度",   "自定义", "自定义", "自定义",   "自定义",
    "user defined5", "user defined6",  "user defined7",  "user defined8",
    "user defined9", "user defined10", "user defined11", "user defined12"};
// clang-format on

Look GridLook() {
  Look look;
  look.has_background = true;
  look.background = kWhite;
  look.columns = {"序号", "名称", "转换倍率"};
  return look;
}

// The captions stand beside a 16-pixel icon in 80 pixels: at 11 pixels the longest, "加入新单位",
// keeps a gap to its icon.
Look CommandLook(const char* icon) {
  Look look = PanelLook();
  look.picture = std::string(":/pictures/") + icon;
  look.font.pixel_size = 11;
  return look;
}

// Category button N stands in one of four columns: 1 to 16 fill the left pair two per row (odd
// numbers left), 17 to 32 the right pair. The grid's canvas holds 17 to 30.
ControlDesign CategoryButton(int page) {
  const int first = page <= 16 ? 1 : 17;
  const int row = (page - first) / 2;
  const int column = (page <= 16 ? 0 : 2) + (page - first) % 2;
  ControlDesign button;
  button.kind = Kind::SuperButton;
  button.name = CategoryButtonName(page);
  button.parent = page >= 17 && page <= 30 ? kCanvas : "";
  button.left = 344 + 72 * column;
  button.top = 192 + 24 * row;
  button.width = 72;
  button.height = 24;
  button.text = kCategoryCaptions[page - 1];
  button.tag = UnitSection(page);
  char face[48];
  std::snprintf(face, sizeof face, ":/pictures/manager-face-%02d.jpg", page);
  button.look = PanelLook();
  button.look.picture = face;
  if (page == kTemperaturePage) {
    button.look.hint = "“温度不提供修改功能”";
    button.events = {{Event::Clicked, kShowTemperatureNotice}};
  } else if (page == 1) {
    button.events = {{Event::Clicked, kChooseCategory}};
  }
  return button;
}

WindowDesign BuildUnitManagerDesign() {
  WindowDesign design;
  design.name = kUnitManagerWindow;
  design.title = "Unit-Manager";
  design.width = 667;
  design.height = 465;
  design.drag_by_background = true;
  design.events = {{Event::Created, kOpenUnitManager}};

  // clang-format off
  const ControlRow controls[] = {
  //  kind                    name                   parent          left  top width height text                      look                            cursor           handler
    {Kind::TransparentLabel, "透明标签4",            "",              32,   0,  64,  24, "单位管理器",               TextLook(kWhite),               Cursor::Default, nullptr},
    {Kind::ImageButton,      kCloseButton,           "",             592,   0,  44,  18, "×",                        PictureButtonLook("close"),     Cursor::Default, kCloseUnitManager},
    {Kind::Canvas,           kCanvas,                "",              24,  24, 624, 424, "",                         PanelLook(),                    Cursor::Default, nullptr},
    {Kind::Grid,             kUnitGrid,              kCanvas,         32,  32, 296, 368, "",                         GridLook(),                     Cursor::Default, nullptr},
    {Kind::GroupBox,         kCommandGroup,          kCanvas,        336,  24, 304, 152, "",                         PanelLook(),                    Cursor::Default, nullptr},
    {Kind::ShapeBox,         "外形框1",              kCommandGroup,  431, 120, 120,  40, "",                         TextLook(0x999999),             Cursor::Default, nullptr},
    {Kind::GroupBox,         kCategoryGroup,         kCanvas,        336, 176, 304, 218, "",                         PanelLook(),                    Cursor::Default, nullptr},
    {Kind::SuperButton,      kAddUnitButton,         "",             384,  40,  80,  24, "加入新单位",               CommandLook("unit-add.png"),    Cursor::Default, kAddUnit},
    {Kind::SuperButton,      kDeleteUnitButton,      "",             528,  40,  80,  24, "删除单位",                 CommandLook("unit-delete.png"), Cursor::Default, kDeleteUnit},
    {Kind::SuperButton,      kMoveUpButton,          "",             384,  72,  80,  24, "上移",                     CommandLook("unit-up.png"),     Cursor::Default, kMoveUnitUp},
    {Kind::SuperButton,      kMoveDownButton,        "",             528,  72,  80,  24, "下移",                     CommandLook("unit-down.png"),   Cursor::Default, kMoveUnitDown},
    {Kind::SuperButton,      kApplyButton,           "",             451, 128,  80,  24, "应用",                     CommandLook("unit-apply.png"),  Cursor::Default, kApplyUnitList},
    {Kind::TransparentLabel, "透明标签3",            kCanvas,         32, 404, 600,  40, "每一项修改后请不要忘记点击应用按钮！\n应用后，主界面立即按新的单位列表显示。", TextLook(kRed), Cursor::Default, nullptr},
    {Kind::Timer,            "时钟1",                "",               0,   0,   0,   0, "",                         Look{},                         Cursor::Default, nullptr},
  };
  // clang-format on

  // Places are given in the window; a child's place counts from its parent's corner.
  std::map<std::string, std::pair<int, int>> origin;
  const auto add = [&](ControlDesign control) {
    origin[control.name] = {control.left, control.top};
    if (!control.parent.empty()) {
      const auto [left, top] = origin.at(control.parent);
      control.left -= left;
      control.top -= top;
    }
    design.controls.push_back(std::move(control));
  };
  for (const ControlRow& row : controls) {
    ControlDesign control = MakeControl(row);
    // The command buttons wait for a category to be chosen.
    control.disabled = row.kind == Kind::SuperButton;
    control.visible = row.kind != Kind::Timer;
    // What assistive tools call the picture button and the grid.
    if (control.kind == Kind::ImageButton) control.accessible_name = "关闭";
    if (control.kind == Kind::Grid) control.accessible_name = "单位列表";
    add(std::move(control));
  }
  for (int page = 1; page <= kCategoryCount; ++page) add(CategoryButton(page));
  return design;
}

}  // namespace

const WindowDesign& UnitManagerWindowDesign() {
  static const WindowDesign design = BuildUnitManagerDesign();
  return design;
}

}  // namespace velmora
