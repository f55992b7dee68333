// The calculator window (offscreen): one character typed into the expression box until the
// result box holds the new result, for a short and a 1 KiB expression, with and without the
// window's repaint; and a pasted 64 KiB expression or 100,000 nested parentheses until the
// result is shown and the window repainted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <string>

#include "calc/evaluator.h"
#include "settings/settings.h"
#include "temp_settings_file.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/calculator_window.h"
#include "ui/calculator_window_design.h"
#include "widget_bench.h"

namespace velmora {
namespace {

struct Calculator {
  TempSettingsFile config{"calculator", ""};
  Settings settings;
  CalculatorMemory memory;
  QPointer<Window> window;

  Calculator() {
    window = LoadWindow(CalculatorWindowDesign(), CalculatorWindowHandlers(settings, memory),
                        nullptr, false);
    window->activateWindow();
    for (int i = 0; i < 100 && !window->isActiveWindow(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
  }
  ~Calculator() { delete window.data(); }
  QPlainTextEdit* expression() const {
    return qobject_cast<QPlainTextEdit*>(FindControl(window, kExpressionBox).object());
  }
  QLineEdit* result() const {
    return qobject_cast<QLineEdit*>(FindControl(window, kResultBox).object());
  }
};

// A typical expression repeated up to about `size` bytes; it ends in "+", so that a typed digit
// completes it.
std::string ExpressionOfSize(std::size_t size) {
  static constexpr std::string_view kPiece = "sin(30)*2+(1.5-0.25)^2/3-ln(e(2))+cos(60)(4-1)-";
  std::string text;
  while (text.size() + kPiece.size() + 2 <= size) text += kPiece;
  text += "1+";
  return text;
}

void TypeIntoExpression(benchmark::State& bench, const std::string& before, bool repaint) {
  Calculator calculator;
  QPlainTextEdit* box = calculator.expression();
  box->setFocus();
  // Each round takes the digit back and types it again.
  SetText(FindControl(calculator.window, kExpressionBox), QString::fromStdString(before + "7"));
  SetCaretPosition(FindControl(calculator.window, kExpressionBox), -1);
  const QString expected = QString::fromStdString(Evaluate(before + "7"));
  const QString without = QString::fromStdString(Evaluate(before));
  if (expected == without) {
    bench.SkipWithError("the typed digit would not change the result");
    return;
  }
  for (auto _ : bench) {
    SendKey(box, Qt::Key_Backspace, Qt::NoModifier, {});
    if (repaint) calculator.window->repaint();
    TimeIteration(bench, [&] {
      SendKey(box, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
      if (repaint) calculator.window->repaint();
    });
    if (calculator.result()->text() != expected) {
      bench.SkipWithError("the result box does not hold the new result");
      return;
    }
  }
  bench.SetLabel(std::to_string(before.size() + 1) + " bytes");
}

void BM_TypeIntoShortExpression(benchmark::State& bench) {
  TypeIntoExpression(bench, "12*3+", false);
}
void BM_TypeIntoOneKibExpression(benchmark::State& bench) {
  TypeIntoExpression(bench, ExpressionOfSize(1024), false);
}
void BM_TypeIntoShortExpressionAndRepaint(benchmark::State& bench) {
  TypeIntoExpression(bench, "12*3+", true);
}
void BM_TypeIntoOneKibExpressionAndRepaint(benchmark::State& bench) {
  TypeIntoExpression(bench, ExpressionOfSize(1024), true);
}

void Paste(benchmark::State& bench, const QString& text, const QString& expected) {
  Calculator calculator;
  QPlainTextEdit* box = calculator.expression();
  box->setFocus();
  QGuiApplication::clipboard()->setText(text);
  for (auto _ : bench) {
    SetText(FindControl(calculator.window, kExpressionBox), QString());
    calculator.window->repaint();
    TimeIteration(bench, [&] {
      SendKey(box, Qt::Key_V, Qt::ControlModifier, {});
      calculator.window->repaint();
    });
    if (calculator.result()->text() != expected) {
      bench.SkipWithError("the result box does not hold the pasted expression's result");
      return;
    }
  }
}

void BM_PasteSixtyFourKibExpression(benchmark::State& bench) {
  std::string sum;
  while (sum.size() < 64 * 1024) sum += "1+";
  sum += "1";
  Paste(bench, QString::fromStdString(sum), QString::number(sum.size() / 2 + 1));
}
void BM_PasteHundredThousandNestedParentheses(benchmark::State& bench) {
  Paste(bench, QString(100000, u'(') + QStringLiteral("2*3") + QString(100000, u')'),
        QStringLiteral("6"));
}

#define VELMORA_TYPING_BENCH(name)    \
  BENCHMARK(name)                     \
      ->UseManualTime()               \
      ->Unit(benchmark::kMicrosecond) \
      ->Iterations(300)               \
      ->Repetitions(5)                \
      ->ReportAggregatesOnly(true)
VELMORA_TYPING_BENCH(BM_TypeIntoShortExpression);
VELMORA_TYPING_BENCH(BM_TypeIntoOneKibExpression);
VELMORA_TYPING_BENCH(BM_TypeIntoShortExpressionAndRepaint);
VELMORA_TYPING_BENCH(BM_TypeIntoOneKibExpressionAndRepaint);

BENCHMARK(BM_PasteSixtyFourKibExpression)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PasteHundredThousandNestedParentheses)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
