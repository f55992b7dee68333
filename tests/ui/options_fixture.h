#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <string>
#include <string_view>

#include "settings/settings_file.h"
#include "toolkit/private/advanced_page_control.h"
#include "ui/main_window_fixture.h"
#include "ui/modal_window.h"
#include "ui/options_window_design.h"
#include "ui/secondary_windows.h"

namespace velmora::testing {

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

}  // namespace velmora::testing
