#include "ui/exchange_rate_window.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "text/number_text.h"
#include "ui/conversion_handlers.h"
#include "ui/conversion_state.h"
#include "toolkit/utf8_text.h"
#include "ui/currencies.h"
#include "ui/exchange_rate_store.h"
#include "ui/exchange_rate_window_design.h"
#include "ui/rates_fetcher.h"
#include "ui/secondary_windows.h"
#include "ui/skin.h"

namespace velmora {
namespace {

// Rows shown, disabled, while there are no rates at all.
constexpr const char* kPlaceholderCodes[] = {"CNY", "USD", "EUR", "HKD", "JPY", "GBP"};

double ToNumber(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return TextToNumber(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// What one opening of the window knows: the rows on show and the amount the user typed last.
// A child of the window, so it goes with it.
class RatesView final : public QObject {
 public:
  explicit RatesView(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("rates view"));
  }
  std::optional<StoredRates> stored;
  std::vector<CurrencyRow> rows;
  std::string typed_code;  // the row typed into last; empty before any typing
  QString typed_text;
};

RatesView* ViewOf(Window* window) {
  if (window == nullptr) return nullptr;
  // RatesView has no meta-object of its own, so findChild would take any child for it.
  for (QObject* child : WindowControl(window).object()->children()) {
    if (auto* view = dynamic_cast<RatesView*>(child)) return view;
  }
  return nullptr;
}

Control RowEdit(Window* window, std::size_t index) {
  return FindControlByTag(window, kFirstRateRowTag + static_cast<int>(index));
}

Control RowLabel(Window* window, std::size_t index) {
  return FindControlByTag(window, kFirstRateLabelTag + static_cast<int>(index));
}

// Row `index` of the scroll box, made from the template the first time it is needed.
std::pair<Control, Control> EnsureRow(Window* window, std::size_t index) {
  Control edit = RowEdit(window, index);
  Control label = RowLabel(window, index);
  if (edit && label) return {edit, label};
  edit = CopyControl(FindControl(window, kRateTemplateEdit));
  label = CopyControl(FindControl(window, kRateTemplateLabel));
  SetTag(edit, QString::number(kFirstRateRowTag + static_cast<int>(index)));
  SetTag(label, QString::number(kFirstRateLabelTag + static_cast<int>(index)));
  const int top = kFirstRateRowTop + kRateRowPitch * static_cast<int>(index);
  Move(edit, kRateEditLeft, top);
  Move(label, kRateLabelLeft, top);
  return {edit, label};
}

// Writes every row but `except` from an amount in euro.
void WriteRows(const ConversionState& state, Window* window, const RatesView& view,
               std::size_t except, double euro) {
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    if (i == except) continue;
    const Control edit = RowEdit(window, i);
    if (!edit || HasFocus(edit)) continue;
    WriteConvertedValue(state, edit, euro * view.rows[i].per_euro);
  }
}

QString DateLine(const std::optional<StoredRates>& stored) {
  if (!stored) return QStringLiteral("尚无汇率");
  return QStringLiteral("汇率日期：%1，欧洲央行参考汇率").arg(FromUtf8(stored->rates.date));
}

QString NoRatesText(bool can_fetch) {
  if (!can_fetch) {
    return QStringLiteral(
        "尚无汇率，且本程序未设置汇率地址。\n请设置环境变量 VELMORA_RATES_URL 后重新打开。");
  }
  return QStringLiteral("尚无汇率：请连接网络后\n按“更新汇率”取得欧洲央行的参考汇率。");
}

// Shows the rows for the view's rates: one per currency, the euro included, in their order;
// without rates, the most used currencies, disabled. Surplus rows of earlier rates are hidden.
void ShowRows(const ConversionState& state, Window* window, RatesView& view) {
  const bool have_rates = view.stored.has_value();
  if (have_rates) {
    view.rows = CurrencyRows(view.stored->rates);
  } else {
    view.rows.clear();
    for (const char* code : kPlaceholderCodes) {
      view.rows.push_back({code, CurrencyName(code) + "(" + code + ")", 1.0});
    }
  }
  std::size_t typed_index = view.rows.size();
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    const auto [edit, label] = EnsureRow(window, i);
    SetText(label, FromUtf8(view.rows[i].label));
    SetDisabled(edit, !have_rates);
    SetVisible(edit, true);
    SetVisible(label, true);
    if (have_rates && view.rows[i].code == view.typed_code) typed_index = i;
  }
  for (std::size_t i = view.rows.size();; ++i) {
    const Control edit = RowEdit(window, i);
    const Control label = RowLabel(window, i);
    if (!edit && !label) break;
    SetText(edit, {});
    SetVisible(edit, false);
    SetVisible(label, false);
  }
  // The amount the user typed stays in its currency and is converted at the new rates.
  if (typed_index < view.rows.size()) {
    const Control typed = RowEdit(window, typed_index);
    SetText(typed, view.typed_text);
    WriteRows(state, window, view, typed_index,
              ToNumber(view.typed_text) / view.rows[typed_index].per_euro);
  } else {
    view.typed_code.clear();
    for (std::size_t i = 0; i < view.rows.size(); ++i) SetText(RowEdit(window, i), {});
  }
}

void SetStatus(Window* window, const QString& text) {
  SetText(FindControl(window, kRatesStatusLabel), text);
}

void ShowFetching(Window* window, bool fetching) {
  SetDisabled(FindControl(window, kUpdateRatesButton), fetching || RatesAddress().empty());
  if (fetching) SetStatus(window, QStringLiteral("正在更新汇率……"));
}

// The state line for rates that are there or not, when no fetch has anything to say.
void ShowIdleStatus(Window* window, const RatesView& view) {
  SetStatus(window, view.stored ? QString() : NoRatesText(!RatesAddress().empty()));
}

QObject* FetchAnchor(QObject* main_window, Window* rates_window) {
  return main_window != nullptr ? main_window : WindowControl(rates_window).object();
}

void ReceiveRates(ConversionState& state, const RatesFetch& outcome);

void StartFetch(ConversionState& state, QObject* anchor, Window* window) {
  const std::string address = RatesAddress();
  if (address.empty()) return;
  if (StartRatesFetch(anchor, address,
                      [&state](RatesFetch outcome) { ReceiveRates(state, outcome); })) {
    ShowFetching(window, true);
  }
}

// The outcome of a fetch, on the user-interface thread: good rates are stored and shown; a bad
// answer changes nothing but the state line of the window, when it is open.
void ReceiveRates(ConversionState& state, const RatesFetch& outcome) {
  QString status;
  std::optional<StoredRates> fetched;
  if (outcome.rates) {
    fetched = StoredRates{*outcome.rates, SecondsNow()};
    const SettingsWriteResult written = StoreRates(fetched->rates, fetched->fetched_at);
    if (!written) {
      status =
          QStringLiteral("汇率已更新，但未能保存到设置文件：\n%1").arg(FromUtf8(written.message));
    }
  }
  Window* window = FindWindow(kExchangeRateWindow);
  RatesView* view = ViewOf(window);
  if (view == nullptr) return;
  ShowFetching(window, false);
  if (fetched) {
    view->stored = std::move(fetched);
    SetText(FindControl(window, kRatesDateLabel), DateLine(view->stored));
    ShowRows(state, window, *view);
    SetStatus(window, status);
  } else {
    SetStatus(window, RatesProblemText(outcome, view->stored.has_value()));
  }
}

void OnCreated(ConversionState& state, QObject* main_window, Window* window) {
  ApplyInterfaceStyle(state.settings, window);
  ApplyWindowShape(window);
  BindKey(WindowControl(window), "Escape", [window] { DestroyWindow(window); });
  auto* view = new RatesView(WindowControl(window).object());
  view->stored = LoadStoredRates();
  SetText(FindControl(window, kRatesDateLabel), DateLine(view->stored));
  ShowRows(state, window, *view);
  ShowIdleStatus(window, *view);
  QObject* anchor = FetchAnchor(main_window, window);
  ShowFetching(window, RatesFetchRunning(anchor));
  if (!RatesFetchRunning(anchor) && RatesNeedFetching(view->stored, SecondsNow())) {
    StartFetch(state, anchor, window);
  }
  if (view->stored) FocusForTyping(RowEdit(window, 0));
}

void OnRateEdited(const ConversionState& state, Window* window) {
  const Control source = EventSource();
  RatesView* view = ViewOf(window);
  if (view == nullptr || !HasFocus(source)) return;
  SetHint(source, {});
  const int index = static_cast<int>(ToNumber(Tag(source))) - kFirstRateRowTag;
  if (index < 0 || index >= static_cast<int>(view->rows.size())) return;
  const auto row = static_cast<std::size_t>(index);
  view->typed_code = view->rows[row].code;
  view->typed_text = Text(source);
  WriteRows(state, window, *view, row, ToNumber(view->typed_text) / view->rows[row].per_euro);
}

}  // namespace

