#include "ui/about_window_design.h"

#include <string>

#include "ui/design_looks.h"
#include "ui/secondary_windows.h"

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "3.21"
#endif

namespace velmora {
namespace {

struct AboutControl {
  Kind kind;
  const char* name;
  int left;
  int top;
  int width;
  int height;
  std::string text;
  Colour text_colour;
  Cursor cursor;
  const char* handler;  // clicked, or left button down for the link label
};

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
  const AboutControl controls[] = {
  //  kind                    name                   left  top width height text                           colour  cursor        handler
    {Kind::TransparentLabel, "透明标签6",              32,   6,  32,  16, "关于",                          kWhite, Cursor::Default, nullptr},
    {Kind::ImageButton,      "控件_图形按钮_关闭",    320,   0,  44,  18, "×",                             kBlack, Cursor::Default, kCloseAboutWindow},
    {Kind::Canvas,           "画板1",                  16,  24, 344, 184, "",                              kBlack, Cursor::Default, nullptr},
    {Kind::PictureBox,       "图片框1",                24,  48,  48,  48, "",                              kBlack, Cursor::Default, nullptr},
    {Kind::TransparentLabel, "透明标签1",             128,  40, 192,  48, AboutVersionText(),              kBlack, Cursor::Default, nullptr},
    {Kind::TransparentLabel, kAboutHomepageLabel,      24, 152, 224,  16, "Homepage: " + homepage,         kBlue,  Cursor::Hand,    kOpenAboutHomepage},
    {Kind::HyperlinkBox,     kAboutLinkBox,             0,   0,   0,   0, homepage,                        kBlack, Cursor::Default, nullptr},
    {Kind::SuperButton,      "确定",                  280, 168,  72,  24, "确定",                          kBlack, Cursor::Default, kCloseAboutWindow},
  };
  // clang-format on
  for (const AboutControl& row : controls) {
    ControlDesign control =
        PlacedControl(row.kind, row.name, "", row.left, row.top, row.width, row.height);
    control.text = row.text;
    control.cursor = row.cursor;
    control.visible = row.kind != Kind::HyperlinkBox;
    control.look.text_colour = row.text_colour;
    switch (row.kind) {
      case Kind::Canvas:
        control.look = PanelLook();
        break;
      case Kind::ImageButton:
        control.look = PictureButtonLook("close");
        control.accessible_name = "关闭";
        break;
      case Kind::PictureBox:
        control.look.picture = kAboutPicture;
        break;
      case Kind::SuperButton:
        control.look.has_background = true;
        control.look.background = kLightGrey;
        break;
      default:
        break;
    }
    if (row.handler != nullptr) {
      control.events = {
          {row.kind == Kind::TransparentLabel ? Event::LeftButtonDown : Event::Clicked,
           row.handler}};
    }
    design.controls.push_back(std::move(control));
  }
  return design;
}

}  // namespace

const char* AboutVersionText() {
  return "维尔莫拉\r\n\r\n\r\nVersion:" VELMORA_VERSION " Final";
}

const WindowDesign& AboutWindowDesign() {
  static const WindowDesign design = BuildAboutWindowDesign();
  return design;
}

}  // namespace velmora
