#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// Both files are read whole into memory and written whole in one go. Writing never
// destroys the old file: the bytes go to a new file in the same folder, which is then
// renamed over the target.

namespace ornis {

// The whole file, or false when it cannot be opened or read to its end.
[[nodiscard]] bool readFileBytes(const std::filesystem::path &path, std::vector<uint8_t> &bytes);

// True when `path` holds exactly `bytes`. On false the previous file, if any, is as it was
// and no temporary file is left behind.
[[nodiscard]] bool writeFileAtomically(
    const std::filesystem::path &path, std::span<const uint8_t> bytes);

} // namespace ornis
