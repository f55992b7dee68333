#include "cli/command_request.h"

#include <algorithm>
#include <optional>

#include "velmora/version.h"

namespace velmora {
namespace {

constexpr std::string_view kConvert = "--convert";
constexpr std::string_view kList = "--list";
constexpr std::string_view kConfig = "--config";
constexpr std::string_view kCategory = "--category";

bool IsHelp(std::string_view argument) {
  return argument == "-h" || argument == "--help";
}
bool IsVersion(std::string_view argument) {
  return argument == "-v" || argument == "--version";
}

CommandRequest Error(std::string message) {
  CommandRequest request;
  request.kind = CommandRequest::Kind::kError;
  request.error = std::move(message);
  return request;
}

// The value of an option given as "--name VALUE" or "--name=VALUE" at `i`, which moves past it;
// nothing when `arguments[i]` is not that option.
std::optional<std::string> OptionValue(std::span<const std::string> arguments, std::size_t& i,
                                       std::string_view name, bool& missing) {
  const std::string_view argument = arguments[i];
  if (argument == name) {
    if (i + 1 >= arguments.size()) {
      missing = true;
      return std::string();
    }
    return arguments[++i];
  }
  if (argument.size() > name.size() && argument.starts_with(name) && argument[name.size()] == '=') {
    return std::string(argument.substr(name.size() + 1));
  }
  return std::nullopt;
}

CommandRequest ReadConsoleCommand(std::span<const std::string> arguments) {
  CommandRequest request;
  bool mode_set = false;
  bool help = false;
  bool version = false;
  bool options_ended = false;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended) {
      positional.push_back(argument);
      continue;
    }
    bool missing = false;
    if (argument == "--") {
      options_ended = true;
    } else if (argument == kConvert || argument == kList) {
      const bool convert = argument == kConvert;
      if (mode_set) return Error("--convert and --list cannot be used together");
      mode_set = true;
      request.kind = convert ? CommandRequest::Kind::kConvert : CommandRequest::Kind::kList;
      // The value comes right after --convert, also when it starts with "-" ("-40").
      if (convert) {
        if (i + 1 >= arguments.size()) return Error("--convert needs a value and a unit");
        request.value = arguments[++i];
      }
    } else if (auto file = OptionValue(arguments, i, kConfig, missing)) {
      if (missing || file->empty()) return Error("--config needs a file name");
      request.config = std::filesystem::path(*file);
    } else if (auto category = OptionValue(arguments, i, kCategory, missing)) {
      if (missing || category->empty()) return Error("--category needs a category");
      request.category = *category;
    } else if (IsHelp(argument)) {
      help = true;
    } else if (IsVersion(argument)) {
      version = true;
    } else if (argument.size() > 1 && argument.front() == '-') {
      return Error("unknown option '" + argument + "'");
    } else {
      positional.push_back(argument);
    }
  }
  if (help) request.kind = CommandRequest::Kind::kHelp;
  if (!help && version) request.kind = CommandRequest::Kind::kVersion;
  if (help || version) return request;

  if (request.kind == CommandRequest::Kind::kList) {
    if (positional.size() > 1) return Error("unexpected argument '" + positional[1] + "'");
    if (!positional.empty()) {
      if (!request.category.empty()) return Error("--list takes one category");
      request.category = positional.front();
    }
    return request;
  }
  if (positional.empty()) return Error("--convert needs the unit to convert from");
  request.units = std::move(positional);
  return request;
}

}  // namespace

CommandRequest ReadCommandRequest(std::span<const std::string> arguments) {
  const bool console = std::any_of(arguments.begin(), arguments.end(), [](const std::string& a) {
    return a == kConvert || a == kList;
  });
  if (console) return ReadConsoleCommand(arguments);
  CommandRequest request;
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (IsHelp(argument)) {
      request.kind = CommandRequest::Kind::kHelp;
      return request;
    }
    if (IsVersion(argument) && request.kind == CommandRequest::Kind::kWindow) {
      request.kind = CommandRequest::Kind::kVersion;
    }
  }
  return request;
}

std::string HelpText() {
  return "Usage: velmora [options]\n"
         "       velmora --convert VALUE FROM [TO ...] [--config FILE] [--category CATEGORY]\n"
         "       velmora --list [CATEGORY] [--config FILE]\n"
         "Velmora converts a value typed in any unit into all units of its category.\n"
         "\n"
         "Options:\n"
         "  -h, --help                Displays this help.\n"
         "  -v, --version             Displays version information.\n"
         "  --config <FILE>           Keep the settings and unit lists in FILE instead of the\n"
         "                            usual config.dat. A FILE that does not exist is created\n"
         "                            from the shipped settings.\n"
         "  --convert <VALUE> <FROM> [<TO> ...]\n"
         "                            Print VALUE, a number or an arithmetic expression such as\n"
         "                            1/3 or 2(3+4), given in unit FROM, in each unit TO, or in\n"
         "                            every other unit of FROM's category, one line each: the\n"
         "                            number (at most 15 significant digits), a space and the\n"
         "                            unit's name. Units are named by their symbol (km), their\n"
         "                            whole name (千米(km)) or their name without the bracket\n"
         "                            (千米). No window is opened.\n"
         "  --category <CATEGORY>     With --convert: look for the units in CATEGORY only, for\n"
         "                            symbols that several categories share.\n"
         "  --list [<CATEGORY>]       Print the categories with their units, or the units of\n"
         "                            CATEGORY: its number (1 to 32), its section (unit5) or its\n"
         "                            button's name (质量). No window is opened.\n"
         "\n"
         "Console commands print errors as one line on standard error and end with status 2.\n";
}

std::string VersionText() {
  return "velmora " + std::string(kVersion) + "\n";
}

}  // namespace velmora
