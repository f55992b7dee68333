// The unit finder over the largest possible settings file (32 lists of 49 units): one search of
// all 1,600 rows per keystroke, the same keystroke through the real finder on the main window
// (offscreen), and the index's first build when the finder opens.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "app/startup.h"
#include "temp_settings_file.h"
#include "text/gb18030.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/find_panel_design.h"
#include "units/category.h"
#include "units/unit_search.h"
#include "widget_bench.h"

namespace velmora {
namespace {

constexpr const char* kCaptions[] = {"长度", "面积", "体积", "温度", "质量", "力", "压强", "功"};

std::string UnitName(int page, int i) {
  return "单位名称" + std::to_string(page) + "之" + std::to_string(i) + "(u" +
         std::to_string(page * 100 + i) + ")";
}

std::string LargestConfig() {
  std::string text =
      "[通用设置]\n小数保留位数=6\n是否千位分隔=1\n跨度=372\n上下间隔=24\n每列个数=15\n"
      "[按钮的命名]\n";
  for (int page = 1; page <= kCategoryCount; ++page) {
    text += "unit" + std::to_string(page) + "=" + kCaptions[page % 8] + "\n";
  }
  for (int page = 1; page <= kCategoryCount; ++page) {
    text += "[unit" + std::to_string(page) + "]\n";
    for (int i = 1; i <= kMaxUnitsPerPage; ++i) {
      text += std::to_string(PageBase(page) + i) + "=" + UnitName(page, i) + ",1.5\n";
    }
  }
  return text;
}

// What the user types, one keystroke at a time: a Chinese name, a symbol, a caption and a
// query that matches nothing (every row is looked at in full).
const std::vector<std::string>& Keystrokes() {
  static const std::vector<std::string> queries = {
      "单",    "单位", "单位名", "名称3", "名称32之4", "u",  "u3",  "u32",
      "U3249", "质",   "质量",   "压强",  "z",         "zq", "zqx", "之49(",
  };
  return queries;
}

void BM_SearchAll1600Rows(benchmark::State& bench) {
  const TempSettingsFile file("find", Utf8ToGb18030(LargestConfig()));
  const UnitSearchIndex index(ReadSearchableUnits());
  if (index.size() != static_cast<std::size_t>(kRowNumberCount - kCategoryCount)) {
    bench.SkipWithError("the index does not hold every row");
    return;
  }
  const auto& queries = Keystrokes();
  std::size_t next = 0;
  for (auto _ : bench) {
    auto found = index.Search(queries[next], kFindResultLines);
    benchmark::DoNotOptimize(found);
    next = (next + 1) % queries.size();
  }
}
BENCHMARK(BM_SearchAll1600Rows)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

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
};

// One character typed into the finder's box until its match lines are written.
void BM_KeystrokeInTheFinder(benchmark::State& bench) {
  const TempSettingsFile file("find-window", Utf8ToGb18030(LargestConfig()));
  Program program;
  SendKey(program.window, Qt::Key_F, Qt::ControlModifier, {});
  auto* box = qobject_cast<QLineEdit*>(FindControl(program.window, kFindBox).object());
  auto* first = qobject_cast<QLabel*>(FindControl(program.window, FindResultName(1)).object());
  if (box == nullptr || first == nullptr || !box->hasFocus()) {
    bench.SkipWithError("the finder did not open");
    return;
  }
  const QString expected = QString::fromStdString(UnitName(3, 2) + " — " + kCaptions[3]);
  for (auto _ : bench) {
    box->setText(QStringLiteral("u30"));
    TimeIteration(bench, [&] { SendKey(box, Qt::Key_2, Qt::NoModifier, QStringLiteral("2")); });
    if (first->text() != expected) {
      bench.SkipWithError("the first match is not the unit typed");
      return;
    }
  }
}
BENCHMARK(BM_KeystrokeInTheFinder)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(500)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The finder's first opening reads the 32 lists and builds the index.
void BM_FirstIndexBuild(benchmark::State& bench) {
  const TempSettingsFile file("find-build", Utf8ToGb18030(LargestConfig()));
  for (auto _ : bench) {
    const UnitSearchIndex index(ReadSearchableUnits());
    benchmark::DoNotOptimize(index.size());
  }
}
BENCHMARK(BM_FirstIndexBuild)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
