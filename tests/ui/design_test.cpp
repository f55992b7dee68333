#include "toolkit/design.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStackedWidget>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/program_state.h"
#include "app/startup.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/about_window.h"
#include "ui/about_window_design.h"
#include "ui/calculator_window.h"
#include "ui/calculator_window_design.h"
#include "ui/exchange_rate_window.h"
#include "ui/exchange_rate_window_design.h"
#include "ui/find_panel_design.h"
#include "ui/main_window_design.h"
#include "ui/options_window.h"
#include "ui/options_window_design.h"
#include "ui/unit_manager.h"
#include "ui/unit_manager_design.h"
#include "units/category.h"

namespace velmora {
namespace {

// Every window design of the program with the handler table it is loaded with.
struct DesignUnderTest {
  const char* name;
  std::function<const WindowDesign&()> design;
  std::function<HandlerTable(ProgramState&)> handlers;
  friend std::ostream& operator<<(std::ostream& os, const DesignUnderTest& d) {
    return os << d.name;
  }
};

std::vector<DesignUnderTest> AllDesigns() {
  return {{"MainWindow", MainWindowDesign, MainWindowHandlers},
          {"OptionsWindow", OptionsWindowDesign,
           [](ProgramState& s) { return OptionsWindowHandlers(s.conversion, nullptr); }},
          {"AboutWindow", AboutWindowDesign,
           [](ProgramState& s) {
             return AboutWindowHandlers(s.conversion.settings, s.notices.HomepageAddress);
           }},
          {"CalculatorWindow", CalculatorWindowDesign,
           [](ProgramState& s) {
             return CalculatorWindowHandlers(s.conversion.settings, s.calculator_memory);
           }},
          {"UnitManagerWindow", UnitManagerWindowDesign,
           [](ProgramState& s) { return UnitManagerWindowHandlers(s.conversion, nullptr); }},
          {"ExchangeRateWindow", ExchangeRateWindowDesign,
           [](ProgramState& s) { return ExchangeRateWindowHandlers(s.conversion, nullptr); }}};
}

bool IsContainer(Kind kind) {
  return kind == Kind::PageControl || kind == Kind::AdvancedPageControl || kind == Kind::Canvas ||
         kind == Kind::GroupBox || kind == Kind::ShapeBox || kind == Kind::ScrollBox ||
         kind == Kind::FramedScrollBox;
}

bool IsWidget(Kind kind) {
  return kind != Kind::Timer && kind != Kind::HyperlinkBox && kind != Kind::MenuSkin;
}

class DesignTest : public ::testing::TestWithParam<DesignUnderTest> {};

TEST_P(DesignTest, NamesAreUniqueAndParentsExistBeforeTheirChildren) {
  const WindowDesign& design = GetParam().design();
  std::map<std::string, const ControlDesign*> seen;
  for (const ControlDesign& control : design.controls) {
    EXPECT_FALSE(control.name.empty());
    EXPECT_TRUE(seen.emplace(control.name, &control).second) << "duplicate " << control.name;
    if (control.parent.empty()) continue;
    const auto parent = seen.find(control.parent);
    ASSERT_NE(parent, seen.end()) << control.name << ": parent " << control.parent;
    EXPECT_TRUE(IsContainer(parent->second->kind)) << control.name;
    if (parent->second->kind == Kind::PageControl ||
        parent->second->kind == Kind::AdvancedPageControl) {
      EXPECT_GE(control.page, 0) << control.name;
      EXPECT_LT(control.page, static_cast<int>(parent->second->look.pages.size())) << control.name;
    }
  }
  for (const MenuDesign& menu : design.menus) {
    for (const MenuItemDesign& item : menu.items) {
      EXPECT_TRUE(seen.emplace(item.name, nullptr).second) << "duplicate " << item.name;
    }
  }
}

TEST_P(DesignTest, EveryEventBindingResolves) {
  ProgramState state;
  const HandlerTable handlers = GetParam().handlers(state);
  const WindowDesign& design = GetParam().design();
  auto check = [&handlers](const std::vector<EventBinding>& events, const std::string& owner) {
    for (const EventBinding& binding : events) {
      const auto found = handlers.find(binding.handler);
      EXPECT_TRUE(found != handlers.end() && found->second)
          << owner << ": handler " << binding.handler << " is not registered";
    }
  };
  check(design.events, design.name);
  for (const ControlDesign& control : design.controls) check(control.events, control.name);
  for (const MenuDesign& menu : design.menus) {
    for (const MenuItemDesign& item : menu.items) check(item.events, item.name);
  }
}

TEST_P(DesignTest, EveryControlThatTakesTheFocusCanBeNamed) {
  // A label named as a control's label is a label of the same window; an edit box, a grid or a
  // picture button says what it is by a label or a name of its own (the page templates that
  // rows are copied from included), a button by its caption.
  const WindowDesign& design = GetParam().design();
  std::unordered_map<std::string, Kind> kinds;
  for (const ControlDesign& control : design.controls) kinds[control.name] = control.kind;
  for (const ControlDesign& control : design.controls) {
    if (!control.label.empty()) {
      const auto found = kinds.find(control.label);
      ASSERT_TRUE(found != kinds.end()) << control.name << ": no label " << control.label;
      EXPECT_TRUE(found->second == Kind::TransparentLabel || found->second == Kind::Label)
          << control.name << ": " << control.label << " is not a label";
    }
    const bool needs_name = control.kind == Kind::EditBox || control.kind == Kind::Grid ||
                            control.kind == Kind::ImageButton ||
                            ((control.kind == Kind::CheckBox || control.kind == Kind::Button ||
                              control.kind == Kind::SuperButton) &&
                             control.text.empty());
    if (needs_name) {
      EXPECT_FALSE(control.label.empty() && control.accessible_name.empty())
          << design.name << ": " << control.name << " has no accessible name";
    }
  }
}

TEST_P(DesignTest, LoadedWindowHasEveryControlWhereTheDesignPutsIt) {
  // The window as designed: without its created handler, which restyles and renames it, and
  // its destroying handler, which would write the settings file.
  ProgramState state;
  const WindowDesign& design = GetParam().design();
  HandlerTable handlers = GetParam().handlers(state);
  for (const EventBinding& binding : design.events) {
    if (binding.event == Event::Created || binding.event == Event::Destroying) {
      handlers.erase(binding.handler);
    }
  }
  QPointer<Window> window = LoadWindow(design, std::move(handlers), nullptr, false);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->objectName().toStdString(), design.name);
  EXPECT_EQ(window->size(), QSize(design.width, design.height));
  EXPECT_EQ(window->windowTitle().toStdString(), design.title);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  for (const ControlDesign& control : design.controls) {
    const Control found = FindControl(window, control.name);
    ASSERT_TRUE(found) << control.name;
    EXPECT_EQ(found.kind(), control.kind) << control.name;
    EXPECT_EQ(found.object()->objectName().toStdString(), control.name);
    EXPECT_EQ(Tag(found).toStdString(), control.tag) << control.name;
    if (!IsWidget(control.kind)) continue;
    const auto* widget = qobject_cast<QWidget*>(found.object());
    EXPECT_EQ(widget->geometry(), QRect(control.left, control.top, control.width, control.height))
        << control.name;
    EXPECT_EQ(!widget->isHidden(), control.visible) << control.name;
    EXPECT_EQ(Left(found), control.left) << control.name;
    EXPECT_EQ(Width(found), control.width) << control.name;
    if (control.kind == Kind::TransparentLabel || control.kind == Kind::SuperButton) {
      // Design texts break lines the platform's way ("\r\n"); the controls show "\n".
      EXPECT_EQ(Text(found), QString::fromStdString(control.text).replace("\r\n", "\n"))
          << control.name;
    }
    if (!control.parent.empty()) {
      QWidget* parent = qobject_cast<QWidget*>(FindControl(window, control.parent).object());
      EXPECT_TRUE(parent->isAncestorOf(widget)) << control.name;
    }
  }
  for (const MenuDesign& menu : design.menus) {
    for (const MenuItemDesign& item : menu.items) {
      const Control found = FindControl(window, item.name);
      ASSERT_TRUE(found) << item.name;
      EXPECT_EQ(Text(found).toStdString(), item.caption);
    }
  }
  delete window.data();
}

INSTANTIATE_TEST_SUITE_P(Windows, DesignTest, ::testing::ValuesIn(AllDesigns()),
                         [](const auto& info) { return std::string(info.param.name); });

// The main window's numbers, checked against the tables they come from rather than against the
// loops that generate them.
TEST(MainWindowDesignTest, CategoryButtonsStandInTwoColumnsWithTagsRowByRow) {
  struct Expected {
    const char* name;
    int left;
    int top;
    const char* tag;
    const char* caption;
  };
  // clang-format off
  const Expected buttons[] = {
    {"unit1",  784,  56, "5000", "长度"},     {"unit17", 856,  56, "5001", "体积流量"},
    {"unit2",  784,  80, "5002", "面积"},     {"unit18", 856,  80, "5003", "质量流量"},
    {"unit4",  784, 128, "5006", "温度"},     {"unit21", 856, 152, "5009", "自定义"},
    {"unit11", 784, 296, "5020", "计算机容量"}, {"unit20", 856, 128, "5007", "亮度"},
    {"unit16", 784, 416, "5030", "动力粘度"}, {"unit32", 856, 416, "5031", "自定义"},
  };
  // clang-format on
  const WindowDesign& design = MainWindowDesign();
  for (const Expected& expected : buttons) {
    const ControlDesign* found = nullptr;
    for (const ControlDesign& control : design.controls) {
      if (control.name == expected.name) found = &control;
    }
    ASSERT_NE(found, nullptr) << expected.name;
    EXPECT_EQ(found->kind, Kind::SuperButton);
    EXPECT_EQ(found->left, expected.left) << expected.name;
    EXPECT_EQ(found->top, expected.top) << expected.name;
    EXPECT_EQ(found->width, 72);
    EXPECT_EQ(found->height, 24);
    EXPECT_EQ(found->tag, expected.tag) << expected.name;
    EXPECT_EQ(found->text, expected.caption) << expected.name;
  }
}

TEST(MainWindowDesignTest, TemplatesCarryPageBaseTagsAndTheirLabelWidths) {
  const std::map<int, int> label_widths = {{1, 96},   {2, 144}, {7, 176}, {15, 224},
                                           {16, 240}, {4, 144}, {32, 144}};
  const WindowDesign& design = MainWindowDesign();
  std::set<std::string> template_tags;
  for (const ControlDesign& control : design.controls) {
    if (control.name.starts_with("编辑框")) {
      EXPECT_EQ(control.width, 120);
      EXPECT_EQ(control.height, 16);
      EXPECT_FALSE(control.visible);
      EXPECT_EQ(control.parent, "选择夹1");
      EXPECT_EQ((std::stoi(control.tag) - 1) % 50, 0) << control.name;
      template_tags.insert(control.tag);
    }
  }
  EXPECT_EQ(template_tags.size(), 32u);
  EXPECT_TRUE(template_tags.contains("1"));
  EXPECT_TRUE(template_tags.contains("1551"));
  for (const auto& [page, width] : label_widths) {
    const std::string name = "透明标签" + std::to_string(page);
    bool found = false;
    for (const ControlDesign& control : design.controls) {
      if (control.name != name) continue;
      found = true;
      EXPECT_EQ(control.width, width) << name;
      EXPECT_EQ(control.height, 16) << name;
      EXPECT_EQ(control.page, page - 1) << name;
      EXPECT_FALSE(control.visible) << name;
    }
    EXPECT_TRUE(found) << name;
  }
}

TEST(MainWindowDesignTest, PageControlHasThirtyTwoPagesAndNoTabs) {
  ProgramState state;
  QPointer<Window> window =
      LoadWindow(MainWindowDesign(), MainWindowHandlers(state), nullptr, false);
  auto* pages = qobject_cast<QStackedWidget*>(FindControl(window, "选择夹1").object());
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->count(), 32);
  EXPECT_EQ(pages->widget(31)->windowTitle(), "32");
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_EQ(BackgroundColour(FindControl(window, "选择夹1")), kLightGrey);
  EXPECT_EQ(window->size(), QSize(946, 493));
  delete window.data();
}

