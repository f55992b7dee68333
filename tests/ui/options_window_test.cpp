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
#include "toolkit/private/advanced_page_control.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"
#include "ui/options_fixture.h"
#include "ui/options_window_design.h"
#include "ui/secondary_windows.h"
#include "ui/skin.h"
#include "ui/unit_manager_support.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;
using testing::OptionsTest;
using testing::UserClick;
using testing::UserKeys;
using testing::WhileModal;
using testing::Widget;

constexpr const char* kConfig =
    "[通用设置]\n界面风格=1\n小数保留位数=6\n是否千位分隔=1\n记住最后类别=0\n"
    "跨度=300\n上下间隔=24\n每列个数=15\n"
    "[按钮的命名]\nunit1=长度\nunit2=面积\n"
    "[unit1]\n2=米,1\n3=三分之一,0.333333333333\n4=千分之一,1000\n";

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
  Start("[通用设置]\n界面风格=7\n跨度=300\n上下间隔=24\n每列个数=15\n");
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

struct NumberCase {
  const char* name;
  const char* box;
  const char* typed;
  const char* field;  // named in the message; empty when the number is taken
};

// clang-format off
const NumberCase kNumberCases[] = {
  {"DecimalsText",         kDecimalPlacesBox, "abc",  "小数保留位数"},
  {"DecimalsNegative",     kDecimalPlacesBox, "-3",   "小数保留位数"},
  {"DecimalsTooMany",      kDecimalPlacesBox, "16",   "小数保留位数"},
  {"DecimalsFar",          kDecimalPlacesBox, "99",   "小数保留位数"},
  {"DecimalsFraction",     kDecimalPlacesBox, "2.5",  "小数保留位数"},
  {"DecimalsEmpty",        kDecimalPlacesBox, "",     "小数保留位数"},
  {"DecimalsTrailingText", kDecimalPlacesBox, "3abc", "小数保留位数"},
  {"DecimalsLowest",       kDecimalPlacesBox, "0",    ""},
  {"DecimalsHighest",      kDecimalPlacesBox, "15",   ""},
  {"RowsZero",             kRowsPerColumnBox, "0",    "每列的输入框个数"},
  {"RowsNegative",         kRowsPerColumnBox, "-5",   "每列的输入框个数"},
  {"RowsBeyondPage",       kRowsPerColumnBox, "50",   "每列的输入框个数"},
  {"RowsExponent",         kRowsPerColumnBox, "1e9",  "每列的输入框个数"},
  {"RowsText",             kRowsPerColumnBox, "abc",  "每列的输入框个数"},
  {"RowsLowest",           kRowsPerColumnBox, "1",    ""},
  {"RowsHighest",          kRowsPerColumnBox, "49",   ""},
  {"SpanZero",             kColumnSpanBox,    "0",    "输入框之间的横向距离"},
  {"SpanTooWide",          kColumnSpanBox,    "1001", "输入框之间的横向距离"},
  {"SpanBeyondInt",        kColumnSpanBox,    "99999999999", "输入框之间的横向距离"},
  {"SpanText",             kColumnSpanBox,    "abc",  "输入框之间的横向距离"},
  {"SpanHighest",          kColumnSpanBox,    "1000", ""},
  {"SpacingZero",          kRowSpacingBox,    "0",    "输入框之间的纵向距离"},
  {"SpacingNegative",      kRowSpacingBox,    "-5",   "输入框之间的纵向距离"},
  {"SpacingTooHigh",       kRowSpacingBox,    "5000", "输入框之间的纵向距离"},
  {"SpacingLowest",        kRowSpacingBox,    "1",    ""},
};
// clang-format on

