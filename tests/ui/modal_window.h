#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <string_view>

#include "toolkit/toolkit.h"

namespace velmora::testing {

// A modal LoadWindow runs its own event loop until the window is gone, so a test acts on the
// window from a timer that fires inside that loop. `body` gets the modal window once it is
// shown; whatever `body` leaves open is closed afterwards, so a failed check never leaves the
// test waiting. Call before the action that opens the window.
inline void WhileModal(const std::function<void(Window*)>& body) {
  QTimer::singleShot(0, [body] {
    Window* modal = ActiveModalWindow();
    EXPECT_NE(modal, nullptr) << "no modal window opened";
    if (modal != nullptr) body(modal);
    DestroyWindow(ActiveModalWindow());
  });
}

// Input as the platform delivers it: through the widget's top-level window, where a modal
// window blocks it. (QTest's widget overloads hand events straight to the widget, past that
// check.)
inline void UserClick(QWidget* widget) {
  QWidget* top = widget->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                    widget->mapTo(top, widget->rect().center()));
}

inline void UserKeys(QWidget* widget, std::string_view keys) {
  for (const char key : keys) QTest::keyClick(widget->window()->windowHandle(), key);
}

}  // namespace velmora::testing
