#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_main.h"
#include "cli/command_request.h"
#include "cli/console.h"

// Where the program's private libraries lie as seen from bin/ in an installation; the build
// passes it.
#ifndef VELMORA_BIN_TO_LIB
#define VELMORA_BIN_TO_LIB "../lib/velmora"
#endif

namespace {

// The console commands, --help and --version need nothing of Qt, so this program links none of
// it: a start that only answers takes no time for loading the toolkit. The window's code and Qt
// come in with the window library only when a window is wanted.

bool Write(std::FILE* stream, std::string_view text) {
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
         std::fflush(stream) == 0;
}

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path(".") : exe.parent_path();
}

int RunWindow(int argc, char** argv) {
  const std::filesystem::path folder = ProgramFolder();
  // An installation keeps the library among its private libraries; a build folder beside the
  // program.
  const std::filesystem::path candidates[] = {
      (folder / VELMORA_BIN_TO_LIB / kWindowLibraryName).lexically_normal(),
      folder / kWindowLibraryName};
  std::string failure;
  for (const std::filesystem::path& candidate : candidates) {
    std::error_code error;
    if (!std::filesystem::exists(candidate, error)) continue;
    // Global and lazy, as the toolkit's libraries were when the program linked them.
    void* library = dlopen(candidate.c_str(), RTLD_LAZY | RTLD_GLOBAL);
    if (library == nullptr) {
      failure = dlerror();
      continue;
    }
    using Entry = int (*)(int, char**);
    const auto entry = reinterpret_cast<Entry>(dlsym(library, kWindowEntryName));
    if (entry == nullptr) {
      failure = dlerror();
      continue;
    }
    return entry(argc, argv);
  }
  if (failure.empty()) failure = candidates[0].string() + " is missing";
  Write(stderr, "velmora: cannot load the window: " + failure + "\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
  const velmora::CommandRequest request = velmora::ReadCommandRequest(arguments);
  using Kind = velmora::CommandRequest::Kind;
  switch (request.kind) {
    case Kind::kWindow:
      return RunWindow(argc, argv);
    case Kind::kHelp:
      return Write(stdout, velmora::HelpText()) ? 0 : velmora::kConsoleFailure;
    case Kind::kVersion:
      return Write(stdout, velmora::VersionText()) ? 0 : velmora::kConsoleFailure;
    case Kind::kError:
      Write(stderr, "velmora: " + request.error + "\n");
      return velmora::kConsoleFailure;
    case Kind::kConvert:
    case Kind::kList:
      break;
  }
  const velmora::ConsoleResult result = velmora::RunConsoleCommand(request);
  if (!result.err.empty()) Write(stderr, result.err);
  if (result.status == 0 && !Write(stdout, result.out)) {
    Write(stderr, "velmora: the output could not be written\n");
    return velmora::kConsoleFailure;
  }
  return result.status;
}
