#pragma once

#include "app/notices.h"
#include "ui/calculator_window.h"
#include "ui/conversion_state.h"
#include "ui/main_window.h"
#include "ui/secondary_windows.h"

namespace velmora {

// The state of one run, owned by the program's start; each handler gets only its own part of it.
struct ProgramState {
  ConversionState conversion;
  NoticeState notices;
  CalculatorMemory calculator_memory;
  DragOffset drag;

  // What the secondary windows work on.
  SecondaryWindowState secondary_windows() {
    return {conversion, calculator_memory, notices.HomepageAddress};
  }
};

}  // namespace velmora
