#include "ui/exchange_rate_window_design.h"

#include <utility>

#include "ui/design_looks.h"
#include "ui/secondary_windows.h"

namespace velmora {
namespace {

constexpr int kWindowWidth = 420;
constexpr int kWindowHeight = 480;
constexpr const char* kPanel = "画板1";

struct RatesControl {
  Kind kind;
  const char* name;
  const char* parent;
  int left;
  int top;
  int width;
  int height;
  const char* text;
  Look look;
  const char* clicked;
};

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
  const RatesControl controls[] = {
  //  kind                    name                  parent  left  top width height text        look                         clicked
    {Kind::TransparentLabel, "透明标签1",           "",       16,   0,  72,  24, "汇率换算",   TextLook(kWhite),            nullptr},
    {Kind::ImageButton,      "控件_图形按钮_关闭",  "",      356,   0,  44,  18, "×",          PictureButtonLook("close"),  kDestroyRatesWindow},
    {Kind::Canvas,           kPanel,                "",       16,  24, 388, 440, "",           PanelLook(),                 nullptr},
    {Kind::TransparentLabel, kRatesDateLabel,       kPanel,   12,  12, 276,  16, "",           TextLook(kBlack),            nullptr},
    {Kind::SuperButton,      kUpdateRatesButton,    kPanel,  296,   8,  80,  24, "更新汇率",   ButtonLook(),                kUpdateRates},
    {Kind::TransparentLabel, kRatesStatusLabel,     kPanel,   12,  36, 364,  32, "",           TextLook(kBlack),            nullptr},
    {Kind::FramedScrollBox,  kRatesScrollBox,       kPanel,   12,  72, 364, 356, "",           ScrollLook(),                nullptr},
  };
  // clang-format on
  for (const RatesControl& row : controls) {
    ControlDesign control =
        PlacedControl(row.kind, row.name, row.parent, row.left, row.top, row.width, row.height);
    control.text = row.text;
    control.look = row.look;
    if (row.clicked != nullptr) control.events = {{Event::Clicked, row.clicked}};
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
