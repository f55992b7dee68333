#include "toolkit/private/pictures.h"

#include <QImage>
#include <QPixmapCache>
#include <optional>
#include <utility>

#include "toolkit/picture_prefetch.h"

namespace velmora {

QPixmap LoadPicture(const QString& path, QSize clip) {
  if (path.isEmpty()) return {};
  const PictureRequest request{path, clip, PictureScale()};
  const QString key = PictureKey(request);
  QPixmap pixmap;
  if (!QPixmapCache::find(key, &pixmap)) {
    std::optional<QImage> image = TakePrefetchedPicture(request);
    pixmap = QPixmap::fromImage(image ? std::move(*image) : DecodePicture(request));
    QPixmapCache::insert(key, pixmap);
  }
  return pixmap;
}

}  // namespace velmora
