#include "ui/options_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/widgets.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"
#include "ui/options_window_design.h"
#include "ui/secondary_windows.h"
#include "ui/skin.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;
using testing::UserClick;
using testing::UserKeys;
using testing::WhileModal;

constexpr const char* kConfig =
    "[通用设置]\n界面风格=1\n小数保留位数=6\n是否千位分隔=1\n记住最后类别=0\n"
    "跨度=300\n上下间隔=24\n每列个数=15\n"
    "[按钮的命名]\nunit1=长度\nunit2=面积\n"
    "[unit1]\n2=米,1\n3=三分之一,0.333333333333\n4=千分之一,1000\n";

template <typename T = QWidget>
T* Widget(Window* window, std::string_view name) {
  return qobject_cast<T*>(FindControl(window, name).object());
}

class OptionsTest : public MainWindowTest {
 protected:
  // Opens the dialog from its menu item and runs `body` on it while it is open.
  void WithOptions(const std::function<void(Window*)>& body) {
    WhileModal([body](Window* options) {
      EXPECT_EQ(WindowName(options), kOptionsWindow);
      options->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(options));
      body(options);
    });
    MenuItem("系统设置菜单")->trigger();
    EXPECT_EQ(FindWindow(kOptionsWindow), nullptr);
  }

  QAction* MenuItem(const char* name) {
    return qobject_cast<QAction*>(FindControl(window(), name).object());
  }

  static void Click(Window* window, std::string_view name) {
    auto* button = Widget<QAbstractButton>(window, name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
  }

  // Shows the page the box stands on, clicks into it and replaces its text by typing.
  static void TypeInto(Window* options, std::string_view name, const char* keys) {
    auto* box = Widget<QLineEdit>(options, name);
    ASSERT_NE(box, nullptr) << name;
    ShowPageOf(options, box);
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
  }

  static void ShowPageOf(Window* options, QWidget* control) {
    auto* pages = dynamic_cast<AdvancedPageControl*>(FindControl(options, kOptionsPages).object());
    for (int i = 0; i < pages->count(); ++i) {
      if (pages->page(i)->isAncestorOf(control)) pages->setCurrentIndex(i);
    }
  }

  std::string Stored(std::string_view section, std::string_view key) {
    return ReadSetting(section, key, "<absent>");
  }
};

TEST_F(OptionsTest, ShowsTheValuesInMemoryAndTheCaptionsOfTheFile) {
  // State: decimals 6 in the file, 4 in memory; captions for unit1 and unit2 only.
  // Action: open the dialog.  Expected: memory values, file captions, style 1 checked with its
  // background in the preview, every other name box empty.
  Start(kConfig);
  state().settings.DecimalPlaces = 4;
  WithOptions([](Window* options) {
    EXPECT_EQ(Text(FindControl(options, kDecimalPlacesBox)), "4");
    EXPECT_EQ(Text(FindControl(options, kColumnSpanBox)), "300");
    EXPECT_EQ(Text(FindControl(options, kRowSpacingBox)), "24");
    EXPECT_EQ(Text(FindControl(options, kRowsPerColumnBox)), "15");
    EXPECT_TRUE(Checked(FindControl(options, kThousandsBox)));
    EXPECT_FALSE(Checked(FindControl(options, kRememberBox)));
    EXPECT_EQ(Text(FindControl(options, "unit1")), "长度");
    EXPECT_EQ(Text(FindControl(options, "unit2")), "面积");
    EXPECT_EQ(Text(FindControl(options, "unit32")), "");
    EXPECT_TRUE(Checked(FindControl(options, "单选框1")));
    EXPECT_EQ(Picture(FindControl(options, kStylePreview)), kSkinStyles[0].background);
    EXPECT_EQ(Picture(WindowControl(options)), kSkinStyles[0].background);
  });
}