class NumberFieldTest : public OptionsTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberFieldTest, OkRefusesNumbersOutsideTheirRange) {
  // State: the shipped-like settings, page 1 on show.  Action: the number typed into its box, the
  // remember box ticked, OK.  Expected: a refused number gives one message naming its field, the
  // dialog stays open with that box focused and its page on show, and neither the file nor memory
  // changes; a number in range is applied and written as typed.
  Start(kConfig);
  const std::string before = ConfigBytes();
  const Settings settings_before = state().settings;
  const NumberCase& c = GetParam();
  const bool refused = *c.field != '\0';
  testing::MessageLog messages;
  WithOptions([&](Window* options) {
    // Another field is shown when OK is pressed, so the refusal has to bring its page back.
    TypeInto(options, c.box, c.typed);
    Click(options, kRememberBox);
    SetCurrentPage(FindControl(options, kOptionsPages), 1);
    Click(options, "确认");
    if (!refused) return;
    ASSERT_EQ(FindWindow(kOptionsWindow), options) << "a refused number closed the dialog";
    auto* box = Widget<QLineEdit>(options, c.box);
    // The box takes the focus once the dialog is active again after the message (the offscreen
    // platform leaves the reactivation to the test, as a window manager does it on screen).
    options->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(options));
    EXPECT_TRUE(box->hasFocus());
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), QString::fromUtf8(c.typed));
  });
  const std::vector<testing::Message> shown = messages.Take();
  if (refused) {
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(c.field))) << shown[0];
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(state().settings.RememberLastCategory, settings_before.RememberLastCategory);
    EXPECT_EQ(state().settings.DecimalPlaces, settings_before.DecimalPlaces);
    EXPECT_EQ(state().settings.RowsPerColumn, settings_before.RowsPerColumn);
  } else {
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(Stored(kGeneralSection, kRememberLastCategoryKey), "1");
    const std::string key = c.box == std::string(kRowsPerColumnBox) ? "每列个数"
                            : c.box == std::string(kColumnSpanBox)  ? "跨度"
                            : c.box == std::string(kRowSpacingBox)  ? "上下间隔"
                                                                    : "小数保留位数";
    EXPECT_EQ(Stored(kGeneralSection, key), c.typed);
  }
}

INSTANTIATE_TEST_SUITE_P(Values, NumberFieldTest, ::testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsTest, ApplyRefusesAndTheCorrectedNumberIsTaken) {
  // State: dialog open.  Action: 99 decimal places, Apply; then 4, Apply.
  // Expected: the first Apply writes nothing, the second takes 4 and writes it.
  Start(kConfig);
  testing::MessageLog messages;
  WithOptions([&](Window* options) {
    TypeInto(options, kDecimalPlacesBox, "99");
    Click(options, "应用");
    EXPECT_EQ(Stored(kGeneralSection, kDecimalPlacesKey), "6");
    EXPECT_EQ(messages.Take().size(), 1u);
    TypeInto(options, kDecimalPlacesBox, "4");
    Click(options, "应用");
    EXPECT_TRUE(messages.Take().empty());
  });
  EXPECT_EQ(Stored(kGeneralSection, kDecimalPlacesKey), "4");
  EXPECT_EQ(state().settings.DecimalPlaces, 4);
}

TEST_F(OptionsTest, EnterActsAsOk) {
  // State: dialog open.  Action: 2 typed into the decimals box and Enter; in a second opening,
  // Enter while the separators box holds the focus.  Expected: applied and closed both times.
  Start(kConfig);
  WithOptions([](Window* options) {
    TypeInto(options, kDecimalPlacesBox, "2");
    QTest::keyClick(Widget(options, kDecimalPlacesBox), Qt::Key_Return);
    EXPECT_EQ(FindWindow(kOptionsWindow), nullptr);
  });
  EXPECT_EQ(state().settings.DecimalPlaces, 2);
  EXPECT_EQ(Stored(kGeneralSection, kDecimalPlacesKey), "2");
  WithOptions([](Window* options) {
    QWidget* box = Widget(options, kThousandsBox);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(FindWindow(kOptionsWindow), nullptr);
  });
  EXPECT_EQ(Stored(kGeneralSection, kThousandsSeparatorsKey), "1");
}

