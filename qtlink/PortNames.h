#pragma once

#include <QString>

// How ports are named and ordered for the user.

namespace ornis {

// Natural order: runs of digits compare by value, so ttyS2 comes before ttyS10.
[[nodiscard]] bool naturalLess(const QString &a, const QString &b);

// The name a port is shown and reported under: a listed name stays as it is (ttyUSB0,
// COM3); a device path loses its device folder (/dev/pts/3 is pts/3, \\.\COM3 is COM3).
[[nodiscard]] QString displayNameOf(const QString &nameOrPath);

// The advice added after the library's text when the user may not open `device`, whose
// group is `group` (dialout when unknown).
[[nodiscard]] QString accessAdvice(const QString &device, const QString &group);

} // namespace ornis
