#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The 520-byte block that opens both files: a four-character magic, the 32-bit format
// version 1 and 512 zero bytes. Readers skip it without looking at it.

namespace ornis {

inline constexpr std::size_t FileHeaderSize = 520;
inline constexpr uint32_t FileFormatVersion = 1;

using FileHeader = std::array<uint8_t, FileHeaderSize>;

[[nodiscard]] constexpr FileHeader makeFileHeader(const char (&magic)[5])
{
    FileHeader header {};
    for (std::size_t i = 0; i < 4; ++i)
        header[i] = uint8_t(magic[i]);
    for (std::size_t i = 0; i < 4; ++i)
        header[4 + i] = uint8_t(FileFormatVersion >> (8 * i));
    return header;
}

inline constexpr char SettingsFileMagic[5] = "OSET";
inline constexpr char AppConfigMagic[5] = "OCFG";

} // namespace ornis
