// The converter on the real main window (offscreen): typing one character into a row of a
// 49-unit page until all 48 other rows hold their new texts, and the first build of such a page.
// The page's layout shows 30 rows at once: the typed row is the first (argument 1) or the last,
// which the page scrolls to (argument 49).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/startup.h"
#include "convert/format_number.h"
#include "settings/settings_file.h"
#include "temp_settings_file.h"
#include "text/gb18030.h"
#include "text/number_text.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/category_pages.h"
#include "units/category.h"
#include "widget_bench.h"

namespace velmora {
namespace {

// Factor of unit i (1 to 49) of every page: spread over many magnitudes, as real units are.
double FactorOf(int i) {
  return 1.0 / (i * 0.37) * (i % 7 == 0 ? 1e6 : 1.0) * (i % 5 == 0 ? 1e-4 : 1.0);
}

// The text of a settings file whose 32 sections list 49 units each, as large as the file can
// get; results in decimal places or, when `significant`, in significant digits.
std::string LargestConfig(bool significant = false) {
  std::string text =
      "[通用设置]\n小数保留位数=6\n是否千位分隔=1\n跨度=372\n上下间隔=24\n每列个数=15\n";
  text += significant ? "有效数字显示=1\n" : "有效数字显示=0\n";
  for (int page = 1; page <= kCategoryCount; ++page) {
    text += "[unit" + std::to_string(page) + "]\n";
    for (int i = 1; i <= kMaxUnitsPerPage; ++i) {
      text += std::to_string(PageBase(page) + i) + "=单位名称" + std::to_string(i) + "(u" +
              std::to_string(i) + ")," + NumberToText(FactorOf(i)) + "\n";
    }
  }
  return text;
}

class Config {
 public:
  explicit Config(bool significant = false)
      : file_("converter", Utf8ToGb18030(LargestConfig(significant))) {}

 private:
  TempSettingsFile file_;
};

struct Program {
  std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
  QPointer<Window> window;

  Program() {
    window = StartProgram(*state);
    window->activateWindow();
    for (int i = 0; i < 100 && !window->isActiveWindow(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
  }
  ~Program() { delete window.data(); }
  QLineEdit* Row(int row) const {
    return qobject_cast<QLineEdit*>(FindControlByTag(window.data(), row).object());
  }
};

// Arguments: the row typed into (1 to 49); 0 for results in decimal places, 1 in significant
// digits.
void BM_TypeOneCharacterInto49UnitPage(benchmark::State& bench) {
  const bool significant = bench.range(1) == 1;
  const Config config(significant);
  Program program;
  LoadCategoryPage(program.state->conversion, program.window, 1);
  const int unit = static_cast<int>(bench.range(0));
  QLineEdit* typed = program.Row(PageBase(1) + unit);
  typed->setFocus(Qt::MouseFocusReason);
  if (!typed->hasFocus()) {
    bench.SkipWithError("the row did not take the focus");
    return;
  }
  SendKey(typed, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));

  std::vector<QLineEdit*> others;
  std::vector<QString> expected;
  const double base = 7.0 / FactorOf(unit);
  for (int i = 1; i <= kMaxUnitsPerPage; ++i) {
    if (i == unit) continue;
    others.push_back(program.Row(PageBase(1) + i));
    expected.push_back(
        QString::fromStdString(FormatResult(base * FactorOf(i), {6, true, significant})));
  }
  for (auto _ : bench) {
    // Back to the empty row: all others show 0.
    SendKey(typed, Qt::Key_Backspace, Qt::NoModifier, {});
    TimeIteration(bench, [&] { SendKey(typed, Qt::Key_7, Qt::NoModifier, QStringLiteral("7")); });
    for (std::size_t i = 0; i < others.size(); ++i) {
      if (others[i]->text() != expected[i]) {
        bench.SkipWithError("a row does not hold its new text");
        return;
      }
    }
  }
}
BENCHMARK(BM_TypeOneCharacterInto49UnitPage)
    ->ArgsProduct({{1, kMaxUnitsPerPage}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(500)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_FirstBuildOf49UnitPage(benchmark::State& bench) {
  const Config config;
  std::unique_ptr<Program> program;
  int page = kCategoryCount;
  for (auto _ : bench) {
    if (page == kCategoryCount) {
      program.reset();
      program = std::make_unique<Program>();
      page = 0;
    }
    ++page;
    TimeIteration(bench,
                  [&] { LoadCategoryPage(program->state->conversion, program->window, page); });
    if (program->Row(PageBase(page) + kMaxUnitsPerPage) == nullptr) {
      bench.SkipWithError("the page was not built");
      return;
    }
  }
}
BENCHMARK(BM_FirstBuildOf49UnitPage)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(32)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
