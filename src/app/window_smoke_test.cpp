#include "app/window_smoke_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "app/program_state.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/main_window_design.h"
#include "ui/secondary_windows.h"
#include "units/category.h"

namespace velmora {
namespace {

constexpr int kStepTimeoutMs = 15000;
constexpr int kPollMs = 20;

void Report(const QString& line) {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

[[noreturn]] void Fail(const QString& what) {
  Report(QStringLiteral("FAILED: %1").arg(what));
  std::_Exit(EXIT_FAILURE);
}

bool Shown(QWidget* window) {
  return window != nullptr && window->isVisible() && window->windowHandle() != nullptr &&
         window->windowHandle()->isExposed();
}

// Polls `done` until it holds, then runs `next`; fails the run after `timeout_ms`.
void WaitUntil(std::function<bool()> done, const QString& what, std::function<void()> next,
               int timeout_ms = kStepTimeoutMs) {
  auto* timer = new QTimer(QCoreApplication::instance());
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(
      timer, &QTimer::timeout, timer,
      [timer, clock, timeout_ms, done = std::move(done), what, next = std::move(next)] {
        if (done()) {
          timer->deleteLater();
          timer->stop();
          next();
        } else if (clock->elapsed() > timeout_ms) {
          Fail(QStringLiteral("%1 (no answer within %2 ms)").arg(what).arg(timeout_ms));
        }
      });
  timer->start(kPollMs);
}

class SmokeTest {
 public:
  SmokeTest(Window* main_window, ProgramState& state, int drag_wait_seconds)
      : main_(main_window), state_(state), drag_wait_seconds_(drag_wait_seconds) {}

  void Start() {
    SetSystemMoveObserver([this](bool started) {
      Report(QStringLiteral("system move asked: %1").arg(started ? "true" : "false"));
      ++moves_asked_;
      if (started) ++moves_started_;
    });
    Report(QStringLiteral("platform: %1").arg(QGuiApplication::platformName()));
    QStringList names;
    for (const SecondaryWindow& window : SecondaryWindows()) names << QLatin1String(window.name);
    Report(QStringLiteral("secondary windows: %1").arg(names.join(QLatin1Char(' '))));
    WaitUntil([this] { return Shown(main_); }, QStringLiteral("main window shown"),
              [this] { MainWindowShown(); });
  }

 private:
  void MainWindowShown() {
    Report(QStringLiteral("main window shown: %1 x %2, device pixel ratio %3")
               .arg(main_->width())
               .arg(main_->height())
               .arg(main_->devicePixelRatioF()));
    main_->activateWindow();
    // A display without a keyboard (a headless compositor) never activates a window; the
    // conversion reacts only to rows holding the keyboard focus, so the run activates it.
    WaitUntil([this] { return main_->isActiveWindow() || activation_waited_.elapsed() > 2000; },
              QStringLiteral("main window active"), [this] { Convert(); });
    activation_waited_.start();
  }

  void Convert() {
    if (!main_->isActiveWindow()) {
      Report(QStringLiteral("no keyboard focus from the display: the run activates the window"));
      QApplication::setActiveWindow(main_);
    }
    auto* button =
        qobject_cast<QAbstractButton*>(FindControl(main_, CategoryButtonName(1)).object());
    if (button == nullptr) Fail(QStringLiteral("no category button 1"));
    button->click();
    auto* first = qobject_cast<QLineEdit*>(FindControlByTag(main_, PageBase(1) + 1).object());
    const Control second = FindControlByTag(main_, PageBase(1) + 2);
    if (first == nullptr || !second) Fail(QStringLiteral("no unit rows on page 1"));
    first->setFocus(Qt::OtherFocusReason);
    // Typed as an edit of the box, not as key events: Qt's Wayland input method follows the
    // keyboard of a seat, and a headless compositor has none.
    first->insert(QStringLiteral("2"));
    const QString result = Text(second);
    if (result.isEmpty() || result == QLatin1String("0")) {
      Fail(QStringLiteral("typing 2 into the first row left the second row at \"%1\"").arg(result));
    }
    Report(QStringLiteral("converted: 2 -> %1").arg(result));
    OpenWindow(0);
  }

  void OpenWindow(std::size_t index) {
    const auto windows = SecondaryWindows();
    if (index >= windows.size()) {
      Drag();
      return;
    }
    const char* name = windows[index].name;
    WaitUntil([name] { return Shown(FindWindow(name)); },
              QStringLiteral("%1 shown").arg(QLatin1String(name)),
              [this, name, index] {
                QPointer<Window> window = FindWindow(name);
                const QWindow* over = window->windowHandle()->transientParent();
                Report(QStringLiteral("opened %1 (over the main window: %2)")
                           .arg(QLatin1String(name))
                           .arg(over == main_->windowHandle() ? "yes" : "no"));
                DestroyWindow(window);
                WaitUntil([window] { return window.isNull(); },
                          QStringLiteral("%1 closed").arg(QLatin1String(name)),
                          [this, name, index] {
                            Report(QStringLiteral("closed %1").arg(QLatin1String(name)));
                            QTimer::singleShot(0, main_, [this, index] { OpenWindow(index + 1); });
                          });
              });
    // A modal window returns from here once it is closed.
    OpenSecondaryWindow(name, state_.secondary_windows(), main_);
  }

  void Drag() {
    if (drag_wait_seconds_ > 0) {
      Report(QStringLiteral("waiting for a drag"));
      WaitUntil([this] { return moves_started_ > 0; }, QStringLiteral("a drag"),
                [this] { Finish(); }, drag_wait_seconds_ * 1000);
      return;
    }
    // Without a pointer of its own the run presses on the title strip itself.
    QWidget* title = qobject_cast<QWidget*>(FindControl(main_, kTitleLabel).object());
    if (title == nullptr) Fail(QStringLiteral("no title strip"));
    const QPointF local(20, 8);
    const QPointF global = title->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(title, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(title, &release);
    if (moves_asked_ == 0) Fail(QStringLiteral("a press on the title strip asked for no move"));
    Finish();
  }

  void Finish() {
    SetSystemMoveObserver({});
    Report(QStringLiteral("smoke test passed"));
    DestroyWindow(main_);
  }

  QPointer<Window> main_;
  ProgramState& state_;
  const int drag_wait_seconds_;
  QElapsedTimer activation_waited_;
  int moves_asked_ = 0;
  int moves_started_ = 0;
};

}  // namespace

void ScheduleWindowSmokeTest(Window* main_window, ProgramState& state, int drag_wait_seconds) {
  // Lives until the process ends: it reports to the last step.
  static std::unique_ptr<SmokeTest> test;
  test = std::make_unique<SmokeTest>(main_window, state, drag_wait_seconds);
  QTimer::singleShot(0, main_window, [] { test->Start(); });
}

}  // namespace velmora
