#include "ui/rates_fetcher.h"

#include <QMetaObject>
#include <QObject>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace velmora {
namespace {

constexpr const char* kKeeperName = "rates fetch";

// What a background fetch shares with its anchor: whether the anchor still takes the outcome.
// The fetch posts only while the gate is open, and the keeper closes it (under the same lock)
// before it goes, so nothing is ever posted to an object that is being destroyed.
class RatesGate {
 public:
  explicit RatesGate(QObject* receiver) : receiver_(receiver) {}

  void Close() {
    const std::lock_guard lock(mutex_);
    receiver_ = nullptr;
  }
  void Post(std::function<void()> call) {
    const std::lock_guard lock(mutex_);
    if (receiver_ == nullptr) return;
    QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
  }

 private:
  std::mutex mutex_;
  QObject* receiver_;
};

// Lives as a child of the anchor; queued outcomes run in its context and are dropped with it.
class RatesKeeper final : public QObject {
 public:
  explicit RatesKeeper(QObject* parent)
      : QObject(parent), gate_(std::make_shared<RatesGate>(this)) {
    setObjectName(QString::fromLatin1(kKeeperName));
  }
  ~RatesKeeper() override { gate_->Close(); }
  RatesKeeper(const RatesKeeper&) = delete;
  RatesKeeper& operator=(const RatesKeeper&) = delete;

  const std::shared_ptr<RatesGate>& gate() const { return gate_; }
  bool running = false;

 private:
  std::shared_ptr<RatesGate> gate_;
};

RatesKeeper* FindKeeper(const QObject* anchor) {
  if (anchor == nullptr) return nullptr;
  for (QObject* child : anchor->children()) {
    if (auto* keeper = dynamic_cast<RatesKeeper*>(child)) return keeper;
  }
  return nullptr;
}

}  // namespace

bool StartRatesFetch(QObject* anchor, std::string address, std::function<void(RatesFetch)> done) {
  if (anchor == nullptr || !done) return false;
  RatesKeeper* keeper = FindKeeper(anchor);
  if (keeper == nullptr) keeper = new RatesKeeper(anchor);
  if (keeper->running) return false;
  std::shared_ptr<RatesGate> gate = keeper->gate();
  // Runs on the user-interface thread, in the keeper's context: the keeper is still there.
  auto hand_over = [keeper, done = std::move(done)](RatesFetch outcome) {
    keeper->running = false;
    done(std::move(outcome));
  };
  try {
    std::thread([gate, address = std::move(address), hand_over = std::move(hand_over)] {
      // An escaping exception would end the whole program from a thread nobody watches.
      try {
        RatesFetch outcome = FetchRates(address);
        gate->Post(
            [hand_over, outcome = std::move(outcome)]() mutable { hand_over(std::move(outcome)); });
      } catch (...) {
        RatesFetch failed;
        failed.problem = RatesProblem::kNoAnswer;
        gate->Post([hand_over, failed]() mutable { hand_over(std::move(failed)); });
      }
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  keeper->running = true;
  return true;
}

bool RatesFetchRunning(const QObject* anchor) {
  const RatesKeeper* keeper = FindKeeper(anchor);
  return keeper != nullptr && keeper->running;
}

}  // namespace velmora
