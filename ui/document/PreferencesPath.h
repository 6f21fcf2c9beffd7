#pragma once

#include <QString>

namespace ornis {

inline constexpr const char *PreferencesFileName = "OSet.cfg";

// The folder the program keeps its files in: its own folder, as it always has. An installed
// program (its folder is the installation's program folder) or one whose folder cannot be
// written uses `userFolder` instead.
[[nodiscard]] QString programOrUserFolder(
    const QString &programFolder, const QString &userFolder, const QString &installedFolder);

// "OSet.cfg" in that folder, the user's configuration folder standing in. One path serves
// both the reading at start and the writing at close.
[[nodiscard]] QString preferencesPath(
    const QString &programFolder, const QString &userFolder, const QString &installedFolder);

// The path for the running program.
[[nodiscard]] QString preferencesPathOfThisProgram();

// Where the settings file dialogs start for the running program: its folder, or the user's
// documents folder.
[[nodiscard]] QString settingsFolderOfThisProgram();

// The list of recently used settings files, in the user's configuration folder.
[[nodiscard]] QString recentFilesPathOfThisProgram();

// The automatic backups of the configuration, in the user's data folder.
[[nodiscard]] QString backupFolderOfThisProgram();

} // namespace ornis
