#pragma once

#include <functional>

#include "net/exchange_rates.h"

class QObject;

namespace velmora {

// Starts fetching the rates from `address` on a background thread that nobody waits for, unless
// a fetch for `anchor` is running already. `done` runs with the outcome on the user-interface
// thread, in the context of `anchor`; once `anchor` is gone, a late outcome is dropped and the
// thread ends on its own. Returns whether a fetch was started.
bool StartRatesFetch(QObject* anchor, std::string address, std::function<void(RatesFetch)> done);

// Whether a fetch started for `anchor` has not handed over its outcome yet.
bool RatesFetchRunning(const QObject* anchor);

}  // namespace velmora
