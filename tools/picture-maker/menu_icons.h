#pragma once

#include <QImage>

namespace velmora::pictures {

enum class MenuIcon { kSettings, kUnitManager, kCalculator, kAbout, kExit, kOpen, kRates };

// 16 x 16 icons shown beside the main window's menu items.
QImage MakeMenuIcon(MenuIcon icon);

}  // namespace velmora::pictures
