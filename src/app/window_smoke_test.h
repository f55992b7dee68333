#pragma once

namespace velmora {

class Window;
struct ProgramState;

// Once the message loop runs, drives the program as a user would on whatever display it runs:
// waits for the main window on screen, types a value and checks that it converts, opens and
// closes every secondary window, then drags the main window by its title strip and quits. Each
// step prints a line on standard output; a step that fails or gets no answer within its time-out
// prints "FAILED: ..." and ends the process with a failure. With `drag_wait_seconds` above 0
// the drag is the user's (a real left button down on the window within that time, which must be
// handed to the windowing system); with 0 the run presses on the title strip itself.
void ScheduleWindowSmokeTest(Window* main_window, ProgramState& state, int drag_wait_seconds);

}  // namespace velmora
