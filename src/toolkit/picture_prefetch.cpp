#include "toolkit/picture_prefetch.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace velmora {
namespace {

class Prefetcher {
 public:
  ~Prefetcher() { Join(); }

  void Add(const std::vector<PictureRequest>& requests) {
    std::unique_lock lock(mutex_);
    for (const PictureRequest& request : requests) {
      const QString key = PictureKey(request);
      if (request.path.isEmpty() || entries_.contains(key)) continue;
      entries_[key] = Entry{State::kQueued, request, QImage()};
      queue_.push_back(key);
    }
    if (queue_.empty() || running_) return;
    running_ = true;
    lock.unlock();
    Join();  // a finished earlier run
    worker_ = std::thread([this] { Run(); });
  }

  std::optional<QImage> Take(const PictureRequest& request) {
    const QString path = PictureKey(request);
    std::unique_lock lock(mutex_);
    const auto found = entries_.find(path);
    if (found == entries_.end()) return std::nullopt;
    if (found->second.state == State::kQueued) {
      std::erase(queue_, path);
      entries_.erase(found);
      return std::nullopt;
    }
    done_.wait(lock, [&] { return entries_.at(path).state == State::kDone; });
    const auto entry = entries_.find(path);
    QImage image = std::move(entry->second.image);
    entries_.erase(entry);
    return image;
  }

  void Wait() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return !running_; });
  }

  // Waits for the thread; pictures still queued are dropped.
  void Stop() {
    {
      const std::lock_guard lock(mutex_);
      for (const QString& path : queue_) entries_.erase(path);
      queue_.clear();
    }
    Join();
  }

 private:
  enum class State { kQueued, kDecoding, kDone };
  struct Entry {
    State state = State::kQueued;
    PictureRequest request;
    QImage image;
  };

  void Run() {
    for (;;) {
      QString path;
      PictureRequest request;
      {
        const std::lock_guard lock(mutex_);
        if (queue_.empty()) {
          running_ = false;
          done_.notify_all();
          return;
        }
        path = queue_.front();
        queue_.pop_front();
        Entry& entry = entries_[path];
        entry.state = State::kDecoding;
        request = entry.request;
      }
      QImage image = DecodePicture(request);
      {
        const std::lock_guard lock(mutex_);
        Entry& entry = entries_[path];
        entry.state = State::kDone;
        entry.image = std::move(image);
      }
      done_.notify_all();
    }
  }

  void Join() {
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
  }

  std::mutex mutex_;
  std::condition_variable done_;
  std::map<QString, Entry> entries_;
  std::deque<QString> queue_;
  bool running_ = false;
  std::thread worker_;
};

Prefetcher& ThePrefetcher() {
  static Prefetcher prefetcher;
  return prefetcher;
}

}  // namespace

QString PictureKey(const PictureRequest& request) {
  if (request.clip.isEmpty()) return request.path;
  return request.path +
         QStringLiteral("@%1x%2").arg(request.clip.width()).arg(request.clip.height());
}

QImage DecodePicture(const PictureRequest& request) {
  QImageReader reader(request.path);
  if (!request.clip.isEmpty()) {
    const QRect whole(QPoint(0, 0), reader.size());
    const QRect wanted = QRect(QPoint(0, 0), request.clip).intersected(whole);
    if (wanted.isValid() && wanted != whole) reader.setClipRect(wanted);
  }
  return reader.read();
}

void PrefetchPictures(const std::vector<PictureRequest>& requests) {
  static const bool stops_with_application = [] {
    // Image decoding needs Qt's plug-ins, which go with the application object.
    if (QCoreApplication::instance() != nullptr) qAddPostRoutine([] { ThePrefetcher().Stop(); });
    return true;
  }();
  (void)stops_with_application;
  // A picture already decoded for the screen is not decoded again.
  std::vector<PictureRequest> wanted;
  QPixmap cached;
  for (const PictureRequest& request : requests) {
    if (!QPixmapCache::find(PictureKey(request), &cached)) wanted.push_back(request);
  }
  ThePrefetcher().Add(wanted);
}

void WaitForPrefetchedPictures() {
  ThePrefetcher().Wait();
}

std::optional<QImage> TakePrefetchedPicture(const PictureRequest& request) {
  return ThePrefetcher().Take(request);
}

}  // namespace velmora
