#pragma once

#include "Status.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// Both files are read whole into memory and written whole in one go. Writing never
// destroys the old file: the bytes go to a new file in the same folder, which is then
// renamed over the target. A failure names the file and the system's reason.

namespace ornis {

// The most a file the program reads may hold: far beyond any settings file, JSON form or
// dial table, and little enough to read whole.
inline constexpr std::size_t MaxFileBytes = std::size_t(4) << 20;
inline constexpr const char *MaxFileSizeText = "4 MiB";

// The whole file. Fails with "Cannot open file PATH: reason", "Cannot read file PATH:
// reason", or "Cannot read file PATH: it holds more than 4 MiB, the most a file may hold"
// (counted as read: a pipe or a growing file is read no further than one byte past).
[[nodiscard]] Status readFileBytes(const std::filesystem::path &path, std::vector<uint8_t> &bytes);

// `path` holds exactly `bytes`, or fails with "Cannot create file PATH: reason"; then the
// previous file, if any, is as it was and no temporary file is left behind.
[[nodiscard]] Status writeFileAtomically(
    const std::filesystem::path &path, std::span<const uint8_t> bytes);

} // namespace ornis
