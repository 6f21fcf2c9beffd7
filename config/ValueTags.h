#pragma once

#include <cstdint>

// The one-byte type tags of the value encoding both files use. Raw blocks carry no tag.

namespace ornis::ValueTag {

inline constexpr uint8_t Int8 = 0x02;
inline constexpr uint8_t Int16 = 0x03;
inline constexpr uint8_t Int32 = 0x04;
inline constexpr uint8_t ShortText = 0x06; // 1-byte length, 0..255 bytes
inline constexpr uint8_t False = 0x08;
inline constexpr uint8_t True = 0x09;
inline constexpr uint8_t LongText = 0x0C; // 4-byte length
inline constexpr uint8_t Time = 0x11; // IEEE 754 double, days

} // namespace ornis::ValueTag
