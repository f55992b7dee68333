#include "app/smoke_test.h"

#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <cstdio>

#include "settings/settings_file.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "units/category.h"

namespace velmora {

void ScheduleSmokeTest(Window* main_window, int page) {
  QTimer::singleShot(0, main_window, [main_window, page] {
    std::printf("settings: %s\n", SettingsPath().c_str());
    std::printf("page on show: %d\n", CurrentPage(FindControl(main_window, kPageControlName)) + 1);
    if (page >= 1 && page <= kCategoryCount) {
      const Control button = FindControl(main_window, CategoryButtonName(page));
      if (button) QMetaObject::invokeMethod(button.object(), "click");
      std::printf("page on show: %d\n",
                  CurrentPage(FindControl(main_window, kPageControlName)) + 1);
    }
    std::fflush(stdout);
    DestroyWindow(main_window);
  });
}

}  // namespace velmora
