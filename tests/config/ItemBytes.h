#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// A time item as the settings file holds it: tag 0x11, then the day count as a
// little-endian double.
inline std::vector<uint8_t> timeItem(double days)
{
    std::vector<uint8_t> bytes {0x11};
    uint64_t raw = 0;
    std::memcpy(&raw, &days, sizeof raw);
    for (int i = 0; i < 8; ++i)
        bytes.push_back(uint8_t(raw >> (8 * i)));
    return bytes;
}
