#pragma once

#include <QString>

namespace ornis {

inline constexpr const char *PreferencesFileName = "OSet.cfg";

// "OSet.cfg" in the program's folder, as the program has always kept it. An installed
// program (its folder is the installation's program folder) or one whose folder cannot be
// written keeps it in the user's configuration folder instead. One path serves both the
// reading at start and the writing at close.
[[nodiscard]] QString preferencesPath(const QString &programFolder, const QString &userFolder,
                                      const QString &installedFolder);

// The path for the running program.
[[nodiscard]] QString preferencesPathOfThisProgram();

} // namespace ornis
