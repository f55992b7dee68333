#include "toolkit/private/reading_order.h"

#include <QHash>
#include <QTabBar>
#include <algorithm>
#include <cstdlib>

#include "toolkit/private/advanced_page_control.h"
#include "toolkit/private/page_control.h"
#include "toolkit/private/scrolling_area.h"

namespace velmora {
namespace {

using Children = QHash<const QWidget*, std::vector<QWidget*>>;

// The container's widgets that the focus passes through after the container itself: the tabs
// and pages of a page control, or the container alone.
std::vector<QWidget*> Inner(QWidget* container) {
  std::vector<QWidget*> inner;
  if (auto* pages = dynamic_cast<PageControl*>(container)) {
    for (int i = 0; i < pages->count(); ++i) inner.push_back(pages->page(i));
  } else if (auto* area = dynamic_cast<ScrollingArea*>(container)) {
    inner.push_back(area->content());
  } else if (auto* tabs = dynamic_cast<AdvancedPageControl*>(container)) {
    inner.push_back(tabs->tab_bar());
    for (int i = 0; i < tabs->count(); ++i) inner.push_back(tabs->page(i));
  }
  return inner;
}

void Append(QWidget* container, const Children& children, std::vector<QWidget*>& chain) {
  const auto found = children.constFind(container);
  if (found == children.cend()) return;
  for (QWidget* widget : InReadingOrder(found.value())) {
    chain.push_back(widget);
    Append(widget, children, chain);
    for (QWidget* inner : Inner(widget)) {
      chain.push_back(inner);
      Append(inner, children, chain);
    }
  }
}

}  // namespace

std::vector<QWidget*> InReadingOrder(std::vector<QWidget*> widgets) {
  std::stable_sort(widgets.begin(), widgets.end(), [](const QWidget* a, const QWidget* b) {
    return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
  });
  auto line_start = widgets.begin();
  while (line_start != widgets.end()) {
    const QWidget* first = *line_start;
    auto line_end = std::next(line_start);
    while (line_end != widgets.end()) {
      const int half = std::min(first->height(), (*line_end)->height()) / 2;
      if (std::abs((*line_end)->y() - first->y()) > std::max(half, 0)) break;
      ++line_end;
    }
    std::stable_sort(line_start, line_end,
                     [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
    line_start = line_end;
  }
  return widgets;
}

std::vector<QWidget*> SetReadingFocusOrder(QWidget* window, const std::vector<QWidget*>& controls) {
  Children children;
  for (QWidget* control : controls) children[control->parentWidget()].push_back(control);
  std::vector<QWidget*> chain;
  Append(window, children, chain);
  // Qt places only widgets that take the focus; one whose policy changes later keeps its place.
  std::vector<QWidget*> placed;
  for (QWidget* widget : chain) {
    if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
    if (!placed.empty()) QWidget::setTabOrder(placed.back(), widget);
    placed.push_back(widget);
  }
  return placed;
}

}  // namespace velmora
