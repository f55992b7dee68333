#include "toolkit/private/realise_support.h"

#include <QAbstractButton>

#include "toolkit/colour.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {

QString DesignText(const std::string& text) {
  QString result = FromUtf8(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

Qt::Alignment ToAlignment(Align align) {
  switch (align) {
    case Align::Centre:
      return Qt::AlignCenter;
    case Align::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

void ApplyColours(QWidget* widget, const Look& look, QPalette::ColorRole background_role) {
  QPalette palette = widget->palette();
  const QColor text = ToQColor(look.text_colour);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Text, text);
  if (look.has_background) palette.setColor(background_role, ToQColor(look.background));
  widget->setPalette(palette);
  if (look.has_background && background_role == QPalette::Window) {
    widget->setAutoFillBackground(true);
  }
}

QWidget* MakeClickable(Window* host, QAbstractButton* button) {
  QObject::connect(button, &QAbstractButton::clicked, host->connection_guard(),
                   [host, button] { host->Raise(button, Event::Clicked); });
  return button;
}

}  // namespace velmora