TEST_F(OptionsTest, OkWithoutChangesWritesEveryKeyAsShown) {
  // State: the file lacks most caption keys.  Action: open, OK.
  // Expected: every key written again with the shown texts, absent name keys now empty.
  Start(kConfig);
  WithOptions([this](Window* options) { Click(options, "确认"); });
  EXPECT_EQ(Stored(kGeneralSection, kThousandsSeparatorsKey), "1");
  EXPECT_EQ(Stored(kGeneralSection, kRememberLastCategoryKey), "0");
  EXPECT_EQ(Stored(kGeneralSection, kInterfaceStyleKey), "1");
  EXPECT_EQ(Stored(kGeneralSection, kDecimalPlacesKey), "6");
  EXPECT_EQ(Stored(kGeneralSection, kColumnSpanKey), "300");
  EXPECT_EQ(Stored(kGeneralSection, kRowSpacingKey), "24");
  EXPECT_EQ(Stored(kGeneralSection, kRowsPerColumnKey), "15");
  EXPECT_EQ(Stored(kButtonNamesSection, "unit1"), "长度");
  for (int n = 3; n <= kCategoryCount; ++n) {
    EXPECT_EQ(Stored(kButtonNamesSection, CategoryButtonName(n)), "") << n;
  }
}

TEST_F(OptionsTest, ApplyOfThreeDecimalsReformatsThePageOnShow) {
  // State: page 1 on show, 1 m typed, 6 decimals.  Action: 3 into the decimals box, Apply.
  // Expected: the rows show three decimals at once, memory and file hold the new value.
  Start(kConfig);
  ClickCategoryButton(1);
  MainWindowTest::TypeInto(2, "1");
  ASSERT_EQ(RowText(3), "0.333333");
  WithOptions([](Window* options) {
    TypeInto(options, kDecimalPlacesBox, "3");
    Click(options, "应用");
    EXPECT_NE(FindWindow(kOptionsWindow), nullptr);
  });
  EXPECT_EQ(state().settings.DecimalPlaces, 3);
  EXPECT_EQ(RowText(3), "0.333");
  EXPECT_EQ(RowText(4), "1,000");
  EXPECT_EQ(Stored(kGeneralSection, kDecimalPlacesKey), "3");
}

TEST_F(OptionsTest, UntickingSeparatorsDropsThemFromTheRowsAtOnce) {
  Start(kConfig);
  ClickCategoryButton(1);
  MainWindowTest::TypeInto(2, "5");
  ASSERT_EQ(RowText(4), "5,000");
  WithOptions([](Window* options) {
    Click(options, kThousandsBox);
    EXPECT_FALSE(Checked(FindControl(options, kThousandsBox)));
    Click(options, "确认");
  });
  EXPECT_EQ(RowText(4), "5000");
  EXPECT_FALSE(state().settings.ThousandsSeparators);
  EXPECT_EQ(Stored(kGeneralSection, kThousandsSeparatorsKey), "0");
}

TEST_F(OptionsTest, CancelAfterChoosingAnotherStyleWritesNothing) {
  // State: style 1.  Action: choose style 2 (its preview shows), then Cancel / the close button.
  // Expected: the file is byte for byte as before and the main window keeps style 1.
  for (const char* way_out : {"取消", "控件_图形按钮_关闭"}) {
    SCOPED_TRACE(way_out);
    if (window() == nullptr) Start(kConfig);
    const std::string before = ConfigBytes();
    WithOptions([way_out](Window* options) {
      Click(options, "单选框2");
      EXPECT_EQ(Picture(FindControl(options, kStylePreview)), kSkinStyles[1].background);
      Click(options, way_out);
    });
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(Picture(WindowControl(window())), kSkinStyles[0].background);
    EXPECT_EQ(state().settings.InterfaceStyle, 1);
  }
}

