#pragma once

namespace velmora {

class Window;

// Once the message loop runs: prints the settings file in use and the page on show, clicks the
// category button of `page` (1 to 32; 0 clicks none) and destroys the main window as its close
// button does, which ends the program through its usual shut-down.
void ScheduleSmokeTest(Window* main_window, int page);

}  // namespace velmora
