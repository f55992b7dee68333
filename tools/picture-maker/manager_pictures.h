#pragma once

#include <QImage>

namespace velmora::pictures {

// 72 x 24 face of the unit manager's category button 1 to 32: a pale tint of the category's hue
// with a stronger band on its left edge, flatter than the main window's glossy faces.
QImage MakeManagerFace(int number);

enum class UnitCommandIcon { kAdd, kDelete, kUp, kDown, kApply };

// 16 x 16 icons of the unit manager's command buttons.
QImage MakeUnitCommandIcon(UnitCommandIcon icon);

}  // namespace velmora::pictures