TEST_F(OptionsTest, EscapeCancelsFromAnyControl) {
  // State: style 1, three decimals.  Action: choose style 2, type 5 decimals, press Escape in the
  // box or on the radio button.  Expected: the dialog closes and nothing is written.
  Start(kConfig);
  for (const char* focus : {kDecimalPlacesBox, "单选框2"}) {
    SCOPED_TRACE(focus);
    const std::string before = ConfigBytes();
    WithOptions([focus](Window* options) {
      Click(options, "单选框2");
      TypeInto(options, kDecimalPlacesBox, "5");
      auto* widget = Widget<QWidget>(options, focus);
      ShowPageOf(options, widget);
      widget->setFocus();
      QTest::keyClick(widget, Qt::Key_Escape);
      EXPECT_TRUE(IsDestroying(options));
    });
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(state().settings.InterfaceStyle, 1);
  }
}

TEST_F(OptionsTest, ApplyOfAnotherStyleRestylesTheMainWindowAtOnce) {
  Start(kConfig);
  WithOptions([](Window* options) {
    Click(options, "单选框3");
    Click(options, "应用");
  });
  EXPECT_EQ(Stored(kGeneralSection, kInterfaceStyleKey), "3");
  EXPECT_EQ(state().settings.InterfaceStyle, 3);
  EXPECT_EQ(Picture(WindowControl(window())), kSkinStyles[2].background);
  EXPECT_EQ(Picture(FindControl(window(), "超级按钮1")), kSkinStyles[2].settings_face);
}

TEST_F(OptionsTest, StyleOutsideTheTableChecksNoRadioButtonAndWritesNoStyle) {
  Start("[通用设置]\n界面风格=7\n");
  WithOptions([](Window* options) {
    for (int style = 1; style <= 3; ++style) {
      EXPECT_FALSE(Checked(FindControl(options, StyleRadioName(style)))) << style;
    }
    EXPECT_EQ(Picture(FindControl(options, kStylePreview)), "");
    Click(options, "确认");
  });
  EXPECT_EQ(Stored(kGeneralSection, kInterfaceStyleKey), "7");
}

TEST_F(OptionsTest, EveryTaggedBoxTurnsWhiteWithTheFocusAndGreyWithout) {
  // State: the dialog open.  Action: click into each of the 36 tagged boxes in turn.
  // Expected: the box clicked into is white, the one before it light grey again.
  Start(kConfig);
  WithOptions([](Window* options) {
    Control previous;
    for (int tag = kDecimalPlacesTag; tag < kDecimalPlacesTag + kTaggedBoxCount; ++tag) {
      const Control box = FindControlByTag(options, tag);
      ASSERT_EQ(box.kind(), Kind::EditBox) << tag;
      auto* widget = qobject_cast<QWidget*>(box.object());
      ShowPageOf(options, widget);
      QTest::mouseClick(widget, Qt::LeftButton);
      EXPECT_TRUE(HasFocus(box)) << tag;
      EXPECT_EQ(BackgroundColour(box), kWhite) << tag;
      if (previous) {
        EXPECT_EQ(BackgroundColour(previous), kLightGrey) << tag;
      }
      previous = box;
    }
  });
}

TEST_F(OptionsTest, CaptionsAreStoredAsTypedAndTakeEffectAtTheNextStart) {
  Start(kConfig);
  WithOptions([](Window* options) {
    auto* box = Widget<QLineEdit>(options, "unit21");
    ShowPageOf(options, box);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("自己的"),
                        Qt::NoModifier);
    // A caption with a line break cannot stand on one line of the file.
    SetText(FindControl(options, "unit22"), QStringLiteral("两\n行"));
    Click(options, "确认");
  });
  EXPECT_EQ(Stored(kButtonNamesSection, "unit21"), "自己的");
  EXPECT_EQ(Stored(kButtonNamesSection, "unit22"), "两 行");
  EXPECT_EQ(Stored(kButtonNamesSection, "unit23"), "");
  EXPECT_EQ(Text(FindControl(window(), "unit21")), "");
}

struct HostileCase {
  const char* name;
  const char* box;
  const char* typed;
  int in_memory;
};

