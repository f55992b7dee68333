#pragma once

#include <QString>
#include <Qt>

class QWidget;

namespace velmora {

// A key typed as the user types it: press and release through the application.
void SendKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace velmora
