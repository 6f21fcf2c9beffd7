#pragma once

#include "config/ExchangeConfig.h"

namespace ornis {

// The factory configuration of a MIRA as a small office would have changed it: a few
// ringing and dialling rights, services, short dials and PE records.
[[nodiscard]] ExchangeConfig demoConfiguration();

} // namespace ornis
