#pragma once

#include "config/Blocks.h"

// The configuration as the exchange holds it once a write has sent it: what verifying a
// write and comparing two files look at.

namespace ornis {

struct ExchangeConfig;

// `config` with every value of `blocks` that a write sends differently, with a warning,
// replaced by what the exchange then holds: a wake-up time that is no time of day becomes
// unset, such a day or night start 00:00, a call-back to a line "vyp", a dialling record
// with no line chosen line 15. A value a write refuses keeps its own: the exchange gets it
// only when forced, and then it differs.
[[nodiscard]] ExchangeConfig asSentToExchange(const ExchangeConfig &config, BlockSet blocks);

} // namespace ornis
