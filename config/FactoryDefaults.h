#pragma once

// The values preset by the manufacturer. The reset operations set model fields only; the
// user interface refreshes its views around them. Comments, RingFrom, the exchange model
// and the module flags have no factory value and keep theirs.

namespace ornis {

struct ExchangeConfig;

// All thirteen block resets, in order.
void ResetAll(ExchangeConfig &config);
// The settings block: the extension grid first, then the times, the other grids, G7, G0,
// G5 and the counters.
void ResetSettingsBlock(ExchangeConfig &config);
void ResetServicesBlock(ExchangeConfig &config);
void ResetShortDials(ExchangeConfig &config);
void ResetPE(ExchangeConfig &config);

// A configuration as the program starts with it: the initial texts, then ResetAll.
[[nodiscard]] ExchangeConfig factoryConfig();

} // namespace ornis