QString RatesProblemText(const RatesFetch& outcome, bool had_rates) {
  QString reason;
  switch (outcome.problem) {
    case RatesProblem::kNone:
      return {};
    case RatesProblem::kNotRatesFile:
      reason = QStringLiteral("收到的不是欧洲央行的汇率文件");
      break;
    case RatesProblem::kBadRate:
      reason = QStringLiteral("汇率数据中有无效的汇率");
      break;
    case RatesProblem::kBadCode:
      reason = QStringLiteral("汇率数据中有无效的货币代码");
      break;
    case RatesProblem::kTooLarge:
      reason = QStringLiteral("汇率数据超过 1 MiB");
      break;
    case RatesProblem::kHttpStatus:
      reason = QStringLiteral("服务器返回错误（HTTP %1）").arg(outcome.http_status);
      break;
    case RatesProblem::kTimedOut:
      reason = QStringLiteral("连接超时");
      break;
    case RatesProblem::kNoAnswer:
      reason = QStringLiteral("无法连接汇率服务器");
      break;
    case RatesProblem::kFetchingOff:
      reason = QStringLiteral("未设置汇率地址");
      break;
  }
  return QStringLiteral("汇率更新失败：%1。\n%2")
      .arg(reason, had_rates ? QStringLiteral("仍使用之前的汇率。")
                             : QStringLiteral("尚无汇率，请稍后再按“更新汇率”。"));
}

HandlerTable ExchangeRateWindowHandlers(ConversionState& state, Window* main_window) {
  HandlerTable table;
  const QPointer<QObject> owner =
      main_window != nullptr ? WindowControl(main_window).object() : nullptr;
  table[kOnRatesCreated] = [&state, owner](const EventArgs& e) {
    OnCreated(state, owner.data(), e.window);
  };
  table[kOnRateEdited] = [&state](const EventArgs& e) { OnRateEdited(state, e.window); };
  table[kOnRateGotFocus] = [](const EventArgs& e) { OnRowGotFocus(e.source); };
  table[kOnRateLostFocus] = [](const EventArgs& e) { OnRowLostFocus(e.source); };
  table[kUpdateRates] = [&state, owner](const EventArgs& e) {
    StartFetch(state, FetchAnchor(owner.data(), e.window), e.window);
  };
  table[kDestroyRatesWindow] = [](const EventArgs& e) { DestroyWindow(e.window); };
  return table;
}

}  // namespace velmora
