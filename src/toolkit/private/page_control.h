#pragma once

#include <QStackedWidget>
#include <QString>

#include "toolkit/design.h"
#include "toolkit/private/hosted.h"

namespace velmora {

// Page control whose pages are switched by code; no tabs are drawn. Each page is a panel that
// scrolls once its controls reach past the control's edges (see ScrollingArea).
class PageControl final : public QStackedWidget, public Hosted {
 public:
  PageControl(Window* host, QWidget* parent);

  // A new last page with this caption; `name` is the object name of its panel.
  void AddPage(const QString& caption, const QString& name);
  // The panel of page `index` that its controls stand on; nullptr outside the pages.
  QWidget* page(int index) const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// Kind::PageControl with a page for each caption of the look; the panels are named after the
// control: "<name>_page1", "<name>_page2" and so on.
QWidget* MakePageControl(Window* host, const ControlDesign& design, QWidget* parent);

}  // namespace velmora
