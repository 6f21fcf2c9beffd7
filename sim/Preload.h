#pragma once

#include "VirtualExchange.h"
#include "config/ExchangeConfig.h"
#include "config/Status.h"

namespace ornis::sim {

// Puts every block of `config` into the memory of `exchange` the way the program's
// whole-configuration write does it, in process. Fails when a block cannot be written.
[[nodiscard]] Status writeIntoExchange(const ExchangeConfig &config, VirtualExchange &exchange);

// The memory of an exchange fresh from the factory: what a whole write of the factory
// configuration leaves in every block.
[[nodiscard]] VirtualExchange::Memory factoryMemory();

} // namespace ornis::sim
