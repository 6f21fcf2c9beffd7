#pragma once

#include <QString>
#include <filesystem>

namespace ornis {

// The path as the file system spells it, for the readers and writers of config/.
[[nodiscard]] std::filesystem::path toFilePath(const QString &path);

// `path` with ".suffix" added when its name has no suffix, as a file dialog adds it.
[[nodiscard]] QString withDefaultSuffix(const QString &path, const QString &suffix);

} // namespace ornis
