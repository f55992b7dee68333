#pragma once

#include <QString>

#include "net/exchange_rates.h"
#include "toolkit/toolkit.h"

namespace velmora {

struct ConversionState;

// The handlers of the currency window. `main_window` anchors the rates fetch: an outcome that
// arrives after the currency window has closed is still stored, and one that arrives after the
// main window has gone is dropped. Without a main window the currency window anchors it itself.
HandlerTable ExchangeRateWindowHandlers(ConversionState& state, Window* main_window);

// What the window's state line says after a fetch that gave no rates; `had_rates` tells whether
// rates from before stay in use.
QString RatesProblemText(const RatesFetch& outcome, bool had_rates);

}  // namespace velmora
