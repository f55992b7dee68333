// The program's start in-process (offscreen): loading the main window with the shipped
// config.dat, through its created handler, until it is shown and painted; and its end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPointer>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/program_state.h"
#include "app/startup.h"
#include "settings/settings_file.h"
#include "temp_settings_file.h"
#include "text/gb18030.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

std::string ShippedBytes() {
  std::ifstream in(VELMORA_SHIPPED_CONFIG, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy of the shipped config.dat with remembering set as asked.
class ShippedConfig {
 public:
  explicit ShippedConfig(bool remember) : file_("start", ShippedBytes()) {
    WriteSetting("通用设置", "记住最后类别", remember ? "1" : "0");
    WriteSetting("通用设置", "最后的类别", "0");
  }

 private:
  TempSettingsFile file_;
};

// Arg 1: the remembered length page (26 units) is built at start; arg 0: no page.
void BM_StartUntilShown(benchmark::State& run) {
  const ShippedConfig config(run.range(0) == 1);
  for (auto _ : run) {
    auto state = std::make_unique<ProgramState>();
    QPointer<Window> window = StartProgram(*state);
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.data());
    run.PauseTiming();
    delete window.data();
    QCoreApplication::processEvents();
    run.ResumeTiming();
  }
}
BENCHMARK(BM_StartUntilShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
