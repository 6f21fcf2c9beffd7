#pragma once

#include "link/LocalClock.h"

#include <QString>

namespace ornis {

// The date and time that opens the name of every backup, the window's and the fleet's
// ("2026-01-05_02-30-00"), so that the names of a folder sort by time.
[[nodiscard]] QString backupStamp(const LocalDateTime &when);

} // namespace ornis
