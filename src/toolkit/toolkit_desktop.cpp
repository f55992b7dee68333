// The desktop operations of toolkit.h: message boxes, the clipboard, the mouse pointer and web
// addresses.

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "toolkit/toolkit.h"

namespace velmora {
namespace {

std::function<void(const QString&)>& AddressOpener() {
  static std::function<void(const QString&)> opener;
  return opener;
}

}  // namespace

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
