#include "toolkit/picture_prefetch.h"

#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <algorithm>
#include <cmath>
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

std::optional<int>& ScaleOverride() {
  static std::optional<int> scale;
  return scale;
}

// `name.ext` becomes `name@2x.ext`.
QString ScaledPath(const QString& path, int scale) {
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype end = dot > slash ? dot : path.size();
  return path.left(end) + QStringLiteral("@%1x").arg(scale) + path.mid(end);
}

}  // namespace

int PictureScale() {
  if (ScaleOverride().has_value()) return *ScaleOverride();
  const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  const qreal ratio = application != nullptr ? application->devicePixelRatio() : 1.0;
  return std::clamp(static_cast<int>(std::ceil(ratio - 0.001)), 1, 2);
}

void SetPictureScaleForTesting(std::optional<int> scale) {
  ScaleOverride() = scale;
}

QString PictureKey(const PictureRequest& request) {
  QString key = request.scale > 1 ? ScaledPath(request.path, request.scale) : request.path;
  if (request.clip.isEmpty()) return key;
  return key + QStringLiteral("@%1x%2").arg(request.clip.width()).arg(request.clip.height());
}

QImage DecodePicture(const PictureRequest& request) {
  int scale = 1;
  QImageReader reader;
  if (request.scale > 1) {
    reader.setFileName(ScaledPath(request.path, request.scale));
    if (reader.canRead()) scale = request.scale;
  }
  // Where no picture was drawn for the scale, the 1x one serves, enlarged where it is drawn.
  if (scale == 1) reader.setFileName(request.path);
  if (!request.clip.isEmpty()) {
    // A background is cut at the size it covers on the device.
    const QRect whole(QPoint(0, 0), reader.size());
    const QRect wanted = QRect(QPoint(0, 0), request.clip * scale).intersected(whole);
    if (wanted.isValid() && wanted != whole) reader.setClipRect(wanted);
  }
  QImage image = reader.read();
  image.setDevicePixelRatio(scale);
  return image;
}

namespace {

QHash<QString, QPixmap>& DecodedPictures() {
  static QHash<QString, QPixmap> pictures;
  return pictures;
}

}  // namespace

const QPixmap* CachedPicture(const QString& key) {
  const auto found = DecodedPictures().constFind(key);
  return found == DecodedPictures().cend() ? nullptr : &*found;
}

void CachePicture(const QString& key, const QPixmap& pixmap) {
  static const bool forgotten_with_application = [] {
    // Pixmaps belong to the application object; none may outlive it.
    if (QCoreApplication::instance() != nullptr) qAddPostRoutine(ForgetCachedPictures);
    return true;
  }();
  (void)forgotten_with_application;
  DecodedPictures().insert(key, pixmap);
}

void ForgetCachedPictures() {
  DecodedPictures().clear();
}

void PrefetchPictures(std::vector<PictureRequest> requests) {
  static const bool stops_with_application = [] {
    // Image decoding needs Qt's plug-ins, which go with the application object.
    if (QCoreApplication::instance() != nullptr) qAddPostRoutine([] { ThePrefetcher().Stop(); });
    return true;
  }();
  (void)stops_with_application;
  // A picture already decoded for the screen is not decoded again.
  std::vector<PictureRequest> wanted;
  const int scale = PictureScale();
  for (PictureRequest& request : requests) {
    request.scale = scale;
    if (CachedPicture(PictureKey(request)) == nullptr) wanted.push_back(request);
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
