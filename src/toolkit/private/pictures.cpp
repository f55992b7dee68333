#include "toolkit/private/pictures.h"

#include <QImage>
#include <optional>
#include <utility>

#include "toolkit/picture_prefetch.h"

namespace velmora {

QPixmap LoadPicture(const QString& path, QSize clip) {
  if (path.isEmpty()) return {};
  const PictureRequest request{path, clip, PictureScale()};
  const QString key = PictureKey(request);
  if (const QPixmap* cached = CachedPicture(key)) return *cached;
  std::optional<QImage> image = TakePrefetchedPicture(request);
  const QPixmap pixmap = QPixmap::fromImage(image ? std::move(*image) : DecodePicture(request));
  CachePicture(key, pixmap);
  return pixmap;
}

}  // namespace velmora
