#pragma once

#include <array>

#include "units/category.h"

namespace velmora {

// The five rows of the temperature page, in row-number order; degrees Celsius is the scale that
// BaseValue holds while the page is in use.
enum class TemperatureScale { Celsius, Kelvin, Reaumur, Fahrenheit, Rankine };

inline constexpr int kTemperatureRowCount = 5;
inline constexpr int kFirstTemperatureRow = PageBase(kTemperaturePage) + 1;  // 152

constexpr TemperatureScale ScaleOfRow(int index) {
  return static_cast<TemperatureScale>(index);
}

// The index (0 to 4) of the temperature row with this row number, or -1 for any other row.
constexpr int TemperatureRowIndex(int row) {
  const int index = row - kFirstTemperatureRow;
  return index >= 0 && index < kTemperatureRowCount ? index : -1;
}

// The order in which the rows are written: Rankine before Fahrenheit.
inline constexpr std::array<int, kTemperatureRowCount> kTemperatureWriteOrder = {0, 1, 2, 4, 3};

double FromCelsius(TemperatureScale scale, double celsius);
double ToCelsius(TemperatureScale scale, double value);

}  // namespace velmora
