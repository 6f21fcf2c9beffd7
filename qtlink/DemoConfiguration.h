#pragma once

#include "config/ExchangeConfig.h"
#include "config/Status.h"

namespace ornis {

namespace sim {
class VirtualExchange;
}

// The factory configuration of a MIRA as a small office would have changed it: a few
// ringing and dialling rights, services, short dials and PE records.
[[nodiscard]] ExchangeConfig demoConfiguration();

// Puts every block of `config` into the memory of `exchange` the way the program's
// whole-configuration write does it, in process. Fails when a block cannot be written.
[[nodiscard]] Status writeIntoExchange(
    const ExchangeConfig &config, sim::VirtualExchange &exchange);

} // namespace ornis
