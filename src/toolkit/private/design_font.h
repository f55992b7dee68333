#pragma once

#include <QFont>
#include <QString>

#include "toolkit/design.h"

namespace velmora {

// The machine's CJK font family, which stands in for the Chinese system font of the designs
// ("宋体", "SimSun"), for the Latin digits as well.
inline constexpr const char* kCjkFamily = "Noto Sans CJK SC";
inline constexpr const char* kChineseSystemFamilies[] = {"宋体", "SimSun"};
bool IsChineseSystemFamily(const QString& family);

// The font a design asks for, at its pixel size (12 when the design gives none).
QFont DesignFont(const FontDesign& font);

}  // namespace velmora
