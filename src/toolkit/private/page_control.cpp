#include "toolkit/private/page_control.h"

#include <QMouseEvent>

#include "toolkit/private/realise_support.h"
#include "toolkit/private/scrolling_area.h"
#include "toolkit/utf8_text.h"

namespace velmora {

PageControl::PageControl(Window* host, QWidget* parent) : QStackedWidget(parent), Hosted(host) {}

void PageControl::AddPage(const QString& caption, const QString& name) {
  auto* area = new ScrollingArea(this);
  area->setObjectName(name + QStringLiteral("_view"));
  area->setWindowTitle(caption);
  area->content()->setObjectName(name);
  area->content()->setWindowTitle(caption);
  addWidget(area);
}

QWidget* PageControl::page(int index) const {
  const auto* area = dynamic_cast<ScrollingArea*>(widget(index));
  return area != nullptr ? area->content() : nullptr;
}

void PageControl::mousePressEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonDown, event);
}

void PageControl::mouseReleaseEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonUp, event);
}

QWidget* MakePageControl(Window* host, const ControlDesign& design, QWidget* parent) {
  auto* pages = new PageControl(host, parent);
  int index = 0;
  for (const std::string& caption : design.look.pages) {
    pages->AddPage(FromUtf8(caption),
                   FromUtf8(design.name) + QStringLiteral("_page%1").arg(++index));
  }
  ApplyColours(pages, design.look, QPalette::Window);
  return pages;
}

}  // namespace velmora
