#include "toolkit/private/plain_controls.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "toolkit/private/realise_support.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {

QWidget* MakeButton(Window* host, const ControlDesign& design, QWidget* parent) {
  auto* button = new QPushButton(FromUtf8(design.text), parent);
  ApplyColours(button, design.look, QPalette::Button);
  return MakeClickable(host, button);
}

QWidget* MakeCheckBox(Window* host, const ControlDesign& design, QWidget* parent) {
  auto* box = new QCheckBox(FromUtf8(design.text), parent);
  ApplyColours(box, design.look, QPalette::Window);
  return MakeClickable(host, box);
}

QWidget* MakeRadioButton(Window* host, const ControlDesign& design, QWidget* parent) {
  auto* button = new QRadioButton(FromUtf8(design.text), parent);
  ApplyColours(button, design.look, QPalette::Window);
  return MakeClickable(host, button);
}

void CopyButtonCaption(const QWidget* original, QWidget* copy) {
  static_cast<QAbstractButton*>(copy)->setText(
      static_cast<const QAbstractButton*>(original)->text());
}

QWidget* MakeGroupBox(const ControlDesign& design, QWidget* parent) {
  auto* group = new QGroupBox(FromUtf8(design.text), parent);
  ApplyColours(group, design.look, QPalette::Window);
  return group;
}

QWidget* MakeFrame(const ControlDesign& design, QWidget* parent) {
  auto* frame = new QFrame(parent);
  if (design.kind == Kind::ShapeBox) frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  ApplyColours(frame, design.look, QPalette::Window);
  return frame;
}

QObject* MakeTimer(Window* host) {
  auto* timer = new QTimer(host);
  QObject::connect(timer, &QTimer::timeout, host->connection_guard(),
                   [host, timer] { host->Raise(timer, Event::Tick); });
  return timer;
}

void CopyTimer(const QObject* original, QObject* copy) {
  static_cast<QTimer*>(copy)->setInterval(static_cast<const QTimer*>(original)->interval());
}

QObject* MakeHolder(Window* host, const ControlDesign& design) {
  auto* holder = new QObject(host);
  holder->setProperty("address", FromUtf8(design.text));
  return holder;
}

void CopyHolder(const QObject* original, QObject* copy) {
  copy->setProperty("address", original->property("address"));
}

}  // namespace velmora
