#pragma once

#include <QString>

// What the window says of a value only the exchange sets (the parking positions, the
// redirection blocking): the page shows it and a write sends it back unchanged.

namespace ornis {

// The tool tip of such a display.
[[nodiscard]] QString setAtExchangeHint();

} // namespace ornis
