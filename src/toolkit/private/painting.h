#pragma once

#include <QColor>
#include <QtGlobal>

class QFont;
class QPainter;

namespace velmora {

// The one-pixel border of edit boxes, face-less super buttons and tab pages.
inline constexpr QRgb kEditBorder = qRgb(0x9C, 0xA6, 0xB4);

// The baseline, counted from the top of an area `height` pixels tall, that centres in it the ink
// of digits with their commas and minus signs, of Latin letters with descenders and of CJK
// characters, so that none of them is cut at the designed sizes (16 pixels for 12-pixel text).
int CentredBaseline(const QFont& font, int height);

// The pixel ratio of what a painter draws on: the widget's, or that of the image a widget is
// rendered into.
qreal TargetPixelRatio(QPainter& painter);

// Sets smooth pixmap transformation on a painter whose device has a fractional pixel ratio.
void SmoothAtFractionalScale(QPainter& painter);

}  // namespace velmora
