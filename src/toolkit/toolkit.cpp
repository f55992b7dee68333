#include "toolkit/toolkit.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFont>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QWindow>
#include <algorithm>

#include "toolkit/palette_style.h"
#include "toolkit/realise.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

std::function<void(const QString&)>& AddressOpener() {
  static std::function<void(const QString&)> opener;
  return opener;
}

}  // namespace

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
  return FindOpenWindow(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

Window* ActiveModalWindow() {
  auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
  return window != nullptr && !window->destroying() ? window : nullptr;
}

Control WindowControl(Window* window) {
  return window != nullptr ? Control(window, Kind::Window) : Control();
}

Control EventSource() {
  return CurrentEventSource();
}

Window* WindowOf(Control control) {
  return control ? OwningWindow(control.object()) : nullptr;
}

Control CopyControl(Control template_control) {
  Window* window = WindowOf(template_control);
  return window != nullptr ? window->Copy(template_control) : Control();
}

void DeleteCopies(Control template_control) {
  if (Window* window = WindowOf(template_control)) window->DeleteCopies(template_control);
}

void RedirectEvents(Control source, Control target) {
  Window* window = WindowOf(source);
  if (window != nullptr && WindowOf(target) == window && source.kind() == target.kind()) {
    window->Redirect(source.object(), target.object());
  }
}

Control FindControlByTag(Window* window, int tag) {
  return window != nullptr ? window->FindByTag(tag) : Control();
}

Control FindControl(Window* window, std::string_view name) {
  if (window == nullptr) return {};
  return window->FindByName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

bool HasFocus(Control control) {
  auto* widget = qobject_cast<QWidget*>(control.object());
  return widget != nullptr && widget->hasFocus();
}

void SetFocus(Control control) {
  auto* widget = qobject_cast<QWidget*>(control.object());
  if (widget == nullptr) return;
  if (widget->isWindow()) {
    widget->activateWindow();
  } else {
    widget->setFocus(Qt::OtherFocusReason);
  }
}

void FocusForTyping(Control edit_box) {
  auto* edit = qobject_cast<QLineEdit*>(edit_box.object());
  if (edit == nullptr || !edit->isEnabled()) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

Control FocusedControl(Window* window) {
  if (window == nullptr) return {};
  return window->ControlFor(window->focusWidget());
}

Control ContextMenuOwner(Window* window) {
  return window != nullptr ? window->context_menu_owner() : Control();
}

void PasteInto(Control edit_box) {
  auto* edit = qobject_cast<QLineEdit*>(edit_box.object());
  if (edit == nullptr || !edit->isEnabled() || edit->isReadOnly()) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->paste();
}

bool PopupMenu(Window* window, std::string_view menu, QPoint screen_position) {
  if (window == nullptr) return false;
  QMenu* found = window->Menu(QString::fromUtf8(menu.data(), static_cast<qsizetype>(menu.size())));
  if (found == nullptr) return false;
  found->popup(screen_position);
  return true;
}

void ShowMessageBox(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

int AskQuestion(const QString& text, const QString& title, const std::vector<QString>& buttons) {
  if (buttons.empty()) return -1;
  QMessageBox box(QMessageBox::Question, title, text);
  box.setTextFormat(Qt::PlainText);
  std::vector<QPushButton*> added;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    // Roles only order the buttons as the platform lays them out; the answer is the button.
    const QMessageBox::ButtonRole role = i == 0                   ? QMessageBox::AcceptRole
                                         : i + 1 < buttons.size() ? QMessageBox::DestructiveRole
                                                                  : QMessageBox::RejectRole;
    added.push_back(box.addButton(buttons[i], role));
  }
  box.setDefaultButton(added.front());
  box.setEscapeButton(added.back());
  box.exec();
  const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
  return chosen != added.end() ? static_cast<int>(chosen - added.begin())
                               : static_cast<int>(added.size()) - 1;
}

void SetClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

QPoint MousePosition() {
  return QCursor::pos();
}

void OpenAddress(Control hyperlink_box) {
  if (!hyperlink_box) return;
  const QString address = hyperlink_box.object()->property("address").toString();
  const QUrl url(address, QUrl::StrictMode);
  // Only web addresses: the box never hands a local file or a program to the desktop.
  if (!url.isValid() ||
      (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
    return;
  }
  if (AddressOpener()) {
    AddressOpener()(url.toString());
  } else {
    QDesktopServices::openUrl(url);
  }
}

void SetAddressOpener(std::function<void(const QString&)> opener) {
  AddressOpener() = std::move(opener);
}

}  // namespace velmora
