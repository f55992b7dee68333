#include "convert/quantity.h"

#include "units/unit_row.h"

namespace velmora {

std::optional<double> QuantityOfTyped(double typed, double factor) {
  if (!UsableFactor(factor)) return std::nullopt;
  return typed / factor;
}

std::optional<double> ValueOfQuantity(double quantity, double factor) {
  if (!UsableFactor(factor)) return std::nullopt;
  return quantity * factor;
}

}  // namespace velmora
