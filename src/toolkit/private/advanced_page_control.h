#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "toolkit/design.h"

class QTabBar;

namespace velmora {

// Page control with drawn tabs along its top edge. Every page covers the whole control, so the
// places of a page's controls count from the control's corner; the tabs are drawn over the top
// of the pages and the designs keep their controls below them.
class AdvancedPageControl final : public QWidget {
 public:
  explicit AdvancedPageControl(QWidget* parent);

  // A new page with this tab caption; its object name is `name`.
  QWidget* AddPage(const QString& caption, const QString& name);
  int count() const { return static_cast<int>(pages_.size()); }
  QWidget* page(int index) const;
  int currentIndex() const;
  void setCurrentIndex(int index);
  QTabBar* tab_bar() const { return tabs_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Show(int index);
  void Layout();

  QTabBar* tabs_;
  std::vector<QWidget*> pages_;
};

// Kind::AdvancedPageControl with a tab and page for each caption of the look; the pages are
// named after the control: "<name>_page1", "<name>_page2" and so on.
QWidget* MakeAdvancedPageControl(const ControlDesign& design, QWidget* parent);

}  // namespace velmora