TEST_F(OptionsTest, EnterWithARefusedNumberKeepsTheDialog) {
  Start(kConfig);
  testing::MessageLog messages;
  WithOptions([&messages](Window* options) {
    TypeInto(options, kRowsPerColumnBox, "0");
    QTest::keyClick(Widget(options, kRowsPerColumnBox), Qt::Key_Return);
    EXPECT_EQ(FindWindow(kOptionsWindow), options);
    EXPECT_EQ(messages.Take().size(), 1u);
  });
  EXPECT_EQ(Stored(kGeneralSection, kRowsPerColumnKey), "15");
}

TEST_F(OptionsTest, ApplyOfAnotherStyleRestylesTheOpenDialogToo) {
  // State: style 1.  Action: choose style 2, Apply.  Expected: the dialog's own background is
  // style 2's at once, like the main window's.
  Start(kConfig);
  WithOptions([](Window* options) {
    Click(options, "单选框2");
    EXPECT_EQ(Picture(WindowControl(options)), kSkinStyles[0].background);
    Click(options, "应用");
    EXPECT_EQ(Picture(WindowControl(options)), kSkinStyles[1].background);
  });
  EXPECT_EQ(Picture(WindowControl(window())), kSkinStyles[1].background);
}

TEST_F(OptionsTest, ApplyLeavesAnUntouchedPageEmptyAndReformatsFilledRows) {
  // State: page 1 on show, nothing typed.  Action: Apply with 3 decimals.  Expected: every row
  // still empty.  Then a value typed and Apply with 0 decimals: the filled rows are reformatted.
  Start(kConfig);
  ClickCategoryButton(1);
  WithOptions([](Window* options) {
    TypeInto(options, kDecimalPlacesBox, "3");
    Click(options, "确认");
  });
  for (const int row : {2, 3, 4}) EXPECT_EQ(RowText(row), "") << row;
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  MainWindowTest::TypeInto(4, "1500");
  ASSERT_EQ(RowText(2), "1.5");
  ASSERT_EQ(RowText(3), "0.5");
  WithOptions([](Window* options) {
    TypeInto(options, kDecimalPlacesBox, "0");
    Click(options, "确认");
  });
  EXPECT_EQ(RowText(2), "2");
  EXPECT_EQ(RowText(3), "0");
}

TEST_F(OptionsTest, SignificantDigitsOptionIsStoredAndRenamesTheDecimalsField) {
  // State: the option absent from the file (off).  Action: tick "按有效数字显示", watch the
  // caption, OK.  Expected: the caption reads "有效数字位数：" while ticked, "1" is stored, memory
  // follows and the rows show significant digits; unticking turns it back.
  Start(kConfig);
  ClickCategoryButton(1);
  MainWindowTest::TypeInto(2, "1234.5678");
  ASSERT_EQ(RowText(4), "1,234,567.8");
  WithOptions([](Window* options) {
    EXPECT_FALSE(Checked(FindControl(options, kSignificantBox)));
    EXPECT_EQ(Text(FindControl(options, kDecimalPlacesLabel)), "小数保留位数：");
    Click(options, kSignificantBox);
    EXPECT_EQ(Text(FindControl(options, kDecimalPlacesLabel)), "有效数字位数：");
    EXPECT_EQ(Widget(options, kDecimalPlacesBox)->accessibleName(), "有效数字位数：");
    TypeInto(options, kDecimalPlacesBox, "3");
    Click(options, "确认");
  });
  EXPECT_EQ(Stored(kGeneralSection, kSignificantDigitsKey), "1");
  EXPECT_TRUE(state().settings.SignificantDigits);
  EXPECT_EQ(RowText(4), "1,230,000");
  EXPECT_EQ(RowText(3), "412");
  WithOptions([](Window* options) {
    EXPECT_TRUE(Checked(FindControl(options, kSignificantBox)));
    EXPECT_EQ(Text(FindControl(options, kDecimalPlacesLabel)), "有效数字位数：");
    Click(options, kSignificantBox);
    EXPECT_EQ(Text(FindControl(options, kDecimalPlacesLabel)), "小数保留位数：");
    Click(options, "确认");
  });
  EXPECT_EQ(Stored(kGeneralSection, kSignificantDigitsKey), "0");
  EXPECT_EQ(RowText(4), "1,234,567.8");
}

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
