// What a new user meets right after start: where the keys go, and Qt's own texts in Chinese.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTest>
#include <QTranslator>
#include <memory>
#include <string>

#include "app/startup.h"
#include "ui/main_window_fixture.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

constexpr const char* kGeneral = "[通用设置]\n小数保留位数=2\n跨度=300\n上下间隔=24\n每列个数=15\n";
constexpr const char* kUnits =
    "[unit1]\n2=米,1\n3=毫米,1000\n"
    "[unit4]\n152=摄氏度,1\n153=开尔文,1\n154=列氏度,1\n155=华氏度,1\n156=兰氏度,1\n"
    "[unit14]\n652=秒,1\n653=毫秒,1000\n";

struct FocusCase {
  const char* name;
  int remembered_page;  // 1-based
  const char* typed;
  int other_row;
  const char* other_expected;
};

std::ostream& operator<<(std::ostream& os, const FocusCase& c) {
  return os << c.name;
}

const FocusCase kFocusCases[] = {
    {"length", 1, "2", 3, "2000"},
    {"temperature", 4, "100", 155, "212"},
    {"time", 14, "1.5", 653, "1500"},
};

class RememberedPageFocusTest : public MainWindowTest,
                                public ::testing::WithParamInterface<FocusCase> {};

TEST_P(RememberedPageFocusTest, TypingRightAfterStartGoesIntoTheFirstRow) {
  // State: remembering on, the case's page remembered.
  // Action: start and type a number without clicking anything.
  // Expected: the first unit row of the page holds the number; the page converts it.
  const FocusCase& c = GetParam();
  // Appended piece by piece: GCC 12 warns falsely (-Warray-bounds) on operator+ with a temporary.
  std::string config = kGeneral;
  config += "记住最后类别=1\n最后的类别=";
  config += std::to_string(c.remembered_page - 1);
  config += "\n";
  config += kUnits;
  Start(config);
  QWidget* focused = QApplication::focusWidget();
  const int first_row = PageBase(c.remembered_page) + 1;
  ASSERT_EQ(focused, Row(first_row));
  QTest::keyClicks(focused, c.typed);
  EXPECT_EQ(RowText(first_row), c.typed);
  EXPECT_EQ(RowText(c.other_row), c.other_expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RememberedPageFocusTest, ::testing::ValuesIn(kFocusCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, PageSwitchPutsTheKeysInTheFirstRowReplacingItsValue) {
  // State: 5 m typed on page 1; page 14 shown, then page 1 again.
  // Action: type 7 right after the switch back.
  // Expected: the metre row's old value is replaced by 7 and the page follows.
  std::string config = kGeneral;
  config += kUnits;
  Start(config);
  ClickCategoryButton(1);
  TypeInto(3, "5000");
  ClickCategoryButton(14);
  EXPECT_EQ(QApplication::focusWidget(), Row(652));
  ClickCategoryButton(1);
  ASSERT_EQ(QApplication::focusWidget(), Row(2));
  QTest::keyClicks(Row(2), "7");
  EXPECT_EQ(RowText(2), "7");
  EXPECT_EQ(RowText(3), "7000");
}

// Removes the translator a test installed.
struct TranslatorGuard {
  QTranslator* translator = nullptr;
  ~TranslatorGuard() {
    if (translator != nullptr) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
  }
};

TEST(QtTranslationsTest, ChineseLocaleTranslatesTheEditBoxMenu) {
  // State: Qt's translations installed (scripts/setup-deps installs them).
  // Action: install for a Chinese locale, open an edit box's standard context menu.
  // Expected: its paste entry reads "粘贴(&P)" (with its shortcut) rather than "&Paste".
  TranslatorGuard guard{InstallQtTranslations(QLocale(QLocale::Chinese, QLocale::China))};
  ASSERT_NE(guard.translator, nullptr) << "package qt6-translations-l10n missing?";
  QLineEdit edit;
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << action->text();
  EXPECT_TRUE(captions.join(u'|').contains(QStringLiteral("粘贴(&P)")))
      << captions.join(u'|').toStdString();
}

TEST(QtTranslationsTest, OtherLocalesKeepQtsEnglish) {
  // State: a German and an English locale.  Action: install.  Expected: nothing is installed.
  for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale::c()}) {
    TranslatorGuard guard{InstallQtTranslations(locale)};
    EXPECT_EQ(guard.translator, nullptr) << locale.name().toStdString();
  }
  QLineEdit edit;
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << action->text();
  EXPECT_TRUE(captions.join(u'|').contains(QStringLiteral("&Paste")));
}

}  // namespace
}  // namespace velmora
