// The window's icon in the notification area, and the tray operations of toolkit.h.

#include "toolkit/private/window_tray.h"

#include <QSystemTrayIcon>
#include <optional>

#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

std::optional<bool>& TrayOverride() {
  static std::optional<bool> available;
  return available;
}

}  // namespace

QSystemTrayIcon* MakeTrayIcon(Window* window) {
  auto* tray = new QSystemTrayIcon(window->windowIcon(), window);
  QObject::connect(tray, &QSystemTrayIcon::activated, window->connection_guard(),
                   [window](QSystemTrayIcon::ActivationReason reason) {
                     switch (reason) {
                       case QSystemTrayIcon::Trigger:
                       case QSystemTrayIcon::DoubleClick:
                         window->Raise(window, Event::Tray, {}, 0, 1);
                         break;
                       case QSystemTrayIcon::Context:
                         window->Raise(window, Event::Tray, {}, 0, 3);
                         break;
                       default:
                         break;
                     }
                   });
  return tray;
}

bool TrayAvailable() {
  if (TrayOverride().has_value()) return *TrayOverride();
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void SetTrayAvailableForTesting(std::optional<bool> available) {
  TrayOverride() = available;
}

void ShowTrayIcon(Window* window, const QString& tip) {
  if (window == nullptr) return;
  QSystemTrayIcon* tray = window->Tray();
  tray->setIcon(window->windowIcon());
  tray->setToolTip(tip);
  tray->show();
}

void RemoveTrayIcon(Window* window) {
  if (window == nullptr || window->tray_if_made() == nullptr) return;
  window->tray_if_made()->hide();
}

bool TrayIconShown(const Window* window) {
  return window != nullptr && window->tray_if_made() != nullptr &&
         window->tray_if_made()->isVisible();
}

}  // namespace velmora
