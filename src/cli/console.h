#pragma once

#include <string>

#include "cli/command_request.h"

namespace velmora {

// What a console command prints and the status it ends with: 0, or 2 with one line on standard
// error and nothing on standard output.
struct ConsoleResult {
  int status = 0;
  std::string out;
  std::string err;
};

inline constexpr int kConsoleFailure = 2;

// Answers --convert and --list from the settings file the window would use (--config FILE, else
// config.dat beside the program or the user's own), read once.
ConsoleResult RunConsoleCommand(const CommandRequest& request);

}  // namespace velmora
