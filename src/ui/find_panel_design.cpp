#include "ui/find_panel_design.h"

#include <utility>

#include "ui/design_looks.h"
#include "units/category.h"

namespace velmora {
namespace {

constexpr int kListTop = 32;
// The list's vertical scroll bar stands beside the lines, never over them.
constexpr int kScrollBarRoom = 12;

ControlDesign InPanel(Kind kind, std::string name, int left, int top, int width, int height) {
  return PlacedControl(kind, std::move(name), kFindPanel, left, top, width, height);
}

}  // namespace

std::string FindResultName(int line) {
  return "查找结果" + std::to_string(line);
}

void AddFindPanel(WindowDesign& design) {
  // The panel covers the page control whole, so that no row of the page shows beside it.
  ControlDesign panel = PlacedControl(Kind::ShapeBox, kFindPanel, "", 24, 56, 760, 384);
  for (const ControlDesign& control : design.controls) {
    if (control.name == kPageControlName) {
      panel.left = control.left;
      panel.top = control.top;
      panel.width = control.width;
      panel.height = control.height;
    }
  }
  panel.visible = false;
  panel.look.has_background = true;
  panel.look.background = kLightGrey;
  const int width = panel.width;
  const int list_height = kFindResultLines * kFindLineHeight;
  design.controls.push_back(std::move(panel));

  ControlDesign caption = InPanel(Kind::TransparentLabel, "查找标签", 8, 6, 32, 20);
  caption.text = "查找";
  design.controls.push_back(std::move(caption));

  constexpr int kCountWidth = 150;
  ControlDesign box = InPanel(Kind::EditBox, kFindBox, 40, 6, width - 40 - kCountWidth - 16, 20);
  box.label = "查找标签";
  box.look.text_colour = kBlue;
  box.look.has_background = true;
  box.look.background = kWhite;
  box.events = {{Event::ContentChanged, kOnFindTextChanged}};
  design.controls.push_back(std::move(box));

  ControlDesign count =
      InPanel(Kind::TransparentLabel, kFindCount, width - kCountWidth - 8, 6, kCountWidth, 20);
  count.look.align = Align::Right;
  design.controls.push_back(std::move(count));

  design.controls.push_back(
      InPanel(Kind::ScrollBox, kFindList, 8, kListTop, width - 16, list_height));
  for (int line = 1; line <= kFindResultLines; ++line) {
    ControlDesign result =
        PlacedControl(Kind::Label, FindResultName(line), kFindList, 0, (line - 1) * kFindLineHeight,
                      width - 16 - kScrollBarRoom, kFindLineHeight);
    result.visible = false;
    result.cursor = Cursor::Hand;
    result.look.has_background = true;
    result.look.background = kLightGrey;
    result.events = {{Event::LeftButtonDown, kJumpToFoundUnit}};
    design.controls.push_back(std::move(result));
  }

  // Over the empty list.
  ControlDesign none =
      InPanel(Kind::TransparentLabel, kFindNoMatch, 8, kListTop, width - 16, kFindLineHeight);
  none.text = "没有找到匹配的单位";
  none.visible = false;
  none.look.text_colour = 0x808080;
  design.controls.push_back(std::move(none));
}

void AddRowMenu(WindowDesign& design) {
  const auto item = [](const char* name, const char* caption, const char* handler) {
    return MenuItemDesign{name, caption, {{Event::Chosen, handler}}, {}};
  };
  design.menus.push_back(
      {kRowMenu,
       {item("复制数值菜单", "复制数值", kCopyRowValue),
        item("复制数值和单位菜单", "复制数值和单位", kCopyRowValueAndUnit),
        item("粘贴菜单", "粘贴", kPasteIntoRow), item("全选菜单", "全选", kSelectRowText),
        item("清空本页菜单", "清空本页", kClearCurrentPage)}});
}

}  // namespace velmora
