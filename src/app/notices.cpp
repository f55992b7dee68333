#include "app/notices.h"

#include <QMetaObject>
#include <QObject>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

#include "app/background_task.h"
#include "net/notice.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/main_window.h"
#include "ui/main_window_design.h"

#ifndef VELMORA_NOTICE_HOST
#define VELMORA_NOTICE_HOST ""
#endif
#ifndef VELMORA_HOMEPAGE_URL
#define VELMORA_HOMEPAGE_URL ""
#endif
#ifndef VELMORA_GAMES_URL
#define VELMORA_GAMES_URL ""
#endif

namespace velmora {
namespace {

constexpr const char* kReceiverName = "notice hand-over";

// What a background fetch shares with the window: whether the window still takes notices. The
// fetch posts only while the gate is open, and the window closes it (under the same lock) before
// the receiver goes, so nothing is ever posted to a receiver that is being destroyed.
class NoticeGate {
 public:
  explicit NoticeGate(QObject* receiver) : receiver_(receiver) {}

  void Close() {
    const std::lock_guard lock(mutex_);
    receiver_ = nullptr;
  }
  bool IsOpen() {
    const std::lock_guard lock(mutex_);
    return receiver_ != nullptr;
  }
  // Any thread: queues `call` for the receiver's thread unless the gate is closed.
  void Post(std::function<void()> call) {
    const std::lock_guard lock(mutex_);
    if (receiver_ == nullptr) return;
    QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
  }

 private:
  std::mutex mutex_;
  QObject* receiver_;
};

// Lives as a child of the main window; queued hand-overs run in its context and are dropped with
// it.
class NoticeReceiver final : public QObject {
 public:
  explicit NoticeReceiver(QObject* parent)
      : QObject(parent), gate_(std::make_shared<NoticeGate>(this)) {
    setObjectName(QString::fromUtf8(kReceiverName));
  }
  ~NoticeReceiver() override { gate_->Close(); }
  NoticeReceiver(const NoticeReceiver&) = delete;
  NoticeReceiver& operator=(const NoticeReceiver&) = delete;

  const std::shared_ptr<NoticeGate>& gate() const { return gate_; }

 private:
  std::shared_ptr<NoticeGate> gate_;
};

NoticeReceiver* FindReceiver(Window* window) {
  for (QObject* child : window->children()) {
    if (auto* receiver = dynamic_cast<NoticeReceiver*>(child)) return receiver;
  }
  return nullptr;
}

// An empty address makes the label plain text: the click opens nothing.
void OpenThroughLinkBox(Window* window, const std::string& address) {
  if (address.empty()) return;
  const Control link_box = FindControl(window, kHomepageLinkBox);
  SetText(link_box, QString::fromStdString(address));
  OpenAddress(link_box);
}

// One step of a notice rotation: A, B, C, A, A, B, C, … The first tick comes 1 ms after the
// notice fetch started the timer; every later one after 3 s.
void ShowNextNotice(const std::vector<std::string>& texts, int& index, Control label,
                    Control timer) {
  SetTimerInterval(timer, kNoticeInterval);
  // The fetch never starts the timer with an empty list; should it, the label keeps its text.
  if (texts.empty()) return;
  if (index >= 0 && index < static_cast<int>(texts.size())) {
    SetText(label, QString::fromStdString(texts[static_cast<std::size_t>(index)]));
    ++index;
  } else {
    index = 0;
    SetText(label, QString::fromStdString(texts.front()));
  }
}

std::shared_ptr<NoticeGate> GateOf(Window* window) {
  NoticeReceiver* receiver = FindReceiver(window);
  if (receiver == nullptr) receiver = new NoticeReceiver(window);
  return receiver->gate();
}

}  // namespace

std::string NoticeServer() {
  if (const char* server = std::getenv(kNoticeServerVariable)) return server;
  return VELMORA_NOTICE_HOST;
}

bool StartNoticeFetch(NoticeState& state, Window* window, NoticeKind kind) {
  if (window == nullptr) return false;
  const bool message = kind == NoticeKind::kMessage;
  const NoticeSource& source = message ? kMessageNotice : kAdvertNotice;
  std::optional<std::string> address = NoticeAddress(NoticeServer(), source.path);
  if (!address) return false;

  std::shared_ptr<NoticeGate> gate = GateOf(window);
  // Runs on the user-interface thread, which owns the list's readers and the timer: the list is
  // complete before the timer starts.
  auto show = [gate, &state, window, message](NoticeTexts texts) {
    if (!gate->IsOpen()) return;
    StoreNoticeTexts(message ? state.MessageTexts : state.AdvertTexts, std::move(texts));
    SetTimerInterval(FindControl(window, message ? kMessageTimer : kAdvertTimer), 1);
  };
  return StartBackgroundTask(
      [gate, address = std::move(*address), marker = source.marker, show = std::move(show)] {
        FetchNotice(address, marker, [&gate, &show](NoticeTexts texts) {
          gate->Post([show, texts = std::move(texts)]() mutable { show(std::move(texts)); });
        });
      });
}

void StopNoticeHandOver(Window* window) {
  if (window == nullptr) return;
  if (NoticeReceiver* receiver = FindReceiver(window)) receiver->gate()->Close();
}

void ShowNextMessage(NoticeState& state, Window* window) {
  ShowNextNotice(state.MessageTexts, state.MessageIndex, FindControl(window, kMessageLabel),
                 FindControl(window, kMessageTimer));
}

void ShowNextAdvert(NoticeState& state, Window* window) {
  ShowNextNotice(state.AdvertTexts, state.AdvertIndex, FindControl(window, kAdvertLabel),
                 FindControl(window, kAdvertTimer));
}

void UseBuiltInLinkAddresses(NoticeState& state) {
  state.HomepageAddress = VELMORA_HOMEPAGE_URL;
  state.AdvertAddress = VELMORA_GAMES_URL;
}

void DressLinkLabels(const NoticeState& state, Window* window) {
  const auto dress = [window](const char* label, const std::string& address) {
    SetMouseCursor(FindControl(window, label), address.empty() ? Cursor::Default : Cursor::Hand);
  };
  dress(kMessageLabel, state.HomepageAddress);
  dress(kOwnershipLabel, state.HomepageAddress);
  dress(kAdvertLabel, state.AdvertAddress);
}

void AddNoticeHandlers(HandlerTable& table, NoticeState& state) {
  table[kShowNextMessage] = [&state](const EventArgs& e) { ShowNextMessage(state, e.window); };
  table[kShowNextAdvert] = [&state](const EventArgs& e) { ShowNextAdvert(state, e.window); };
  table[kOpenHomepage] = [&state](const EventArgs& e) {
    OpenThroughLinkBox(e.window, state.HomepageAddress);
  };
  table[kOpenGamesPage] = [&state](const EventArgs& e) {
    OpenThroughLinkBox(e.window, state.AdvertAddress);
  };
}

}  // namespace velmora
