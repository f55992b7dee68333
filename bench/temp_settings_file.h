#pragma once

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace velmora {

// A config.dat holding `bytes` in a fresh folder, made the program's settings file; the folder
// is removed and the settings path restored when the benchmark ends.
class TempSettingsFile {
 public:
  TempSettingsFile(std::string_view tag, std::string_view bytes) {
    dir_ = std::filesystem::temp_directory_path() /
           ("velmora-bench-" + std::string(tag) + "-" +
            std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "config.dat", std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    SetSettingsPath(dir_ / "config.dat");
  }
  ~TempSettingsFile() {
    SetSettingsPath({});
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  TempSettingsFile(const TempSettingsFile&) = delete;
  TempSettingsFile& operator=(const TempSettingsFile&) = delete;

 private:
  std::filesystem::path dir_;
};

}  // namespace velmora
