#pragma once

#include <QStringList>
#include <filesystem>

namespace velmora {

// What the command line asks of a run.
struct CommandLine {
  // --config FILE: the settings file to use instead of the usual one; empty when not given.
  std::filesystem::path config;
  // --smoke-test PAGE (not listed in the help): start, report the settings file and the page on
  // show, click the category button of PAGE (1 to 32; 0 clicks none) and quit as the close button
  // does. Lets scripts and tests drive a built or installed program without a display or mouse.
  bool smoke_test = false;
  int smoke_test_page = 0;
  // --smoke-test-windows SECONDS (not listed in the help): converts a value, opens and closes
  // every window and drags the main window (see ScheduleWindowSmokeTest); SECONDS above 0 waits
  // that long for a real drag. Negative when not given.
  int window_smoke_test = -1;
};

// --help, --version and the console commands are answered before the window's code is loaded
// (cli/command_request.h).
// Reads the command line of the running application (its arguments with the window system's own
// options taken out). A faulty command line is reported on standard error and ends the process.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace velmora
