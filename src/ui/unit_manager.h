#pragma once

#include "toolkit/toolkit.h"

namespace velmora {

struct ConversionState;

// The unit manager's handlers, made anew for every opening of the window: choosing a category
// loads its unit list into the grid, the commands edit the grid, and Apply makes the grid the
// category's stored list. A page of `main_window` (may be nullptr) already built from the old
// list is built again from the applied one. Closing the window or choosing another category
// with edits not applied asks first whether to apply them.
HandlerTable UnitManagerWindowHandlers(ConversionState& state, Window* main_window);

}  // namespace velmora
