#pragma once

#include <vector>

class QWidget;

namespace velmora {

// Puts the designed controls of a window into its keyboard focus chain in reading order: the
// controls of each container line by line from the top and left to right within a line, a
// container's own controls right after it, the pages of a page control one after the other.
// `controls` are the window's designed widgets, in any order. Only widgets that take the focus
// now are placed; one that stops taking it and takes it again later keeps its place.
// Returns the widgets it placed, in their order.
std::vector<QWidget*> SetReadingFocusOrder(QWidget* window, const std::vector<QWidget*>& controls);

// The widgets in reading order: line by line from the top, left to right within a line. Two
// widgets stand on one line when their tops differ by at most half the shorter one's height.
std::vector<QWidget*> InReadingOrder(std::vector<QWidget*> widgets);

}  // namespace velmora
