#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "text/gb18030.h"

namespace {

using velmora::ReadSetting;

// A config.dat of the shipped shape in a fresh folder: 32 unit sections of 50 items each
// (1,600 items), GBK unit names, CRLF line breaks. Removed at exit.
class BenchFile {
 public:
  BenchFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX");
    folder_ = mkdtemp(pattern.data()) != nullptr ? pattern : ".";
    std::string text = "[通用设置]\r\n界面风格=1\r\n小数保留位数=4\r\n是否千位分隔=1\r\n";
    for (int page = 1; page <= 32; ++page) {
      const int base = 50 * (page - 1) + 1;
      text += "[unit" + std::to_string(page) + "]\r\n";
      for (int row = base; row < base + 50; ++row) {
        text += std::to_string(row) + "=单位" + std::to_string(row) + ",1." +
                std::to_string(row * 7919) + "\r\n";
      }
    }
    std::ofstream(path(), std::ios::binary) << velmora::Utf8ToGb18030(text);
    velmora::SetSettingsPath(path());
  }
  ~BenchFile() {
    velmora::SetSettingsPath({});
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::filesystem::path path() const { return folder_ / "config.dat"; }

 private:
  std::filesystem::path folder_;
};

const BenchFile& File() {
  static const BenchFile file;
  return file;
}

// One page switch: the 49 unit keys of one category section, each read from the file.
void BM_PageSwitchReads(benchmark::State& state) {
  File();
  const int page = static_cast<int>(state.range(0));
  const std::string section = "unit" + std::to_string(page);
  const int base = 50 * (page - 1) + 1;
  for (auto _ : state) {
    for (int row = base + 1; row <= base + 49; ++row) {
      benchmark::DoNotOptimize(ReadSetting(section, std::to_string(row)));
    }
  }
}
BENCHMARK(BM_PageSwitchReads)
    ->Arg(1)
    ->Arg(16)
    ->Arg(32)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_ReadGeneralSettings(benchmark::State& state) {
  File();
  for (auto _ : state) benchmark::DoNotOptimize(velmora::ReadGeneralSettings());
}
BENCHMARK(BM_ReadGeneralSettings)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_WriteSetting(benchmark::State& state) {
  File();
  int value = 0;
  for (auto _ : state)
    velmora::WriteSetting("通用设置", "最后的类别", std::to_string(value++ % 32));
}
BENCHMARK(BM_WriteSetting)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