const HostileCase kHostileCases[] = {
    {"RowsZero", kRowsPerColumnBox, "0", 0},
    {"RowsNegative", kRowsPerColumnBox, "-5", -5},
    {"RowsHuge", kRowsPerColumnBox, "1e9", 1000000000},
    {"RowsText", kRowsPerColumnBox, "abc", 0},
    {"SpanZero", kColumnSpanBox, "0", 0},
    {"SpanNegative", kColumnSpanBox, "-5", -5},
    {"SpanHuge", kColumnSpanBox, "1e9", 1000000000},
    {"SpanBeyondInt", kColumnSpanBox, "1e300", 2147483647},
    {"SpanText", kColumnSpanBox, "abc", 0},
    {"SpacingZero", kRowSpacingBox, "0", 0},
    {"SpacingNegative", kRowSpacingBox, "-5", -5},
    {"SpacingHuge", kRowSpacingBox, "1e9", 1000000000},
    {"SpacingBeyondInt", kRowSpacingBox, "-1e300", -2147483647 - 1},
    {"SpacingText", kRowSpacingBox, "abc", 0},
};

class HostileLayoutTest : public OptionsTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileLayoutTest, LaterPagesStillBuildAndConvert) {
  // State: one column of two rows per page before.  Action: the hostile value typed into a layout
  // box, OK, then a page not built yet is chosen and a value typed.
  // Expected: the text stored as typed, the truncated number in memory, and the new page has all
  // its rows at places a widget can take, converting as ever.
  Start(std::string(kConfig) + "[unit2]\n52=平方米,1\n53=平方千米,0.000001\n54=公顷,0.0001\n");
  WithOptions([](Window* options) {
    TypeInto(options, GetParam().box, GetParam().typed);
    Click(options, "确认");
  });
  EXPECT_EQ(
      Stored(kGeneralSection, GetParam().box == std::string(kRowsPerColumnBox) ? kRowsPerColumnKey
                              : GetParam().box == std::string(kColumnSpanBox)  ? kColumnSpanKey
                                                                               : kRowSpacingKey),
      GetParam().typed);
  const Settings& settings = state().settings;
  const int in_memory = GetParam().box == std::string(kRowsPerColumnBox) ? settings.RowsPerColumn
                        : GetParam().box == std::string(kColumnSpanBox)  ? settings.ColumnSpan
                                                                         : settings.RowSpacing;
  EXPECT_EQ(in_memory, GetParam().in_memory);

  // Closing the dialog gave the keyboard back to the main window.
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  ClickCategoryButton(2);
  const QList<QLineEdit*> rows = RowsOnPage(2);
  ASSERT_EQ(rows.size(), 3);
  for (const QLineEdit* row : rows) {
    EXPECT_LE(std::abs(row->x()), 1 << 24);
    EXPECT_LE(std::abs(row->y()), 1 << 24);
    EXPECT_FALSE(row->isHidden());
  }
  // The first row keeps its place whatever the layout says.
  EXPECT_EQ(Row(52)->pos(), QPoint(16, 20));
  MainWindowTest::TypeInto(52, "10000");
  EXPECT_EQ(RowText(54), "1");
  EXPECT_TRUE(window()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Values, HostileLayoutTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsTest, MainWindowTakesNoInputWhileTheDialogIsOpen) {
  // State: page 1 on show with a value.  Action: with the dialog open, click category button 2
  // and the settings button, type into a row.  Expected: nothing of it reaches the main window.
  Start(kConfig);
  ClickCategoryButton(1);
  MainWindowTest::TypeInto(2, "1");
  WithOptions([this](Window*) {
    UserClick(Widget(window(), "unit2"));
    UserClick(Widget(window(), "超级按钮1"));
    QLineEdit* row = Row(2);
    UserClick(row);
    UserKeys(row, "9");
    EXPECT_EQ(CurrentPage(FindControl(window(), kPageControlName)), 0);
    EXPECT_FALSE(window()->findChild<QMenu*>(kGeneralMenu)->isVisible());
    EXPECT_EQ(row->text(), "1");
  });
}

}  // namespace
}  // namespace velmora
