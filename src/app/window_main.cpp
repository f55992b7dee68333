#include "app/window_main.h"

#include <QApplication>
#include <QLocale>
#include <memory>

#include "app/command_line.h"
#include "app/notices.h"
#include "app/program_state.h"
#include "app/smoke_test.h"
#include "app/startup.h"
#include "app/window_smoke_test.h"
#include "net/http_client.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"

namespace {

int RunWindow(int argc, char** argv) {
  const std::jthread fonts = velmora::StartFontWarmUp();
  QApplication app(argc, argv);
  // Lets the desktop match the windows to the installed menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("net.velmora.Velmora"));
  const velmora::CommandLine options = velmora::ParseCommandLine(QApplication::arguments());
  // The settings file is chosen once, so that the whole run reads and writes the same file.
  velmora::SetSettingsPath(velmora::PrepareSettingsFile(options.config));
  // The main window decides when the program ends, also while it is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  velmora::InstallQtTranslations(QLocale::system());
  const auto state = std::make_unique<velmora::ProgramState>();
  velmora::UseBuiltInLinkAddresses(state->notices);
  velmora::Window* window = velmora::StartProgram(*state);
  if (window == nullptr) return 0;
  velmora::QuitWhenDestroyed(window);
  if (options.smoke_test) velmora::ScheduleSmokeTest(window, options.smoke_test_page);
  if (options.window_smoke_test >= 0) {
    velmora::ScheduleWindowSmokeTest(window, *state, options.window_smoke_test);
  }
  return QApplication::exec();
}

}  // namespace

// The window run of the program, loaded by main() only when a window is wanted: the one symbol
// this library gives to the program. Quitting never waits for a fetch; while one is still inside
// libcurl the process ends without the libraries' exit handlers, which would free its state.
extern "C" __attribute__((visibility("default"))) int velmora_window_main(int argc, char** argv) {
  const int status = RunWindow(argc, argv);
  if (velmora::TransfersInProgress() > 0) velmora::EndWithTransfersRunning(status);
  return status;
}
