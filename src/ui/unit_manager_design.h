#pragma once

#include "toolkit/design.h"

namespace velmora {

// Names of the handlers the unit manager's design binds (see UnitManagerWindowHandlers).
inline constexpr const char* kOpenUnitManager = "OpenUnitManager";
inline constexpr const char* kChooseCategory = "ChooseCategory";
inline constexpr const char* kShowTemperatureNotice = "ShowTemperatureNotice";
inline constexpr const char* kAddUnit = "AddUnit";
inline constexpr const char* kDeleteUnit = "DeleteUnit";
inline constexpr const char* kMoveUnitUp = "MoveUnitUp";
inline constexpr const char* kMoveUnitDown = "MoveUnitDown";
inline constexpr const char* kApplyUnitList = "ApplyUnitList";
inline constexpr const char* kCloseUnitManager = "CloseUnitManager";

// Names of the unit manager's controls that its handlers address.
inline constexpr const char* kUnitGrid = "高级表格1";
inline constexpr const char* kAddUnitButton = "加入新单位";
inline constexpr const char* kDeleteUnitButton = "删除单位";
inline constexpr const char* kMoveUpButton = "上移";
inline constexpr const char* kMoveDownButton = "下移";
inline constexpr const char* kApplyButton = "应用";

// The unit manager: the grid of one category's units, the five command buttons and the 32
// category buttons in four columns.
const WindowDesign& UnitManagerWindowDesign();

}  // namespace velmora
