#pragma once

#include <QString>

// What --help and --version print; the manual page is made from them.

namespace ornis::cli {

[[nodiscard]] QString usageText();
// "ornisset-cli 1.3", a line.
[[nodiscard]] QString versionText();

} // namespace ornis::cli
