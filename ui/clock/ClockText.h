#pragma once

#include "link/LocalClock.h"

#include <QLocale>
#include <QString>

namespace ornis {

// The date and time as the clock button shows them: the locale's short date and long time,
// without a time zone (the exchange keeps local time and is told no zone).
[[nodiscard]] QString clockText(const LocalDateTime &time, const QLocale &locale = QLocale());

} // namespace ornis
