#include "toolkit/private/painting.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>

namespace velmora {

int CentredBaseline(const QFont& font, int height) {
  // Ink relative to the baseline: top negative, bottom the deepest descender. Measuring it shapes
  // text, so it is measured once per font (every edit box asks on each resize and font change).
  static QHash<QString, QRect> measured;
  const QString key = font.key();
  auto found = measured.constFind(key);
  if (found == measured.cend()) {
    static const QString sample = QStringLiteral("0123456789,-gy(|\u6C49");
    found = measured.insert(key, QFontMetrics(font).tightBoundingRect(sample));
  }
  const QRect& ink = *found;
  return (height - ink.height()) / 2 - ink.top();
}

qreal TargetPixelRatio(QPainter& painter) {
  const QPaintDevice* target =
      painter.paintEngine() != nullptr ? painter.paintEngine()->paintDevice() : painter.device();
  return target != nullptr ? target->devicePixelRatioF() : 1.0;
}

void SmoothAtFractionalScale(QPainter& painter) {
  const qreal ratio = TargetPixelRatio(painter);
  // Pictures come at 1x and 2x: at 1.5x every picture is drawn scaled, and scaled smoothly.
  if (ratio != std::floor(ratio)) painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

}  // namespace velmora
