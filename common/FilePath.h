#pragma once

#include <QString>
#include <filesystem>

namespace ornis {

// A path as Qt names it, for the plain C++ file readers and writers: the file system's
// own encoding, so that a name with any character opens the same file as Qt would.
[[nodiscard]] std::filesystem::path toFilePath(const QString &path);

// `path` with ".suffix" added when its name has no suffix, as a file dialog adds it.
[[nodiscard]] QString withDefaultSuffix(const QString &path, const QString &suffix);

} // namespace ornis
