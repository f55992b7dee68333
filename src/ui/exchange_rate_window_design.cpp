#include "ui/exchange_rate_window_design.h"

#include <utility>

#include "ui/design_looks.h"
#include "ui/secondary_windows.h"

namespace velmora {
namespace {

constexpr int kWindowWidth = 420;
constexpr int kWindowHeight = 480;
constexpr const char* kPanel = "画板1";

Look ButtonLook() {
  Look look = TextLook(kBlack);
  look.has_background = true;
  look.background = kLightGrey;
  return look;
}

Look ScrollLook() {
  Look look = PanelLook();
  look.text_colour = kBlack;
  return look;
}

Look TemplateEditLook() {
  Look look;
  look.text_colour = kBlue;
  look.has_background = true;
  look.background = kLightGrey;
  look.align = Align::Centre;
  look.input = Input::DecimalNumber;
  return look;
}

WindowDesign BuildExchangeRateWindowDesign() {
  WindowDesign design;
  design.name = kExchangeRateWindow;
  design.title = "汇率换算";
  design.width = kWindowWidth;
  design.height = kWindowHeight;
  design.drag_by_background = true;
  design.events = {{Event::Created, kOnRatesCreated}};

  // clang-format off
  const ControlRow controls[] = {
  //  kind                    name                  parent  left  top width height text        look                         cursor           handler
    {Kind::TransparentLabel, "透明标签1",           "",       16,   0,  72,  24, "汇率换算",   TextLook(kWhite),            Cursor::Default, nullptr},
    {Kind::ImageButton,      kCloseButton,          "",      356,   0,  44,  18, "×",          PictureButtonLook("close"),  Cursor::Default, kDestroyRatesWindow},
    {Kind::Canvas,           kPanel,                "",       16,  24, 388, 440, "",           PanelLook(),                 Cursor::Default, nullptr},
    {Kind::TransparentLabel, kRatesDateLabel,       kPanel,   12,  12, 276,  16, "",           TextLook(kBlack),            Cursor::Default, nullptr},
    {Kind::SuperButton,      kUpdateRatesButton,    kPanel,  296,   8,  80,  24, "更新汇率",   ButtonLook(),                Cursor::Default, kUpdateRates},
    {Kind::TransparentLabel, kRatesStatusLabel,     kPanel,   12,  36, 364,  32, "",           TextLook(kBlack),            Cursor::Default, nullptr},
    {Kind::FramedScrollBox,  kRatesScrollBox,       kPanel,   12,  72, 364, 356, "",           ScrollLook(),                Cursor::Default, nullptr},
  };
  // clang-format on
  for (const ControlRow& row : controls) {
    ControlDesign control = MakeControl(row);
    if (row.kind == Kind::ImageButton) control.accessible_name = "关闭";
    design.controls.push_back(std::move(control));
  }

  ControlDesign edit = PlacedControl(Kind::EditBox, kRateTemplateEdit, kRatesScrollBox,
                                     kRateEditLeft, kFirstRateRowTop, 152, 16);
  edit.visible = false;
  edit.made_on_first_use = true;
  edit.look = TemplateEditLook();
  edit.label = kRateTemplateLabel;
  edit.events = {
      {Event::ContentChanged, kOnRateEdited},
      {Event::GotFocus, kOnRateGotFocus},
      {Event::LostFocus, kOnRateLostFocus},
  };
  design.controls.push_back(std::move(edit));

  ControlDesign label = PlacedControl(Kind::TransparentLabel, kRateTemplateLabel, kRatesScrollBox,
                                      kRateLabelLeft, kFirstRateRowTop, 176, 16);
  label.visible = false;
  label.made_on_first_use = true;
  label.look = TextLook(kBlack);
  design.controls.push_back(std::move(label));
  return design;
}

}  // namespace

const WindowDesign& ExchangeRateWindowDesign() {
  static const WindowDesign design = BuildExchangeRateWindowDesign();
  return design;
}

}  // namespace velmora
