// The program as main() runs it, quitting by its close button when a line arrives on its
// standard input; for the tests of quitting while notice fetches are under way.
#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <memory>

#include "app/program_state.h"
#include "app/startup.h"
#include "toolkit/toolkit.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const auto state = std::make_unique<velmora::ProgramState>();
  velmora::Window* window = velmora::StartProgram(*state);
  if (window == nullptr) return 1;
  velmora::QuitWhenDestroyed(window);
  QSocketNotifier input(0, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [window, &input] {
    input.setEnabled(false);
    auto* close =
        qobject_cast<QAbstractButton*>(velmora::FindControl(window, "控件_图形按钮_关闭").object());
    if (close != nullptr) close->click();
  });
  std::puts("ready");
  std::fflush(stdout);
  return QApplication::exec();
}
