#include "toolkit/private/design_font.h"

#include "toolkit/utf8_text.h"

namespace velmora {

bool IsChineseSystemFamily(const QString& family) {
  for (const char* name : kChineseSystemFamilies) {
    if (family.compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

QFont DesignFont(const FontDesign& font) {
  // The Chinese system font of the designs is asked for by the machine's CJK family directly:
  // looking up "宋体" first finds no such font and makes Qt rank every installed font for a
  // fallback (a few milliseconds for each new font at start-up) before it takes the substitute.
  QString family = FromUtf8(font.family);
  if (IsChineseSystemFamily(family)) family = QString::fromLatin1(kCjkFamily);
  QFont result(family);
  result.setPixelSize(font.pixel_size > 0 ? font.pixel_size : 12);
  return result;
}

}  // namespace velmora
