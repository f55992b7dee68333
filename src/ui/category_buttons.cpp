#include "ui/category_buttons.h"

#include <QString>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/toolkit.h"
#include "units/category.h"

namespace velmora {

void NameCategoryButtons(Window* window) {
  for (int page = 1; page <= kCategoryCount; ++page) {
    const std::string name = CategoryButtonName(page);
    const std::string caption = ReadSetting(kButtonNamesSection, name, {});
    SetText(FindControl(window, name), QString::fromStdString(caption));
  }
}

void DressCategoryButtons(Window* window) {
  for (int i = 1; i <= kCategoryCount; ++i) {
    const Control button = FindControlByTag(window, kFirstCategoryButtonTag - 1 + i);
    // Only a category button takes the look; a stray control with such a tag keeps its own.
    if (button.kind() != Kind::SuperButton) continue;
    SetStatePicture(button, QString::fromUtf8(kButtonStateImage), kWhite);
  }
}

void ShowChosenCategory(Window* window, int page) {
  for (int other = 1; other <= kCategoryCount; ++other) {
    SetChecked(FindControl(window, CategoryButtonName(other)), other == page);
  }
}

}  // namespace velmora