TEST(MainWindowDesignTest, MenusHoldTheirItemsWithExactCaptions) {
  const WindowDesign& design = MainWindowDesign();
  std::map<std::string, std::vector<std::string>> captions;
  for (const MenuDesign& menu : design.menus) {
    for (const MenuItemDesign& item : menu.items) captions[menu.caption].push_back(item.caption);
  }
  EXPECT_EQ(captions["&General"],
            (std::vector<std::string>{"&O.系统设置", "&M.单位管理器", "&I.即时计算器",
                                      "&R.汇率换算", "&X.退出"}));
  EXPECT_EQ(captions["&Help"], (std::vector<std::string>{"&A.关于"}));
  EXPECT_EQ(captions["右键菜单"], (std::vector<std::string>{"&O.打开主界面", "&X.退出"}));
}

TEST(MainWindowDesignTest, MenusShowTheirIconsAndTheSkinsHighlight) {
  // State: the loaded main window.  Expected: every menu item carries a loaded icon and every
  // menu highlights in the colours of the menu skin 超级菜单.
  ProgramState state;
  QPointer<Window> window =
      LoadWindow(MainWindowDesign(), MainWindowHandlers(state), nullptr, false);
  const Look* skin = nullptr;
  for (const ControlDesign& control : MainWindowDesign().controls) {
    if (control.kind == Kind::MenuSkin) skin = &control.look;
  }
  ASSERT_NE(skin, nullptr);
  for (const MenuDesign& design : MainWindowDesign().menus) {
    QMenu* menu = window->Menu(QString::fromStdString(design.caption));
    ASSERT_NE(menu, nullptr) << design.caption;
    EXPECT_EQ(menu->palette().color(QPalette::Highlight).rgb() & 0xFFFFFF,
              qRgb(skin->background & 0xFF, (skin->background >> 8) & 0xFF,
                   (skin->background >> 16) & 0xFF) &
                  0xFFFFFF)
        << design.caption;
    EXPECT_EQ(menu->palette().color(QPalette::HighlightedText), QColor(Qt::white));
    // The unit rows' own menu is plain text, as an edit box's menu is.
    if (design.caption == kRowMenu) continue;
    for (QAction* action : menu->actions()) {
      EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << action->text().toStdString();
    }
  }
  delete window.data();
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST(OptionsWindowDesignTest, NameBoxesStandInTwoColumnsAndAllTaggedBoxesAreEditBoxes) {
  const WindowDesign& design = OptionsWindowDesign();
  std::map<std::string, const ControlDesign*> by_name;
  std::map<int, const ControlDesign*> by_tag;
  for (const ControlDesign& control : design.controls) {
    by_name[control.name] = &control;
    if (!control.tag.empty()) by_tag[std::stoi(control.tag)] = &control;
  }
  for (int n = 1; n <= 32; ++n) {
    const ControlDesign* box = by_name.at("unit" + std::to_string(n));
    const int position = n <= 16 ? n : n - 16;
    EXPECT_EQ(box->left, n <= 16 ? 8 : 134) << n;
    EXPECT_EQ(box->top, 32 + 16 * (position - 1)) << n;
    EXPECT_EQ(box->width, 100);
    EXPECT_EQ(box->page, 1) << n;
    EXPECT_EQ(box->tag, std::to_string(10000 + n));
  }
  ASSERT_EQ(by_tag.size(), 36u);
  EXPECT_EQ(by_tag.begin()->first, 10000);
  EXPECT_EQ(by_tag.rbegin()->first, 10035);
  EXPECT_EQ(by_tag.at(10000)->name, "小数保留位数编辑框");
  EXPECT_EQ(by_tag.at(10033)->name, "跨度编辑框");
  EXPECT_EQ(by_tag.at(10034)->name, "上下间隔编辑框");
  EXPECT_EQ(by_tag.at(10035)->name, "每列个数编辑框");
  for (const auto& [tag, box] : by_tag) {
    EXPECT_EQ(box->kind, Kind::EditBox) << tag;
    EXPECT_EQ(box->look.background, kLightGrey) << tag;
    EXPECT_EQ(box->look.input, Input::FreeText) << tag;
  }
}

}  // namespace
}  // namespace velmora
