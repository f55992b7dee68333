#include "ui/about_window_design.h"

#include <string>

#include "ui/design_looks.h"
#include "ui/secondary_windows.h"
#include "velmora/version.h"

namespace velmora {
namespace {

Look PictureLook(const char* picture) {
  Look look;
  look.picture = picture;
  return look;
}

WindowDesign BuildAboutWindowDesign() {
  WindowDesign design;
  design.name = kAboutWindow;
  design.title = "About";
  design.width = 379;
  design.height = 227;
  design.drag_by_background = true;
  design.events = {{Event::Created, kOnAboutCreated}};

  // The address is set when the window is created, from the program's configured homepage.
  const std::string homepage;
  // clang-format off
  const ControlRow controls[] = {
  //  kind                    name                 parent left  top width height text                    look                        cursor           handler
    {Kind::TransparentLabel, "透明标签6",          "",     32,   6,  32,  16, "关于",                  TextLook(kWhite),           Cursor::Default, nullptr},
    {Kind::ImageButton,      kCloseButton,         "",    320,   0,  44,  18, "×",                     PictureButtonLook("close"), Cursor::Default, kCloseAboutWindow},
    {Kind::Canvas,           "画板1",              "",     16,  24, 344, 184, "",                      PanelLook(),                Cursor::Default, nullptr},
    {Kind::PictureBox,       "图片框1",            "",     24,  48,  48,  48, "",                      PictureLook(kAboutPicture), Cursor::Default, nullptr},
    {Kind::TransparentLabel, "透明标签1",          "",    128,  40, 192,  48, AboutVersionText(),      TextLook(kBlack),           Cursor::Default, nullptr},
    {Kind::TransparentLabel, kAboutHomepageLabel,  "",     24, 152, 224,  16, "Homepage: " + homepage, TextLook(kBlue),            Cursor::Hand,    kOpenAboutHomepage},
    {Kind::HyperlinkBox,     kAboutLinkBox,        "",      0,   0,   0,   0, homepage,                Look{},                     Cursor::Default, nullptr},
    {Kind::SuperButton,      "确定",               "",    280, 168,  72,  24, "确定",                  PanelLook(),                Cursor::Default, kCloseAboutWindow},
  };
  // clang-format on
  for (const ControlRow& row : controls) {
    ControlDesign control = MakeControl(row);
    control.visible = row.kind != Kind::HyperlinkBox;
    if (row.kind == Kind::ImageButton) control.accessible_name = "关闭";
    design.controls.push_back(std::move(control));
  }
  return design;
}

}  // namespace

std::string AboutVersionText() {
  return "维尔莫拉\r\n\r\n\r\nVersion:" + std::string(kVersion) + " Final";
}

const WindowDesign& AboutWindowDesign() {
  static const WindowDesign design = BuildAboutWindowDesign();
  return design;
}

}  // namespace velmora
