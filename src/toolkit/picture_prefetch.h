#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace velmora {

// A picture from the resources, whole (an empty `clip`) or only its top-left part of `clip`'s size
// in logical pixels (a window background drawn from its top-left corner needs no more than the
// window's size). At `scale` 2 the picture drawn for two device pixels per logical pixel (the
// file `name@2x.ext` beside `name.ext`) when there is one, with device pixel ratio 2.
struct PictureRequest {
  QString path;
  QSize clip;
  int scale = 1;
};

// The scale of the pictures for this program's screens: their highest device pixel ratio rounded
// up (1.25 and 1.5 take the 2x pictures and draw them reduced), at most 2, the largest drawn.
// Tests may fix it; std::nullopt asks the screens again.
int PictureScale();
void SetPictureScaleForTesting(std::optional<int> scale);

// The name a decoded request is cached under.
QString PictureKey(const PictureRequest& request);

// The pictures decoded for the screen, by PictureKey: a few dozen files of the resources, kept for
// the whole run. They are kept apart from Qt's pixmap cache, whose room the style's drawn pieces
// share and which drops what it holds when full. User-interface thread only.
const QPixmap* CachedPicture(const QString& key);
void CachePicture(const QString& key, const QPixmap& pixmap);
// Forgets every decoded picture (tests that count decodings or change the scale).
void ForgetCachedPictures();

// Decodes the picture; a null image when it does not exist or cannot be read.
QImage DecodePicture(const PictureRequest& request);

// Pictures decoded on a thread of their own ahead of their first use, so that decoding them does
// not hold up the user-interface thread while it builds a window. The requests are decoded in
// their order, at PictureScale(); pictures already decoded for the screen are left out. Called on
// the user-interface thread.
void PrefetchPictures(std::vector<PictureRequest> requests);

// Waits until the prefetch thread has decoded every queued picture.
void WaitForPrefetchedPictures();

// The decoded picture of `request` when it was prefetched, waiting for it while it is being
// decoded; each is handed out once. Nothing when it was not prefetched or its decoding had not
// started (it is then no longer decoded ahead: the caller decodes it itself).
std::optional<QImage> TakePrefetchedPicture(const PictureRequest& request);

}  // namespace velmora
