#include "units/unit_row.h"

#include <algorithm>
#include <cmath>

#include "text/number_text.h"
#include "text/utf8.h"

namespace velmora {
namespace {

constexpr std::size_t kFactorCharacters = 99;

// Widgets take coordinates up to 2^24 or so; anything past that is off every screen anyway.
constexpr double kCoordinateLimit = 1 << 24;

int ToPixels(double value) {
  return static_cast<int>(std::trunc(std::clamp(value, -kCoordinateLimit, kCoordinateLimit)));
}

}  // namespace

UnitDef ParseUnitDef(std::string_view value) {
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) return UnitDef{std::string(value), 0.0};
  const std::string_view factor = value.substr(comma + 1);
  return UnitDef{std::string(value.substr(0, comma)),
                 TextToNumber(factor.substr(0, Utf8Prefix(factor, kFactorCharacters)))};
}

RowPlace PlaceOfRow(int k, int column_span, int row_spacing, int rows_per_column) {
  const int per_column = std::max(rows_per_column, 1);
  const double column = k / per_column;
  const double line = k % per_column;
  const double left = column * column_span;
  const double top = line * row_spacing + 20.0;
  return RowPlace{ToPixels(left + 16.0), ToPixels(left + 140.0), ToPixels(top)};
}

}  // namespace velmora
