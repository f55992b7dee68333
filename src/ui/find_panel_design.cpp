#include "ui/find_panel_design.h"

#include <utility>

#include "ui/design_looks.h"

namespace velmora {
namespace {

// The panel stands over the right part of the page control, below the notice line.
constexpr int kPanelLeft = 424;
constexpr int kPanelTop = 60;
constexpr int kPanelWidth = 356;
constexpr int kLineHeight = 18;
constexpr int kFirstLineTop = 28;
constexpr int kPanelHeight = kFirstLineTop + kFindResultLines * kLineHeight + 4;

ControlDesign InPanel(Kind kind, std::string name, int left, int top, int width, int height) {
  return PlacedControl(kind, std::move(name), kFindPanel, left, top, width, height);
}

}  // namespace

std::string FindResultName(int line) {
  return "查找结果" + std::to_string(line);
}

void AddFindPanel(WindowDesign& design) {
  ControlDesign panel;
  panel.kind = Kind::ShapeBox;
  panel.name = kFindPanel;
  panel.left = kPanelLeft;
  panel.top = kPanelTop;
  panel.width = kPanelWidth;
  panel.height = kPanelHeight;
  panel.visible = false;
  panel.look.has_background = true;
  panel.look.background = kLightGrey;
  design.controls.push_back(std::move(panel));

  ControlDesign caption = InPanel(Kind::TransparentLabel, "查找标签", 6, 4, 32, 20);
  caption.text = "查找";
  design.controls.push_back(std::move(caption));

  ControlDesign box = InPanel(Kind::EditBox, kFindBox, 40, 4, kPanelWidth - 46, 20);
  box.label = "查找标签";
  box.look.text_colour = kBlue;
  box.look.has_background = true;
  box.look.background = kWhite;
  box.events = {{Event::ContentChanged, kOnFindTextChanged}};
  design.controls.push_back(std::move(box));

  ControlDesign none = InPanel(Kind::TransparentLabel, kFindNoMatch, 8, kFirstLineTop,
                               kPanelWidth - 16, kLineHeight);
  none.text = "没有找到匹配的单位";
  none.visible = false;
  none.look.text_colour = 0x808080;
  design.controls.push_back(std::move(none));

  for (int line = 1; line <= kFindResultLines; ++line) {
    ControlDesign result =
        InPanel(Kind::Label, FindResultName(line), 4, kFirstLineTop + (line - 1) * kLineHeight,
                kPanelWidth - 8, kLineHeight);
    result.visible = false;
    result.cursor = Cursor::Hand;
    result.look.has_background = true;
    result.look.background = kLightGrey;
    result.events = {{Event::LeftButtonDown, kJumpToFoundUnit, line - 1}};
    design.controls.push_back(std::move(result));
  }
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
