#pragma once

#include <chrono>

namespace velmora {

// Makes every flush of the settings file and its folder to disk take `delay` longer, as on a
// hard disk or a USB stick. For tests; zero (the default) adds nothing.
void SetSettingsSyncDelayForTesting(std::chrono::milliseconds delay);

}  // namespace velmora
