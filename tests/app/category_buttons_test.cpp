#include "ui/category_buttons.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <string>

#include "toolkit/private/super_button.h"
#include "ui/main_window_fixture.h"
#include "units/category.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

constexpr std::string_view kLayout = "[通用设置]\n跨度=300\n上下间隔=24\n每列个数=15\n";

std::string WithLayout(std::string_view sections) {
  std::string config(kLayout);
  config.append(sections);
  return config;
}

TEST_F(MainWindowTest, CaptionsComeFromTheFileAtEveryStart) {
  // State: "按钮的命名" renames unit21 and unit1; page 21 has two units.
  // Action: start, click unit21.  Expected: the stored names, page 21 built by the button.
  Start(
      WithLayout("[按钮的命名]\nunit1=长度 <b>L</b>\nunit21=汇率\n"
                 "[unit21]\n1002=美元,1\n1003=欧元,0.9\n"));
  const Control renamed = FindControl(window(), "unit21");
  EXPECT_EQ(Text(renamed), "汇率");
  EXPECT_EQ(Left(renamed), 856);
  EXPECT_EQ(Top(renamed), 152);
  // Markup in a name is shown as typed.
  EXPECT_EQ(Text(FindControl(window(), "unit1")), "长度 <b>L</b>");
  // Keys absent from the section give empty captions, not the design's.
  EXPECT_EQ(Text(FindControl(window(), "unit4")), "");
  ClickCategoryButton(21);
  EXPECT_EQ(CurrentPage(FindControl(window(), kPageControlName)), 20);
  EXPECT_EQ(RowsOnPage(21).size(), 2);
}

TEST_F(MainWindowTest, WithoutTheNamesSectionEveryButtonIsEmptyAndStillWorks) {
  Start(WithLayout("[unit4]\n152=摄氏度,1\n153=开尔文,1\n"));
  for (int page = 1; page <= kCategoryCount; ++page) {
    const Control button = FindControl(window(), CategoryButtonName(page));
    EXPECT_EQ(Text(button), "") << page;
    EXPECT_TRUE(Visible(button)) << page;
  }
  ClickCategoryButton(4);
  EXPECT_EQ(CurrentPage(FindControl(window(), kPageControlName)), 3);
  EXPECT_EQ(RowsOnPage(4).size(), 2);
}

TEST_F(MainWindowTest, ButtonsFoundByTagsRowByRowGetTheStatePictureAndWhite) {
  // State: started.  Expected: tags 5000 to 5031 name unit1, unit17, unit2, unit18, … and each
  // of those buttons has the near-white state picture over white; its face is its own.
  Start(kLayout);
  for (int i = 0; i < kCategoryCount; ++i) {
    const int page = i % 2 == 0 ? i / 2 + 1 : i / 2 + 17;
    const Control button = FindControlByTag(window(), kFirstCategoryButtonTag + i);
    ASSERT_TRUE(button) << i;
    EXPECT_EQ(button.object()->objectName().toStdString(), CategoryButtonName(page));
    const auto* super = static_cast<SuperButton*>(button.object());
    EXPECT_TRUE(super->has_state()) << page;
    EXPECT_EQ(super->state_picture(), kButtonStateImage) << page;
    EXPECT_EQ(super->state_colour(), kWhite) << page;
    EXPECT_TRUE(Picture(button).contains("category-face")) << page;
  }
}

}  // namespace
}  // namespace velmora
