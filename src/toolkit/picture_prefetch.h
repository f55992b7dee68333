#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace velmora {

// A picture from the resources, whole (an empty `clip`) or only its top-left part of `clip`'s size
// (a window background drawn from its top-left corner needs no more than the window's size).
struct PictureRequest {
  QString path;
  QSize clip;
};

// The name a decoded request is cached under.
QString PictureKey(const PictureRequest& request);

// Decodes the picture; a null image when it does not exist or cannot be read.
QImage DecodePicture(const PictureRequest& request);

// Pictures decoded on a thread of their own ahead of their first use, so that decoding them does
// not hold up the user-interface thread while it builds a window. The requests are decoded in
// their order; pictures already decoded for the screen are left out. Called on the user-interface
// thread.
void PrefetchPictures(const std::vector<PictureRequest>& requests);

// Waits until the prefetch thread has decoded every queued picture.
void WaitForPrefetchedPictures();

// The decoded picture of `request` when it was prefetched, waiting for it while it is being
// decoded; each is handed out once. Nothing when it was not prefetched or its decoding had not
// started (it is then no longer decoded ahead: the caller decodes it itself).
std::optional<QImage> TakePrefetchedPicture(const PictureRequest& request);

}  // namespace velmora
