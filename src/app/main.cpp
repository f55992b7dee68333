#include <QApplication>
#include <QLocale>
#include <memory>

#include "app/startup.h"
#include "ui/main_window.h"
#include "units/app_state.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The main window decides when the program ends, also while it is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  velmora::InstallQtTranslations(QLocale::system());
  const auto state = std::make_unique<velmora::AppState>();
  velmora::UseBuiltInLinkAddresses(*state);
  velmora::Window* window = velmora::StartProgram(*state);
  if (window == nullptr) return 0;
  velmora::QuitWhenDestroyed(window);
  return QApplication::exec();
}
