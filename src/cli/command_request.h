#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace velmora {

// What a command line asks for, read without Qt before anything else is loaded.
struct CommandRequest {
  enum class Kind {
    kWindow,   // the converter's window: everything else on the line is the window's to read
    kHelp,     // --help
    kVersion,  // --version
    kConvert,  // --convert VALUE FROM [TO ...]
    kList,     // --list [CATEGORY]
    kError,    // a faulty console command line; `error` says why
  };
  Kind kind = Kind::kWindow;
  std::string error;
  // --config FILE; empty when not given.
  std::filesystem::path config;
  // --convert: the value's text; the unit to convert from, then the units to convert into.
  std::string value;
  std::vector<std::string> units;
  // --list CATEGORY or --category CATEGORY; empty when not given.
  std::string category;
};

// Reads the arguments after the program's name. A line with --convert or --list is a console
// command and is read whole here; otherwise --help or --version anywhere answers that, and any
// other line starts the window.
CommandRequest ReadCommandRequest(std::span<const std::string> arguments);

// The text of --help and of --version.
std::string HelpText();
std::string VersionText();

}  // namespace velmora
