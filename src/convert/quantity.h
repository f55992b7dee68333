#pragma once

#include <optional>

namespace velmora {

// The two steps of a conversion on a factor page. Every unit of a page has a factor: how many of
// the unit make one of the page's reference unit. A quantity is held in the reference unit.

// The quantity that `typed` stands for when it is typed into the row of a unit with `factor`:
// typed / factor. Nothing when the factor does not convert (see UsableFactor): such a unit
// stands for no quantity.
std::optional<double> QuantityOfTyped(double typed, double factor);

// What the row of a unit with `factor` shows for `quantity`: quantity × factor. Nothing when the
// factor does not convert: the row stays empty rather than showing "∞", "0" or "NaN".
std::optional<double> ValueOfQuantity(double quantity, double factor);

}  // namespace velmora
