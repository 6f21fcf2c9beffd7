#pragma once

#include <cstdint>

namespace ornis {

// What the link is doing; every block and direction has its own mode.
enum class TransferMode : uint8_t {
    Idle = 0,
    Stopping = 1,
    ClockWrite = 2,
    SettingsWrite = 3,
    SettingsRead = 4,
    TimesWrite = 5, // day/night times, always after the settings block
    TimesRead = 6,
    ServicesWrite = 7,
    ServicesRead = 8,
    ShortDialsWrite = 9,
    ShortDialsRead = 10,
    PEWrite = 11,
    PERead = 12,
    AllWrite = 13, // the settings block as the first of all blocks
    AllRead = 14,
};

} // namespace ornis
