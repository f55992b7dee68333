#include "ui/main_window_design.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "ui/design_looks.h"
#include "ui/find_panel_design.h"
#include "units/category.h"
#include "velmora/version.h"

#ifndef VELMORA_HOMEPAGE_URL
#define VELMORA_HOMEPAGE_URL ""
#endif

namespace velmora {
namespace {

constexpr const char* kMainWindowTitle = "Velmora v3.2 Final";

// The pop-up menus' highlight: white text on a clear blue.
Look MenuSkinLook() {
  Look look;
  look.has_background = true;
  look.background = 0xC86E3A;
  look.text_colour = kWhite;
  look.font.family = "Tahoma";
  return look;
}

std::string MenuIcon(const char* name) {
  return std::string(":/pictures/menu-") + name + ".png";
}

Look PageControlLook() {
  Look look;
  look.has_background = true;
  look.background = kLightGrey;
  for (int page = 1; page <= kCategoryCount; ++page) look.pages.push_back(std::to_string(page));
  return look;
}

struct FixedBinding {
  const char* control;
  Event event;
  const char* handler;
};

// Design captions of the category buttons; the settings file renames them at start-up.
constexpr const char* kCategoryCaptions[kCategoryCount] = {
    "长度",     "面积",     "体积",       "温度",   "质量",   "力",     "压强",     "功",
    "能",       "密度",     "计算机容量", "加速度", "速度",   "时间",   "运动粘度", "动力粘度",
    "体积流量", "质量流量", "发光强度",   "亮度",   "自定义", "自定义", "自定义",   "自定义",
    "自定义",   "自定义",   "自定义",     "自定义", "自定义", "自定义", "自定义",   "自定义"};

// What the picture buttons do, for assistive tools: their captions are only glyphs.
constexpr std::pair<const char*, const char*> kPictureButtonNames[] = {
    {kMinimiseButton, "最小化"},
    {kCloseButton, "关闭"},
};

void AddFixedControls(WindowDesign& design) {
  const std::string title = "维尔莫拉 v" + std::string(kVersion) + " 最终版";
  // clang-format off
  const ControlRow controls[] = {
  //  kind                    name                 parent left  top  width height text                     look                           cursor           handler
    {Kind::TransparentLabel, kTitleLabel,          "",     16,  -1,  600,  24, title,                   TextLook(kWhite, 16),          Cursor::Default, nullptr},
    {Kind::SuperButton,      kSettingsButton,      "",     29,  24,   48,  24, "设置",                  TextLook(kBlack, 12),          Cursor::Default, nullptr},
    {Kind::SuperButton,      kHelpButton,          "",     77,  24,   48,  24, "帮助",                  TextLook(kBlack, 12),          Cursor::Default, nullptr},
    {Kind::TransparentLabel, kMessageLabel,        "",    224,  24,  536,  24, "点击此处下载更多软件",  TextLook(kWhite, 12),          Cursor::Hand,    nullptr},
    {Kind::PageControl,      kPageControlName,     "",     24,  56,  760, 384, "",                      PageControlLook(),             Cursor::Default, nullptr},
    {Kind::ImageButton,      kMinimiseButton,      "",    863,   0,   27,  18, "-",                     PictureButtonLook("minimize"), Cursor::Default, nullptr},
    {Kind::ImageButton,      kCloseButton,         "",    890,   0,   44,  18, "×",                     PictureButtonLook("close"),    Cursor::Default, nullptr},
    {Kind::TransparentLabel, kOwnershipLabel,      "",     32, 448,  168,  24, "© 2008-2026 维尔莫拉",  TextLook(kWhite, 16),          Cursor::Hand,    nullptr},
    {Kind::TransparentLabel, kAdvertLabel,         "",    361, 448,  575,  21, "热门小游戏！",          TextLook(kWhite, 12),          Cursor::Hand,    nullptr},
    {Kind::Timer,            kDragTimer,           "",      0,   0,    0,   0, "",                      Look{},                        Cursor::Default, nullptr},
    {Kind::Timer,            kAdvertTimer,         "",      0,   0,    0,   0, "",                      Look{},                        Cursor::Default, nullptr},
    {Kind::Timer,            kMessageTimer,        "",      0,   0,    0,   0, "",                      Look{},                        Cursor::Default, nullptr},
    {Kind::HyperlinkBox,     kHomepageLinkBox,     "",      0,   0,    0,   0, VELMORA_HOMEPAGE_URL,    Look{},                        Cursor::Default, nullptr},
    {Kind::MenuSkin,         "超级菜单",           "",      0,   0,    0,   0, "",                      MenuSkinLook(),                Cursor::Default, nullptr},
  };
  const FixedBinding bindings[] = {
  //  control                 event                   handler
    {kSettingsButton,         Event::Clicked,         kShowGeneralMenu},
    {kHelpButton,             Event::Clicked,         kShowHelpMenu},
    {kMessageLabel,           Event::LeftButtonDown,  kOpenHomepage},
    {kOwnershipLabel,         Event::LeftButtonDown,  kOpenHomepage},
    {kAdvertLabel,            Event::LeftButtonDown,  kOpenGamesPage},
    {kCloseButton,            Event::Clicked,         kDestroyMainWindow},
    {kMinimiseButton,         Event::Clicked,         kMinimiseToTray},
    {kTitleLabel,             Event::LeftButtonDown,  kBeginDrag},
    {kTitleLabel,             Event::LeftButtonUp,    kEndDrag},
    {kPageControlName,        Event::LeftButtonDown,  kBeginDrag},
    {kPageControlName,        Event::LeftButtonUp,    kEndDrag},
    {kDragTimer,              Event::Tick,            kFollowMouse},
    {kMessageTimer,           Event::Tick,            kShowNextMessage},
    {kAdvertTimer,            Event::Tick,            kShowNextAdvert},
  };
  // clang-format on
  for (const ControlRow& row : controls) {
    ControlDesign control = MakeControl(row);
    const bool invisible =
        row.kind == Kind::Timer || row.kind == Kind::HyperlinkBox || row.kind == Kind::MenuSkin;
    control.visible = !invisible;
    for (const FixedBinding& binding : bindings) {
      if (control.name == std::string_view(binding.control))
        control.events.push_back({binding.event, binding.handler});
    }
    for (const auto& [name, spoken] : kPictureButtonNames) {
      if (control.name == name) control.accessible_name = spoken;
    }
    design.controls.push_back(std::move(control));
  }
}

// Each page holds an invisible template pair that unit rows are copied from; the copies share
// its look and event bindings. The template edit box carries the page's PageBase as its tag and
// its bindings' argument, a number no unit row uses; each copy carries its own row number in
// both. The rows convert on the user's edits alone, not on the program's writes of results.
void AddTemplateRows(WindowDesign& design) {
  for (int page = 1; page <= kCategoryCount; ++page) {
    ControlDesign edit;
    edit.kind = Kind::EditBox;
    edit.name = TemplateEditName(page);
    edit.parent = kPageControlName;
    edit.page = page - 1;
    edit.left = 16;
    edit.top = 20;
    edit.width = kTemplateEditWidth;
    edit.height = kTemplateRowHeight;
    edit.visible = false;
    edit.made_on_first_use = true;
    edit.tag = std::to_string(PageBase(page));
    edit.look.text_colour = kBlue;
    edit.look.has_background = true;
    edit.look.background = kLightGrey;
    edit.look.align = Align::Centre;
    edit.look.input = Input::DecimalNumber;
    edit.look.context_menu = kRowMenu;
    // Each unit row is named by its unit: the copy of the label beside it.
    edit.label = TemplateLabelName(page);
    edit.events = {
        {Event::UserEdited, page == kTemperaturePage ? kOnTemperatureEdited : kOnRowEdited,
         PageBase(page)},
        {Event::GotFocus, kOnRowGotFocus, PageBase(page)},
        {Event::LostFocus, kOnRowLostFocus, PageBase(page)},
    };
    design.controls.push_back(std::move(edit));

    ControlDesign label;
    label.kind = Kind::TransparentLabel;
    label.name = TemplateLabelName(page);
    label.parent = kPageControlName;
    label.page = page - 1;
    label.left = 140;
    label.top = 20;
    label.width = TemplateLabelWidth(page);
    label.height = kTemplateRowHeight;
    label.visible = false;
    label.made_on_first_use = true;
    label.look.text_colour = kBlack;
    design.controls.push_back(std::move(label));
  }
}

// Two columns of 16 buttons beside the page control; the tags run row by row, left first.
void AddCategoryButtons(WindowDesign& design) {
  for (int page = 1; page <= kCategoryCount; ++page) {
    const bool left_column = page <= 16;
    const int position = left_column ? page - 1 : page - 17;
    ControlDesign button;
    button.kind = Kind::SuperButton;
    button.name = CategoryButtonName(page);
    button.left = left_column ? 784 : 856;
    button.top = 56 + 24 * position;
    button.width = 72;
    button.height = 24;
    button.text = kCategoryCaptions[page - 1];
    button.tag = std::to_string((left_column ? 5000 : 5001) + 2 * position);
    char face[48];
    std::snprintf(face, sizeof face, ":/pictures/category-face-%02d.jpg", page);
    button.look.picture = face;
    button.look.has_background = true;
    button.look.background = kLightGrey;
    // The button of the category on show is drawn chosen.
    button.checkable = true;
    button.events = {{Event::Clicked, kLoadCategoryPage, page}};
    design.controls.push_back(std::move(button));
  }
}

void AddMenus(WindowDesign& design) {
  const std::vector<EventBinding> exit = {{Event::Chosen, kDestroyMainWindow}};
  const std::vector<EventBinding> open = {{Event::Chosen, kOpenMainWindow}};
  const auto opens = [](const char* handler) {
    return std::vector<EventBinding>{{Event::Chosen, handler}};
  };
  design.menus = {
      {kGeneralMenu,
       {{"系统设置菜单", "&O.系统设置", opens(kOpenOptionsWindow), MenuIcon("settings")},
        {"单位管理器菜单", "&M.单位管理器", opens(kOpenUnitManagerWindow),
         MenuIcon("unit-manager")},
        {"即时计算器菜单", "&I.即时计算器", opens(kOpenCalculatorWindow), MenuIcon("calculator")},
        {"汇率换算菜单", "&R.汇率换算", opens(kOpenExchangeRateWindow), MenuIcon("rates")},
        {"退出菜单", "&X.退出", exit, MenuIcon("exit")}},
       true},
      {kHelpMenu, {{"关于菜单", "&A.关于", opens(kOpenAboutWindow), MenuIcon("about")}}, true},
      {kTrayMenu,
       {{"打开主界面菜单", "&O.打开主界面", open, MenuIcon("open")},
        {"托盘退出菜单", "&X.退出", exit, MenuIcon("exit")}}},
  };
}

WindowDesign BuildMainWindowDesign() {
  WindowDesign design;
  design.name = "MainWindow";
  design.title = kMainWindowTitle;
  design.width = kMainWindowWidth;
  design.height = kMainWindowHeight;
  design.background = kLightGrey;
  for (const int size : {128, 72, 48, 32, 16}) {
    design.icon_pictures.push_back(":/pictures/icon-" + std::to_string(size) + ".png");
  }
  design.menu_font = "Tahoma";
  design.events = {
      {Event::Created, kOnMainWindowCreated},
      {Event::Destroying, kOnMainWindowDestroyed},
      {Event::LeftButtonDown, kBeginDrag},
      {Event::LeftButtonUp, kEndDrag},
      {Event::Tray, kOnTrayEvent},
      {Event::KeyDown, kOnMainWindowKey},
  };
  AddFixedControls(design);
  AddTemplateRows(design);
  AddCategoryButtons(design);
  AddFindPanel(design);
  AddMenus(design);
  AddRowMenu(design);
  return design;
}

}  // namespace

const WindowDesign& MainWindowDesign() {
  static const WindowDesign design = BuildMainWindowDesign();
  return design;
}

}  // namespace velmora
