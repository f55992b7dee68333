// The window operations of toolkit.h: loading, destroying and finding windows.

#include <QApplication>
#include <QEventLoop>
#include <QFont>
#include <QPointer>

#include "toolkit/private/control_index.h"
#include "toolkit/private/design_font.h"
#include "toolkit/private/palette_style.h"
#include "toolkit/toolkit.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {

void RegisterDesignFonts() {
  static const bool registered = [] {
    // Design fonts are realised with the CJK family directly (DesignFont); the substitution serves
    // any other font naming the Chinese system font.
    for (const char* family : kChineseSystemFamilies) {
      QFont::insertSubstitution(QString::fromUtf8(family), QString::fromLatin1(kCjkFamily));
    }
    return true;
  }();
  (void)registered;
}

Window* LoadWindow(const WindowDesign& design, HandlerTable handlers, Window* owner, bool modal,
                   Window* placed_over) {
  RegisterDesignFonts();
  UsePaletteSharingStyle();
  QPointer<Window> window = new Window(design, std::move(handlers), owner);
  if (modal) window->setWindowModality(Qt::ApplicationModal);
  window->Raise(window, Event::Created);
  if (window == nullptr || window->destroying()) return nullptr;
  if (owner == nullptr && placed_over != window) window->PlaceOver(placed_over);
  const QPointer<QWidget> previous = QApplication::activeWindow();
  window->show();
  if (!modal) return window;
  QEventLoop loop;
  QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
  loop.exec();
  // The keyboard goes back to the window the user was in, with or without a window manager.
  if (previous != nullptr && previous->isVisible()) previous->activateWindow();
  return nullptr;
}

void DestroyWindow(Window* window) {
  if (window != nullptr) window->Destroy();
}

void QuitWhenDestroyed(Window* window) {
  if (window == nullptr) return;
  QObject::connect(window, &QObject::destroyed, QCoreApplication::instance(),
                   &QCoreApplication::quit, Qt::QueuedConnection);
}

void SetCloseRequestHandler(Window* window, std::function<void()> handler) {
  if (window != nullptr) window->SetCloseRequestHandler(std::move(handler));
}

bool IsDestroying(const Window* window) {
  return window == nullptr || window->destroying();
}

QString WindowName(const Window* window) {
  return window != nullptr ? window->objectName() : QString();
}

Window* FindWindow(std::string_view name) {
  return FindOpenWindow(FromUtf8(name));
}

Window* ActiveModalWindow() {
  auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
  return window != nullptr && !window->destroying() ? window : nullptr;
}

Control WindowControl(Window* window) {
  return window != nullptr ? Control(window, Kind::Window) : Control();
}

}  // namespace velmora
