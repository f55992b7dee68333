#pragma once

#include <benchmark/benchmark.h>

#include <QString>
#include <Qt>
#include <chrono>

class QWidget;

namespace velmora {

// A key typed as the user types it: press and release through the application.
void SendKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text);

// Runs `work` and reports its wall time as the iteration's time (benchmarks with manual time).
template <typename Work>
void TimeIteration(benchmark::State& bench, Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  const auto end = std::chrono::steady_clock::now();
  bench.SetIterationTime(std::chrono::duration<double>(end - start).count());
}

}  // namespace velmora
